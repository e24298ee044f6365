#include "ui/settings/more_settings_template.h"

#include "ui/settings/more_settings_ids.h"
#include "ui/settings/template_rows.h"

namespace ui::settings::more_settings {

using namespace platform::window;

DialogTemplate MoreSettingsTemplate() {
  using K = ControlKind;
  DialogTemplate t;
  t.id = kTemplateId;
  t.width = 300;
  t.height = 266;
  t.caption = u"More Settings...  ";

  // Labels in one column, the boxes beside them.
  constexpr int kLabelX = 15, kLabelWidth = 72, kBoxX = 90, kBoxWidth = 112;
  t.controls = {
      Row(id::GeneralGroup, K::GroupBox, {7, 7, 286, 112}, u"General Connection Setting"),
      Row(id::NetworkTypeLabel, K::Label, {kLabelX, 22, kLabelWidth, 8}, u"Network Type"),
      Row(id::NetworkTypeBox, K::DropDownList, {kBoxX, 20, kBoxWidth, 60}),
      Row(id::SsidLabel, K::Label, {kLabelX, 38, kLabelWidth, 8}, u"SSID"),
      Edit(id::SsidEdit, {kBoxX, 36, kBoxWidth, 12}, 0),
      Row(id::AnyCheck, K::CheckBox, {208, 37, 76, 10}, u"any"),
      Row(id::WirelessModeLabel, K::Label, {kLabelX, 54, kLabelWidth, 8}, u"WirelessMode"),
      Row(id::WirelessModeBox, K::DropDownList, {kBoxX, 52, kBoxWidth, 60}),
      Row(id::ChannelLabel, K::Label, {kLabelX, 70, kLabelWidth, 8}, u"Channel"),
      Row(id::ChannelBox, K::DropDownList, {kBoxX, 68, 50, 90}),
      Row(id::TxRateLabel, K::Label, {146, 70, 40, 8}, u"Tx Rate", style::Hidden),
      Row(id::TxRateBox, K::DropDownList, {190, 68, 60, 90}, {}, style::Hidden),
      Row(id::AuthenticationLabel, K::Label, {kLabelX, 86, kLabelWidth, 8}, u"Authentication"),
      Row(id::AuthenticationBox, K::DropDownList, {kBoxX, 84, kBoxWidth, 90}),
      Row(id::EncryptionLabel, K::Label, {kLabelX, 102, kLabelWidth, 8}, u"Encryption"),
      Row(id::EncryptionBox, K::DropDownList, {kBoxX, 100, kBoxWidth, 60}),
      Row(id::ChangeApplyButton, K::Button, {212, 99, 72, 14}, u"Change"),

      Row(id::KeysGroup, K::GroupBox, {7, 123, 286, 30}, u"WEP Encryption Setting"),
      Row(id::WepButton, K::Button, {15, 134, 132, 14}, u"WEP Encryption Key Setting"),
      Row(id::WpaButton, K::Button, {153, 134, 132, 14}, u"WPA Encryption Setting"),

      Row(id::ProfileGroup, K::GroupBox, {7, 157, 286, 48}, u"Profile"),
      Row(id::ProfileNameLabel, K::Label, {kLabelX, 171, kLabelWidth, 8}, u"Profile Name"),
      Row(id::ProfileBox, K::ComboBox, {kBoxX, 169, 195, 80}),
      Row(id::LoadButton, K::Button, {kBoxX, 186, 54, 14}, u"Load"),
      Row(id::SaveButton, K::Button, {149, 186, 78, 14}, u"Save Current"),
      Row(id::DeleteButton, K::Button, {231, 186, 54, 14}, u"Delete"),

      Row(id::OtherGroup, K::GroupBox, {7, 209, 286, 50}, u"Other"),
      Row(id::OtherHint, K::Label, {kLabelX, 222, 240, 8},
          u"For more advanced setting, information..."),
      IconRow(id::AppIcon, {266, 216, 20, 20}, kAppIcon),
      Row(id::AdvancedButton, K::Button, {15, 239, 132, 14}, u"Advanced Setting..."),
      Row(id::InformationButton, K::Button, {153, 239, 132, 14}, u"Information"),
  };
  return t;
}

void RegisterMoreSettingsTemplate() { TemplateRegistry::Instance().Add(MoreSettingsTemplate()); }

}  // namespace ui::settings::more_settings
