#include "ui/security/security_templates.h"

#include "lang/texts.h"
#include "platform/window/dialog.h"
#include "ui/common/template_texts.h"
#include "ui/security/security_dialog_ids.h"

namespace ui::security_dialogs {

using namespace platform::window;
namespace texts = lang::texts;

namespace {

using K = ControlKind;

ControlTemplate Control(int controlId, ControlKind kind, DialogRect rect,
                        const std::vector<ShownText>& shown = {}, std::uint32_t controlStyle = 0) {
  return TextControl(controlId, kind, rect, shown, controlStyle);
}

// A box for a secret: it never shows what it holds.
ControlTemplate Masked(int controlId, DialogRect rect, int limit = 0) {
  ControlTemplate row = Control(controlId, K::Edit, rect, {}, style::Password);
  row.limit = limit;
  return row;
}

DialogTemplate Template(int id, int width, int height, std::u16string caption) {
  DialogTemplate t;
  t.id = id;
  t.width = width;
  t.height = height;
  t.caption = std::move(caption);
  t.fontName = u"Verdana";
  t.fontPoints = 8;
  return t;
}

}  // namespace

DialogTemplate WepSettingTemplate() {
  namespace id = wep_id;
  DialogTemplate t = Template(wep_template::Id, 244, 196, u"WEP Key Setting...");
  t.controls = {
      Control(id::Frame, K::GroupBox, {6, 4, 232, 164}, {texts::WS_Key_Set_Sub_Title}),
      Control(id::LengthLabel, K::Label, {14, 18, 70, 8}, {texts::WS_Key_Set_Key_Length}),
      // The three length buttons form one group, the two format buttons another.
      Control(id::Length64, K::RadioButton, {88, 17, 44, 10}, {texts::WS_Key_Set_Key_Length_64},
              style::GroupStart),
      Control(id::Length128, K::RadioButton, {136, 17, 48, 10}, {texts::WS_Key_Set_Key_Length_128}),
      Control(id::Length256, K::RadioButton, {186, 17, 48, 10}, {texts::WS_Key_Set_Key_Length_256}),
      Control(id::DefaultKeyLabel, K::Label, {14, 34, 70, 8}, {texts::WS_Key_Set_Key_Default_Id}),
      Control(id::DefaultKey, K::DropDownList, {88, 32, 50, 60}),
      Control(id::FormatLabel, K::Label, {14, 50, 70, 8}, {texts::WS_Key_Key_Format}),
      Control(id::Hexadecimal, K::RadioButton, {88, 49, 64, 10}, {texts::WS_Key_Hexdecimal},
              style::GroupStart),
      Control(id::Ascii, K::RadioButton, {156, 49, 60, 10}, {texts::WS_Key_ASCII}),
      Control(id::ValueLabel, K::Label, {14, 66, 70, 8}, {texts::WS_Key_Set_Key_Value_Desc}),
  };
  const lang::TextKey* keyLabels[] = {
      &texts::WS_Key_Set_Key_Value_1, &texts::WS_Key_Set_Key_Value_2,
      &texts::WS_Key_Set_Key_Value_3, &texts::WS_Key_Set_Key_Value_4};
  for (int key = 0; key < 4; ++key) {
    const int y = 80 + 16 * key;
    t.controls.push_back(
        Control(id::KeyLabels[key], K::Label, {22, y + 2, 16, 8}, {*keyLabels[key]}));
    t.controls.push_back(Masked(id::Keys[key], {40, y, 190, 12}));
  }
  t.controls.push_back(
      Control(id::Dot1xKeys, K::CheckBox, {14, 148, 222, 10}, {texts::WS_Key_DOT1X}));
  t.controls.push_back(Control(id::ChangeApply, K::Button, {178, 174, 60, 14},
                               {texts::WS_Key_Set_Button_Change, texts::WS_Key_Set_Button_Apply}));
  return t;
}

DialogTemplate WepInfoTemplate() {
  DialogTemplate t = Template(wep_info_template::Id, 220, 112, u"WEP keyInformation...");
  const lang::TextKey* lines[] = {&texts::WS_ERROR_MESSAGE1, &texts::WS_ERROR_MESSAGE2,
                                  &texts::WS_ERROR_MESSAGE3, &texts::WS_ERROR_MESSAGE4};
  for (int line = 0; line < 4; ++line) {
    // Two lines each: the longer explanations wrap.
    ControlTemplate row =
        Control(wep_info_id::Lines[line], K::Label, {8, 8 + 20 * line, 204, 18}, {*lines[line]});
    row.text.clear();  // the dialog fills them in
    t.controls.push_back(row);
  }
  t.controls.push_back(
      Control(IdOk, K::Button, {85, 92, 50, 14}, {texts::WS_INFO_Button_OK}, style::Default));
  return t;
}

DialogTemplate Dot1xSettingTemplate() {
  namespace id = dot1x_id;
  DialogTemplate t = Template(dot1x_template::Id, 250, 226, u"WPA Setting...");
  t.controls = {
      Control(id::ConnectGroup, K::GroupBox, {6, 4, 238, 100}, {texts::DOT1X_CONNETCINFO}),
      Control(id::ProtocolLabel, K::Label, {14, 18, 88, 8}, {texts::DOT1X_PROTOCOL}),
      Control(id::Protocol, K::ComboBox, {104, 16, 132, 60}),
      Control(id::Phase2Label, K::Label, {14, 34, 88, 8}, {texts::DOT1X_PHASE2AUTH}),
      Control(id::Phase2, K::ComboBox, {104, 32, 132, 60}),
      Control(id::UserNameLabel, K::Label, {14, 50, 88, 8}, {texts::DOT1X_USERNAME}),
      Control(id::UserName, K::Edit, {104, 48, 132, 12}),
      Control(id::PasswordLabel, K::Label, {14, 66, 88, 8}, {texts::DOT1X_PASSWORD}),
      Masked(id::Password, {104, 64, 132, 12}),
      Control(id::ValidateServer, K::CheckBox, {14, 84, 222, 10},
              {texts::DOT1X_VALIDATE_SERVER_CERTIFICATE}),
      Control(id::PreSharedGroup, K::GroupBox, {6, 108, 238, 50}, {texts::DOT1X_PRESHAREDKEY}),
      Control(id::PassphraseLabel, K::Label, {14, 122, 88, 8}, {texts::DOT1X_PASSPHRASE}),
      Masked(id::Passphrase, {104, 120, 132, 12}, 64),
      Control(id::FormatLabel, K::Label, {14, 140, 88, 8}, {texts::DOT1X_PASSPHRASE_FORMAT}),
      Control(id::Ascii, K::RadioButton, {104, 139, 50, 10}, {texts::DOT1X_PASSPHRASE_ASCII},
              style::GroupStart),
      Control(id::Hexadecimal, K::RadioButton, {158, 139, 70, 10}, {texts::DOT1X_PASSPHRASE_HEX}),
      Control(id::CertificateGroup, K::GroupBox, {6, 162, 238, 36}, {texts::DOT1X_CERT}),
      Control(id::Certificate, K::ComboBox, {14, 176, 222, 60}),
      Control(id::ChangeApply, K::Button, {184, 206, 60, 14},
              {texts::DOT1X_Button_Change, texts::DOT1X_Button_Apply}),
  };
  return t;
}

VZ_PROGRAM_TEMPLATE(WepSettingTemplate);
VZ_PROGRAM_TEMPLATE(WepInfoTemplate);
VZ_PROGRAM_TEMPLATE(Dot1xSettingTemplate);

void RegisterSecurityTemplates() {
  TemplateRegistry& templates = TemplateRegistry::Instance();
  templates.Add(WepSettingTemplate());
  templates.Add(WepInfoTemplate());
  templates.Add(Dot1xSettingTemplate());
}

int RegisteredTemplate(int templateId) {
  RegisterSecurityTemplates();
  return templateId;
}

}  // namespace ui::security_dialogs
