#include "ui/security/security_templates.h"

#include "platform/window/dialog.h"
#include "ui/security/security_dialog_ids.h"

namespace ui::security_dialogs {

using namespace platform::window;

namespace {

using K = ControlKind;

ControlTemplate Control(int controlId, ControlKind kind, DialogRect rect, std::u16string text = {},
                        std::uint32_t controlStyle = 0, int limit = 0) {
  return ControlTemplate{controlId, kind, rect, std::move(text), controlStyle, limit, 0};
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
      Control(id::Frame, K::GroupBox, {6, 4, 232, 164}, u"WEP Key Setting"),
      Control(id::LengthLabel, K::Label, {14, 18, 70, 8}, u"Key Length:"),
      // The three length buttons form one group, the two format buttons another.
      Control(id::Length64, K::RadioButton, {88, 17, 44, 10}, u"64 bit", style::GroupStart),
      Control(id::Length128, K::RadioButton, {136, 17, 48, 10}, u"128 bit"),
      Control(id::Length256, K::RadioButton, {186, 17, 48, 10}, u"256 bit"),
      Control(id::DefaultKeyLabel, K::Label, {14, 34, 70, 8}, u"Default Key ID:"),
      Control(id::DefaultKey, K::DropDownList, {88, 32, 50, 60}),
      Control(id::FormatLabel, K::Label, {14, 50, 70, 8}, u"Key Format:"),
      Control(id::Hexadecimal, K::RadioButton, {88, 49, 64, 10}, u"Hexadecimal", style::GroupStart),
      Control(id::Ascii, K::RadioButton, {156, 49, 60, 10}, u"ASCII"),
      Control(id::ValueLabel, K::Label, {14, 66, 70, 8}, u"Key Value:"),
  };
  for (int key = 0; key < 4; ++key) {
    const int y = 80 + 16 * key;
    t.controls.push_back(
        Control(id::KeyLabels[key], K::Label, {22, y + 2, 16, 8},
                u"#" + std::u16string(1, static_cast<char16_t>(u'1' + key)) + u":"));
    // Keys are secrets: the boxes never show what they hold.
    t.controls.push_back(Control(id::Keys[key], K::Edit, {40, y, 190, 12}, {}, style::Password));
  }
  t.controls.push_back(Control(id::Dot1xKeys, K::CheckBox, {14, 148, 222, 10},
                               u"The key is provided via 802.1x authentication"));
  t.controls.push_back(Control(id::ChangeApply, K::Button, {178, 174, 60, 14}, u"Change"));
  return t;
}

DialogTemplate WepInfoTemplate() {
  DialogTemplate t = Template(wep_info_template::Id, 220, 112, u"WEP keyInformation...");
  for (int line = 0; line < 4; ++line) {
    // Two lines each: the longer explanations wrap.
    t.controls.push_back(Control(wep_info_id::Lines[line], K::Label, {8, 8 + 20 * line, 204, 18}));
  }
  t.controls.push_back(Control(IdOk, K::Button, {85, 92, 50, 14}, u"OK", style::Default));
  return t;
}

DialogTemplate Dot1xSettingTemplate() {
  namespace id = dot1x_id;
  DialogTemplate t = Template(dot1x_template::Id, 250, 226, u"WPA Setting...");
  t.controls = {
      Control(id::ConnectGroup, K::GroupBox, {6, 4, 238, 100}, u"Connect Infomation"),
      Control(id::ProtocolLabel, K::Label, {14, 18, 88, 8}, u"Protocol:"),
      Control(id::Protocol, K::ComboBox, {104, 16, 132, 60}),
      Control(id::Phase2Label, K::Label, {14, 34, 88, 8}, u"Phase2Auth:"),
      Control(id::Phase2, K::ComboBox, {104, 32, 132, 60}),
      Control(id::UserNameLabel, K::Label, {14, 50, 88, 8}, u"User Name:"),
      Control(id::UserName, K::Edit, {104, 48, 132, 12}),
      Control(id::PasswordLabel, K::Label, {14, 66, 88, 8}, u"Password:"),
      Control(id::Password, K::Edit, {104, 64, 132, 12}, {}, style::Password),
      Control(id::ValidateServer, K::CheckBox, {14, 84, 222, 10}, u"Validate Server Certificate"),
      Control(id::PreSharedGroup, K::GroupBox, {6, 108, 238, 50}, u"Pre-shared Key"),
      Control(id::PassphraseLabel, K::Label, {14, 122, 88, 8}, u"Passphrase:"),
      Control(id::Passphrase, K::Edit, {104, 120, 132, 12}, {}, style::Password, 64),
      Control(id::FormatLabel, K::Label, {14, 140, 88, 8}, u"Key Format:"),
      Control(id::Ascii, K::RadioButton, {104, 139, 50, 10}, u"ASCII", style::GroupStart),
      Control(id::Hexadecimal, K::RadioButton, {158, 139, 70, 10}, u"Hexadecimal"),
      Control(id::CertificateGroup, K::GroupBox, {6, 162, 238, 36}, u"Certificate"),
      Control(id::Certificate, K::ComboBox, {14, 176, 222, 60}),
      Control(id::ChangeApply, K::Button, {184, 206, 60, 14}, u"Change"),
  };
  return t;
}

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
