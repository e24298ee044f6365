#include "ui/settings/advanced_template.h"

#include "ui/settings/advanced_ids.h"
#include "ui/settings/template_rows.h"

namespace ui::settings::advanced {

using namespace platform::window;

DialogTemplate AdvancedTemplate() {
  using K = ControlKind;
  constexpr std::uint32_t kUnused = style::Hidden | style::Disabled;
  DialogTemplate t;
  t.id = kTemplateId;
  t.width = 230;
  t.height = 193;
  t.caption = u"Advanced Setting...";
  t.controls = {
      Row(id::PowerGroup, K::GroupBox, {7, 7, 216, 52}, u"Power Consumption Setting"),
      Row(id::PowerCam, K::RadioButton, {15, 19, 200, 10}, u"Continuous Access Mode (CAM).",
          style::GroupStart),
      Row(id::PowerMaximumSaving, K::RadioButton, {15, 31, 200, 10},
          u"Maximum Power-Saving Mode."),
      Row(id::PowerFastSaving, K::RadioButton, {15, 43, 200, 10}, u"Fast Power-Saving Mode."),

      Row(id::FragmentGroup, K::GroupBox, {7, 63, 216, 44}, u"Fragmentation Threshold"),
      Row(id::FragmentSlider, K::TrackBar, {15, 74, 200, 14}),
      Row(id::FragmentMinLabel, K::Label, {15, 92, 24, 8}, u"256"),
      Row(id::FragmentValue, K::Label, {42, 92, 146, 8}, {}, style::Centered),
      Row(id::FragmentMaxLabel, K::Label, {191, 92, 24, 8}, u"2346"),

      Row(id::RtsGroup, K::GroupBox, {7, 111, 216, 44}, u"RTS / CTS Threshold"),
      Row(id::RtsSlider, K::TrackBar, {15, 122, 200, 14}),
      Row(id::RtsMinLabel, K::Label, {15, 140, 24, 8}, u"0"),
      Row(id::RtsValue, K::Label, {42, 140, 146, 8}, {}, style::Centered),
      Row(id::RtsMaxLabel, K::Label, {191, 140, 24, 8}, u"2347"),

      Row(id::SwitchesGroup, K::GroupBox, {7, 159, 216, 28}),
      Row(id::PspXLinkCheck, K::CheckBox, {15, 171, 100, 10}, u"PSP XLink Mode"),
      Row(id::WmmCheck, K::CheckBox, {119, 171, 100, 10}, u"WMM QoS Mode"),

      // Never shown: they keep their place in the template, below the visible part.
      Row(id::InterfaceGroup, K::GroupBox, {7, 191, 104, 36}, u"User Interface", kUnused),
      Row(id::LanguageLabel, K::Label, {13, 203, 92, 8}, u"Language:", kUnused),
      Row(id::LanguageBox, K::DropDownList, {13, 212, 92, 60}, {}, kUnused),
      Row(id::RoamingGroup, K::GroupBox, {119, 191, 104, 36}, u"Country Roaming", kUnused),
      Row(id::RoamingUserSelect, K::RadioButton, {125, 201, 50, 10}, u"User Select",
          kUnused | style::GroupStart),
      Row(id::RoamingWorldMode, K::RadioButton, {175, 201, 46, 10}, u"World Mode", kUnused),
      Row(id::RegionBox, K::DropDownList, {125, 212, 92, 60}, {}, kUnused),
      Row(id::HiddenCheck, K::CheckBox, {7, 229, 10, 4}, {}, kUnused),
  };
  return t;
}

void RegisterAdvancedTemplate() { TemplateRegistry::Instance().Add(AdvancedTemplate()); }

}  // namespace ui::settings::advanced
