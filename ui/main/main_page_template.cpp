#include "ui/main/main_page_template.h"

#include "ui/main/main_page_ids.h"

namespace ui::main_page {

using namespace platform::window;

namespace {

ControlTemplate Control(int controlId, ControlKind kind, DialogRect rect,
                        std::u16string text = {}, std::uint32_t controlStyle = 0) {
  return ControlTemplate{controlId, kind, rect, std::move(text), controlStyle, 0, 0};
}

ControlTemplate Picture(int controlId, DialogRect rect, int iconResource) {
  return ControlTemplate{controlId, ControlKind::Picture, rect, {}, 0, 0, iconResource};
}

}  // namespace

DialogTemplate MainPageTemplate() {
  using K = ControlKind;
  DialogTemplate t;
  t.id = kTemplateId;
  t.width = 267;
  t.height = 214;
  t.caption = u"Orvex Ventrel";
  t.fontName = u"Verdana";
  t.fontPoints = 8;

  // Panel rows: labels in one column, values beside them; the last row shares its line with
  // the panel button, so its value is short.
  constexpr int kRowY[5] = {63, 78, 93, 108, 123};
  constexpr int kPanelLabels[5] = {id::PanelLabel1, id::PanelLabel2, id::PanelLabel3,
                                   id::PanelLabel4, id::PanelLabel5};
  constexpr int kPanelValues[5] = {id::PanelValue1, id::PanelValue2, id::PanelValue3,
                                   id::PanelValue4, id::PanelValue5};

  t.controls = {
      Picture(id::AppIcon, {6, 10, 20, 20}, icon::App),
      Control(id::AdapterLabel, K::Label, {32, 9, 92, 9}, u"Network Adapter:"),
      Control(id::AdapterBox, K::DropDownList, {33, 20, 227, 80}),
      Control(id::ModeLabel, K::Label, {145, 7, 56, 8}, u"Mode:"),
      Control(id::ModeBox, K::DropDownList, {204, 5, 56, 40}),
      Control(id::ListTitle, K::Label, {6, 40, 99, 8}, u"Available Network:"),
      Control(id::List, K::ListView, {6, 49, 99, 80}, {},
              style::SingleSelection | style::Disabled),
      Control(id::RefreshButton, K::Button, {6, 130, 99, 13}, u"Refresh"),
      Control(id::PanelGroup, K::GroupBox, {113, 46, 146, 97}, u"Current Network Information"),
  };
  for (int row = 0; row < 5; ++row) {
    t.controls.push_back(Control(kPanelLabels[row], K::Label, {115, kRowY[row], 40, 8}));
    t.controls.push_back(
        Control(kPanelValues[row], K::Label, {157, kRowY[row], row == 4 ? 31 : 98, 8}));
  }
  const std::vector<ControlTemplate> rest = {
      Control(id::PanelButton, K::Button, {190, 123, 64, 14}, u"More Settings...",
              style::Hidden),
      Control(id::LinkStatusLabel, K::Label, {2, 155, 66, 8}, u"Link Status:"),
      Control(id::LinkStatusText, K::Label, {71, 155, 190, 8}),
      Control(id::SignalLabel, K::Label, {2, 168, 66, 8}, u"Signal Strength:"),
      Control(id::SignalBar, K::ProgressBar, {71, 167, 156, 10}),
      Control(id::SignalText, K::Label, {229, 168, 32, 8}),
      Control(id::QualityLabel, K::Label, {2, 181, 66, 8}, u"Link Quality:"),
      Control(id::QualityBar, K::ProgressBar, {71, 180, 156, 10}),
      Control(id::QualityText, K::Label, {229, 181, 32, 8}),
      Control(id::TxFrameLabel, K::Label, {2, 196, 40, 8}, u"Tx Frame:", style::Hidden),
      Control(id::TxFrameText, K::Label, {44, 196, 62, 8}, {}, style::Hidden),
      Control(id::RxFrameLabel, K::Label, {110, 196, 40, 8}, u"Rx Frame:", style::Hidden),
      Control(id::RxFrameText, K::Label, {152, 196, 62, 8}, {}, style::Hidden),
      Picture(id::ActivityIcon, {246, 193, 20, 20}, icon::ActivityFirst),
      Control(id::WzcBanner, K::Label, {6, 199, 230, 8}, {}, style::Hidden),
  };
  t.controls.insert(t.controls.end(), rest.begin(), rest.end());
  return t;
}

void RegisterMainPageTemplate() { TemplateRegistry::Instance().Add(MainPageTemplate()); }

}  // namespace ui::main_page
