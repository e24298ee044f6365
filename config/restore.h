#pragma once
// Restoring the stored configuration of the current operating mode onto the adapter: every
// value is read from the setting tree, replaced by its default when absent or out of range, and
// pushed through its applier in a fixed order. Also works out which bands the adapter offers.

#include "config/appliers.h"
#include "config/supplicant_control.h"
#include "lang/multi_language.h"
#include "platform/clock/clock.h"

namespace config {

struct RestoreEnvironment {
  platform::Clock& clock;               // the 1000 ms waits; the seed of the random SSID
  SupplicantControl& supplicant;        // started for WPA and 802.1X configurations
  const lang::CMultiLanguage& language; // the access point's default SSID
  int productWirelessMode = 0;          // product file "WirelessMode": 0 2.4 GHz, 1 5 GHz, 2 both
  int chipType = 1;                     // `ChipType` of the open adapter
};

// Always 0: refused pushes are not reported and the sequence runs to its end. Sets the radio
// state's band capability, wireless-mode-settable flag and (station) current network type.
int RestoreConfiguration(const ApplierContext& context, const RestoreEnvironment& environment);

// Pushes `regionCode` (both trees) and, on chip type 1, the region's 2.4 GHz channel list.
// -1 when the adapter cannot be opened or the code is not a known region; nothing is pushed then.
int ApplyRegionChannels(const ApplierContext& context, int chipType, int regionCode);

}  // namespace config
