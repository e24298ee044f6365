#pragma once
// A profile's content in memory: a named copy of the station configuration (network, security,
// WEP keys, thresholds, 802.1X credentials), filled from the current setting tree or from a
// stored profile and pushed back onto the adapter.
//
//   ProfileRecord{}                          the record defaults
//   CaptureCurrentSettings(store, record)    the current station tree, ranges checked
//   ApplyProfileRecord(context, env, record) the record onto the adapter through the appliers

#include <array>
#include <string>

#include "config/appliers.h"
#include "config/supplicant_control.h"
#include "platform/clock/clock.h"

namespace config {

// Fields and numbering as the setting keys of the same names. Fields without a record default
// start at -1 or empty; the capture or the read of a profile always fills them.
struct ProfileRecord {
  std::u16string ssid;
  int wirelessMode = 3;
  int channel = 6;
  int networkType = 1;
  std::u16string desiredRate = u"02 04 0B 16 00 00 00 00";
  int authenticationMode = 2;
  int wepStatus = 1;
  // Hexadecimal text of WEP keys 0-3, stored under names built from wepKeyLength.
  std::array<std::u16string, 4> wepKeys{DefaultWepKeyText(), DefaultWepKeyText(),
                                         DefaultWepKeyText(), DefaultWepKeyText()};
  int wepDefaultKeyId = 0;
  int wepKeyLength = 64;
  int wepKeyFormat = -1;
  int powerSaveMode = 0;
  int fragmentationThreshold = 2346;
  int rtsThreshold = 2347;
  int preambleMode = 2;
  int dot1xProtocol = -1;
  std::u16string dot1xPassphrase;
  int dot1xPassphraseFormat = -1;
  std::u16string dot1xUsername;
  std::u16string dot1xPassword;
  std::u16string dot1xPhase2Auth;
  int dot1xValidateServerCertificate = -1;
  std::u16string dot1xCertSubject;
  std::u16string dot1xCertIssuer;
  int dot1xRc4Wep = -1;

  // The built-in 64-bit default key as separated hexadecimal text.
  static std::u16string DefaultWepKeyText();
  bool operator==(const ProfileRecord&) const = default;
};

// Fills `record` from the current setting tree, replacing values outside their ranges. The rate
// set and the preamble are not part of the tree's profile content and keep their record values.
void CaptureCurrentSettings(const SettingStore& store, ProfileRecord& record);

struct ProfileEnvironment {
  const platform::Clock& clock;   // seeds the random SSID pushed first
  SupplicantControl& supplicant;  // ended first, started again when the profile's security needs it
};

// Pushes the record through the appliers: power saving, thresholds, authentication, the four
// WEP keys, encryption, band, channel, network type, then the SSID (after a random one); writes
// the 802.1X fields into the tree; starts the supplicant for WPA and for 802.1X with dynamic WEP
// keys. The rate set, the preamble and the key format are not applied. Refused pushes are not
// reported.
void ApplyProfileRecord(const ApplierContext& context, const ProfileEnvironment& environment,
                        const ProfileRecord& record);

}  // namespace config
