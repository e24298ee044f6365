// "Change" and "Apply": the order of the pushes is what the driver needs to join the new
// network (the network type and band before the channel, the security before the SSID that
// starts the association, the rates last).
#include <algorithm>

#include "config/setting_keys.h"
#include "config/ssid_push.h"
#include "lang/texts.h"
#include "platform/text/text.h"
#include "ui/settings/basic_setting_dlg.h"
#include "ui/settings/more_settings_ids.h"
#include "ui/settings/more_settings_mapping.h"

namespace ui::settings {

using namespace more_settings;
namespace texts = lang::texts;
namespace key = config::key;
namespace network_type = config::network_type;

namespace {

// The SSID box is read into a buffer of this many characters.
constexpr std::size_t kSsidBoxCapacity = 200;

}  // namespace

void CBasicSettingDlg::OnChangeApply() {
  if (!editing_) {
    editing_ = 1;
    ApplyEnableRules(true);
    FollowNetworkTypeEntry();
    SetText(id::ChangeApplyButton, Text(texts::BS_G_Button_Apply));
    return;
  }
  ApplySettings();
  editing_ = 0;
  ApplyEnableRules(false);
  SetText(id::ChangeApplyButton, Text(texts::BS_G_Button_Change));
}

void CBasicSettingDlg::ApplySettings() {
  const config::ApplierContext appliers = Appliers(services_);
  services_.supplicant.StopSupplicant();

  const int networkType = NetworkTypeValue(ComboSelection(id::NetworkTypeBox));
  (void)config::ApplyNetworkType(appliers, networkType);

  int band = config::band::TwoPointFourGHz;
  switch (Capability()) {
    case config::band_capability::FiveOnly: band = config::band::FiveGHz; break;
    case config::band_capability::Both:
      band = networkType == network_type::Infrastructure ? config::band::Automatic
             : ComboSelection(id::WirelessModeBox) == kFiveGHzEntry ? config::band::FiveGHz
                                                                     : config::band::TwoPointFourGHz;
      break;
    default: break;
  }
  (void)config::ApplyBand(appliers, band);

  // An infrastructure network brings its own channel.
  const int channelEntry = ComboSelection(id::ChannelBox);
  if (networkType != network_type::Infrastructure && channelEntry >= 0 &&
      channelEntry < channels_.count) {
    (void)config::ApplyChannel(appliers, channels_.channels[static_cast<std::size_t>(channelEntry)]);
  }

  ApplyAuthentication(networkType);
  ApplyEncryption(networkType);
  ApplySsid();
  ApplyRates();
  RestartSupplicant();
}

void CBasicSettingDlg::ApplyAuthentication(int networkType) {
  const int entry = ComboSelection(id::AuthenticationBox);
  if (entry < 0) return;
  (void)config::ApplyAuthentication(
      Appliers(services_), AuthenticationValue(OfferedAuthentication(
                      entry, networkType == network_type::AdHoc, WpaMode(), Wpa2Mode())));
}

// WEP on or off pushes the stored keys with it; TKIP and AES come with WPA keys of their own.
void CBasicSettingDlg::ApplyEncryption(int networkType) {
  const config::ApplierContext appliers = Appliers(services_);
  const int entry = ComboSelection(id::EncryptionBox);
  if (WpaMode() && networkType != network_type::AdHoc) {
    switch (entry) {
      case kExtendedWepEntry: (void)config::ApplyWep(appliers, true); break;
      case kExtendedTkipEntry: (void)config::ApplyEncryption(appliers, config::encryption::Tkip); break;
      case kExtendedAesEntry: (void)config::ApplyEncryption(appliers, config::encryption::Aes); break;
      default: (void)config::ApplyWep(appliers, false); break;
    }
  } else {
    (void)config::ApplyWep(appliers, entry == kBasicWepEntry);
  }
}

// A name of up to 32 characters is taken as typed, blanks included; a longer one loses the
// blanks around it before it is cut to 32.
void CBasicSettingDlg::ApplySsid() {
  std::u16string text;
  if (!GetCheck(id::AnyCheck)) text = GetText(id::SsidEdit).substr(0, kSsidBoxCapacity - 1);
  if (text.size() > config::kMaxSsidBytes) {
    text = std::u16string(platform::Trim(text)).substr(0, config::kMaxSsidBytes);
  }
  std::string bytes = platform::NarrowCodePage(text);
  bytes.resize(std::min(bytes.size(), config::kMaxSsidBytes));
  (void)config::ApplySsidAfterRandom(
      Appliers(services_), services_.clock,
      std::span(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()));
}

// "Auto" asks for every offered rate; a chosen rate is the only one asked for and is kept as the
// fixed rate the restore pushes.
void CBasicSettingDlg::ApplyRates() {
  const int entry = ComboSelection(id::TxRateBox);
  std::array<std::uint8_t, VZ_RATE_SET_SIZE> set{};
  int fixedRate = 0;
  if (entry <= 0) {
    set = rates_;
  } else if (entry <= static_cast<int>(rates_.size())) {
    fixedRate = rates_[static_cast<std::size_t>(entry - 1)];
    set[0] = static_cast<std::uint8_t>(fixedRate);
  }
  (void)services_.store.WriteSetting(key::STATxRate, platform::Format(u"%d", fixedRate));
  (void)config::ApplyDesiredRates(Appliers(services_), set);
}

void CBasicSettingDlg::RestartSupplicant() {
  const config::SettingStore& store = services_.store;
  const int authentication = store.ReadSettingInt(key::AuthenticationMode);
  switch (authentication) {
    case config::auth_mode::Wpa:
    case config::auth_mode::WpaPsk:
    case config::auth_mode::Wpa2:
    case config::auth_mode::Wpa2Psk:
      services_.supplicant.StartSupplicant();
      return;
    case config::auth_mode::Open:
    case config::auth_mode::AutoSwitch:
      // 802.1X with keys from the authentication server: the driver must stay open.
      if (store.ReadSettingInt(key::Dot1xRC4WEP) == 1 &&
          store.ReadSettingInt(key::WEPStatus) == config::encryption::WepOn) {
        (void)services_.driver.SetWL_AuthenticationMode(services_.adapter.handle,
                                                        config::auth_mode::Open);
        services_.supplicant.StartSupplicant();
      }
      return;
    default:
      return;
  }
}

}  // namespace ui::settings
