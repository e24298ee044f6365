#include "ui/main/current_network_panel.h"

#include <algorithm>
#include <array>
#include <string>

#include "config/setting_keys.h"
#include "lang/texts.h"
#include "platform/text/text.h"
#include "ui/main/main_page_ids.h"

namespace ui {
namespace {

namespace id = main_page::id;
namespace texts = lang::texts;

constexpr int kSsidShown = 32;
// The stored SSID goes through the same 50-byte conversion buffer the driver SSID would.
constexpr std::size_t kStoredSsidBytes = 50;
constexpr int kRateValueBits = 0x7F;  // the top bit marks a basic rate
constexpr int kRateUnitKbps = 500;

// Letter of an encryption status in the debug view: enabled, disabled, anything else.
const char16_t* StatusLetter(int status) {
  if (status == 0) return u"E";
  if (status == 1) return u"D";
  return u"?";
}

}  // namespace

CurrentNetworkPanel::CurrentNetworkPanel(platform::window::Dialog& dialog,
                                         const StationPanelServices& services,
                                         LinkStatusView& link)
    : dialog_(dialog), services_(services), link_(link) {}

void CurrentNetworkPanel::RefreshCurrentNetwork() {
  const int connectState = services_.driver.QueryWL_ConnectState(services_.adapter);
  ShowNetworkType();
  const int channel = services_.driver.QueryWL_Channel(services_.adapter);
  if (channel >= 0) dialog_.SetText(id::PanelValue1, platform::Format(u"%d", channel));
  ShowSsid(connectState);
  ShowRate();
  ShowEncryption();
}

void CurrentNetworkPanel::ShowNetworkType() {
  const int type = services_.driver.QueryWL_NetworkType(services_.adapter);
  if (type == -1) return;
  const lang::CMultiLanguage& language = services_.language;
  std::u16string text;
  switch (type) {
    case 0: text = language.LoadLangString(texts::MP_STA_Curr_Net_Type_Ad_Hoc); break;
    case 1: text = language.LoadLangString(texts::MP_STA_Curr_Net_Type_Infra); break;
    case 2: text = language.LoadLangString(texts::MP_STA_Curr_Net_Type_WDS); break;
    case 3: text = language.LoadLangString(texts::MP_STA_Curr_Net_Type_PIBSS); break;
    default:
      text = platform::Format(
          u"%s(%d)", language.LoadLangString(texts::MP_STA_Curr_Net_Type_Unknown), type);
  }
  dialog_.SetText(id::PanelValue2, text);
}

void CurrentNetworkPanel::ShowSsid(int connectState) {
  std::string bytes;
  int length = 0;
  if (connectState == 0) {
    std::array<std::uint8_t, VZ_SSID_SIZE> ssid{};
    length = services_.driver.QueryWL_SSID(services_.adapter, ssid);
    // The buffer holds at most 32 bytes whatever length the driver reports.
    if (length > 0) bytes.assign(ssid.begin(), ssid.begin() + std::min(length, kSsidShown));
  } else if (connectState == 1) {
    bytes = platform::NarrowCodePage(services_.store.ReadSettingString(config::key::SSID));
    if (bytes.size() > kStoredSsidBytes) bytes.resize(kStoredSsidBytes);
    length = static_cast<int>(bytes.size());
  } else {
    return;
  }
  if (length < 0) return;
  if (bytes.size() > kSsidShown) bytes.resize(kSsidShown);
  dialog_.SetText(id::PanelValue3,
                  length == 0 ? services_.language.LoadLangString(texts::MP_STA_SSID_any)
                              : platform::WidenCodePage(bytes));
}

void CurrentNetworkPanel::ShowRate() {
  int speed = services_.driver.QueryWL_CurrentLinkSpeed(services_.adapter);
  if (services_.product.txRateAutoShowMax == 1 && link_.TakeIdleRate()) {
    // An idle link shows the fastest rate the adapter supports instead of the last one used.
    std::array<std::uint8_t, VZ_RATE_SET_SIZE> rates{};
    int fastest = 0;
    if (services_.driver.QueryWL_SupportedRate(services_.adapter, rates) == 0) {
      for (std::uint8_t rate : rates) fastest = std::max(fastest, rate & kRateValueBits);
    }
    // No readable rate: keep the field rather than claim 0 Mbps.
    speed = fastest > 0 ? fastest * kRateUnitKbps : -1;
  }
  if (speed < 0) return;
  const std::u16string unit = services_.language.LoadLangString(texts::BS_G_TxRate_Value_Unit);
  dialog_.SetText(id::PanelValue4,
                  speed % 1000 == 0 ? platform::Format(u"%d %s", speed / 1000, unit)
                                    : platform::Format(u"%.1f %s", speed / 1000.0, unit));
}

void CurrentNetworkPanel::ShowEncryption() {
  const int status = services_.driver.QueryWL_WEPStatus(services_.adapter);
  if (status < 0) return;
  const lang::CMultiLanguage& language = services_.language;
  std::u16string text;
  if (services_.product.debugMode != 0) {
    text = platform::Format(u"Q:%s S:%s", StatusLetter(status),
                            StatusLetter(services_.store.ReadSettingInt(config::key::WEPStatus)));
  } else if (status == 0 || status == 2) {
    text = language.LoadLangString(texts::MP_STA_ENCRYPT_WEP);
  } else if (status == 1) {
    text = language.LoadLangString(texts::MP_STA_ENCRYPT_NONE);
  } else if (status == 4 || status == 5) {
    text = language.LoadLangString(texts::MP_STA_ENCRYPT_TKIP);
  } else if (status == 6 || status == 7) {
    text = language.LoadLangString(texts::MP_STA_ENCRYPT_AES);
  } else {
    text = language.LoadLangString(texts::MP_STA_WEP_Unknown);
  }
  dialog_.SetText(id::PanelValue5, text);
}

}  // namespace ui
