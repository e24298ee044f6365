#include "ui/main/access_point_panel.h"

#include <array>

#include "config/access_point_ssid.h"
#include "config/setting_keys.h"
#include "config/text_conversions.h"
#include "lang/texts.h"
#include "platform/text/text.h"
#include "ui/main/main_page_ids.h"

namespace ui {
namespace {

namespace id = main_page::id;
namespace key = config::key;
namespace texts = lang::texts;

// The access point cannot run on channels from here on; 0 lets the driver choose.
constexpr int kFirstInvalidChannel = 200;
constexpr int kRepairedChannel = 6;
constexpr int kMinKeyBits = 64;
constexpr int kMaxKeyBits = 256;

}  // namespace

AccessPointPanel::AccessPointPanel(platform::window::Dialog& dialog,
                                   const config::ApplierContext& appliers,
                                   const lang::CMultiLanguage& language)
    : dialog_(dialog), appliers_(appliers), language_(language) {}

void AccessPointPanel::RefreshApPanel() {
  ShowChannel();
  ShowSsid();
  ShowEncryption();
  ShowTxPower();
}

void AccessPointPanel::ShowChannel() {
  int channel = appliers_.store.ReadSettingInt(key::Channel);
  if (channel < 0 || channel >= kFirstInvalidChannel) {
    (void)config::ApplyChannel(appliers_, kRepairedChannel);
    channel = kRepairedChannel;
  }
  dialog_.SetText(id::PanelValue1, channel >= 1 ? platform::Format(u"%d", channel) : u"---");
}

void AccessPointPanel::ShowSsid() {
  const bool stored = !appliers_.store.ReadSettingString(key::SSID).empty();
  const std::u16string ssid = config::AccessPointSsid(appliers_.store, language_);
  // An access point without a name takes the default one, on the driver and in the store.
  if (!stored) (void)config::ApplySsidText(appliers_, ssid);
  dialog_.SetText(id::PanelValue2, ssid);
}

void AccessPointPanel::ShowEncryption() {
  int status = appliers_.store.ReadSettingInt(key::WEPStatus);
  if (status < 0 || status > config::encryption::AesNoKey) {
    (void)config::ApplyEncryption(appliers_, config::encryption::Off);
    status = config::encryption::Off;
  }
  int bits = appliers_.store.ReadSettingInt(key::WEPKeyLength);
  if (bits < kMinKeyBits || bits > kMaxKeyBits) bits = kMinKeyBits;

  const lang::TextKey* text = nullptr;
  if (status == config::encryption::Off) {
    text = &texts::MP_AP_Curr_Net_Setting_WEP_Disable;
  } else if (status == config::encryption::WepOn) {
    switch (bits) {
      case 64: text = &texts::MP_AP_Curr_Net_Setting_WEP_64bit; break;
      case 128: text = &texts::MP_AP_Curr_Net_Setting_WEP_128bit; break;
      case 256: text = &texts::MP_AP_Curr_Net_Setting_WEP_256bit; break;
      default: break;  // a length between the three leaves the field as it was
    }
  }
  if (text) dialog_.SetText(id::PanelValue3, language_.LoadLangString(*text));
}

void AccessPointPanel::ShowTxPower() {
  static const lang::TextKey* const kLevels[] = {
      &texts::MP_AP_Curr_Net_Setting_Tx_Power_L0, &texts::MP_AP_Curr_Net_Setting_Tx_Power_L1,
      &texts::MP_AP_Curr_Net_Setting_Tx_Power_L2, &texts::MP_AP_Curr_Net_Setting_Tx_Power_L3};
  int level = appliers_.store.ReadSettingInt(key::TxPowerLevel);
  if (level < 0 || level > config::range::TxPowerLevel.max) {
    (void)config::ApplyTxPower(appliers_, config::range::TxPowerLevel.fallback);
    level = config::range::TxPowerLevel.fallback;
  }
  dialog_.SetText(id::PanelValue4, language_.LoadLangString(*kLevels[level]));
}

void AccessPointPanel::RefreshStationList() {
  std::array<std::uint8_t, VZ_MAC_LIST_SIZE> stations{};
  if (appliers_.driver.WL_RetrieveStationList(appliers_.adapter, stations) == -1) return;
  dialog_.ListDeleteAllItems(id::List);
  int row = 0;
  for (std::size_t entry = 0; entry < VZ_MAC_LIST_ENTRIES; ++entry) {
    const std::uint8_t* bytes = stations.data() + entry * VZ_MAC_LIST_ENTRY_SIZE;
    if (bytes[0] == 0) continue;
    const std::string mac = config::BytesToHexText(bytes + 1, VZ_MAC_SIZE, true);
    (void)dialog_.ListInsertItem(id::List, row++, config::WidenText(mac));
  }
}

}  // namespace ui
