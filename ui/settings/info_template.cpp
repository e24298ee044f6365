#include "ui/settings/info_template.h"

#include "ui/settings/info_ids.h"
#include "ui/settings/template_rows.h"

namespace ui::settings::information {

using namespace platform::window;

DialogTemplate InfoTemplate() {
  using K = ControlKind;
  constexpr int kLabelX = 12, kLabelWidth = 74, kValueX = 90, kValueWidth = 142;
  DialogTemplate t;
  t.id = kTemplateId;
  t.width = 240;
  t.height = 100;
  t.caption = u"Information...  ";
  t.controls = {
      Row(id::Heading, K::Label, {7, 10, 226, 8}, u"S Y S T E M   I N F O R M A T I O N",
          style::Centered),
      Row(id::DriverVersionLabel, K::Label, {kLabelX, 30, kLabelWidth, 8}, u"Driver Version:"),
      Row(id::DriverVersion, K::Label, {kValueX, 30, kValueWidth, 8}),
      Row(id::UtilityVersionLabel, K::Label, {kLabelX, 44, kLabelWidth, 8}, u"Utility Version:"),
      Row(id::UtilityVersion, K::Label, {kValueX, 44, kValueWidth, 8}),
      Row(id::MacAddressLabel, K::Label, {kLabelX, 58, kLabelWidth, 8}, u"MAC Address:"),
      Row(id::MacAddress, K::Label, {kValueX, 58, kValueWidth, 8}),
      Row(id::Ok, K::Button, {95, 78, 50, 14}, u"OK", style::Default),
  };
  return t;
}

void RegisterInfoTemplate() { TemplateRegistry::Instance().Add(InfoTemplate()); }

}  // namespace ui::settings::information
