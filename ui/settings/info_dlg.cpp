#include "ui/settings/info_dlg.h"

#include <array>

#include "config/text_conversions.h"
#include "lang/texts.h"
#include "platform/text/text.h"
#include "ui/settings/build_stamp.h"
#include "ui/settings/info_ids.h"

namespace ui::settings {

using namespace information;
namespace texts = lang::texts;

std::u16string DriverVersionText(std::int32_t version, int chipType) {
  if (version == -1) return {};
  const auto word = static_cast<std::uint32_t>(version);
  const auto byte = [word](int shift) { return static_cast<int>(word >> shift & 0xFF); };
  if (chipType == 1) {
    return platform::Format(u"%d.%d.%02d%02X.%04d", byte(24), byte(16),
                            static_cast<int>(word >> 8 & 0x0F), byte(0),
                            2000 + static_cast<int>(word >> 12 & 0x0F));
  }
  return platform::Format(u"%d.%d.%d.%d", byte(24), byte(16), byte(8), byte(0));
}

CInfoDlg::CInfoDlg(const StationSettingsServices& services, int opener)
    : Dialog(kTemplateId), services_(services), opener_(opener) {}

bool CInfoDlg::OnInitDialog() {
  Dialog::OnInitDialog();
  registration_.emplace(services_.dialogs, dialog_number::Information, *this, opener_);
  const lang::CMultiLanguage& language = services_.language;
  const auto text = [&language](const lang::TextKey& key) { return language.LoadLangString(key); };
  SetCaption(text(texts::IS_Dialog_Title) + u"  ");
  SetText(id::Heading, text(texts::IS_Sub_Title));
  SetText(id::DriverVersionLabel, text(texts::IS_Item_Driver_Version));
  SetText(id::UtilityVersionLabel, text(texts::IS_Item_Utility_Version));
  SetText(id::MacAddressLabel, text(texts::IS_Item_MAC_Address));

  adapter::AdapterHandle& adapter = services_.adapter.handle;
  const std::int32_t version = services_.driver.QueryWL_DriverVersion(adapter);
  SetText(id::DriverVersion, version == -1
                                 ? text(texts::IS_Item_Version_Unknown)
                                 : DriverVersionText(version, services_.adapter.chipType));

  const std::array<int, 4> utility = UtilityVersion();
  SetText(id::UtilityVersion, platform::Format(u"%d.%d.%d.%d - %s %s", utility[0], utility[1],
                                               utility[2], utility[3], DateText(BuildEpoch()),
                                               TimeText(BuildEpoch())));

  // An adapter that cannot tell its address shows "unknown" rather than a made-up one.
  std::array<std::uint8_t, VZ_MAC_SIZE> mac{};
  SetText(id::MacAddress, services_.driver.GetNICAdapterMAC(adapter, mac) == 0
                              ? config::WidenText(config::BytesToHexText(mac.data(), mac.size(),
                                                                         true))
                              : text(texts::IS_Item_Version_Unknown));
  return true;
}

void CInfoDlg::OnDestroy() { registration_.reset(); }

}  // namespace ui::settings
