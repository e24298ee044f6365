#include "ui/main/main_page_template.h"

#include <gtest/gtest.h>

#include <set>

#include "ui/main/main_page_ids.h"

namespace ui::main_page {
namespace {

using platform::window::ControlKind;
using platform::window::ControlTemplate;
using platform::window::DialogTemplate;
namespace style = platform::window::style;

const ControlTemplate* FindControl(const DialogTemplate& t, int controlId) {
  for (const ControlTemplate& c : t.controls) {
    if (c.id == controlId) return &c;
  }
  return nullptr;
}

TEST(MainPageTemplate, EveryControlOnceWithinTheDialog) {
  const DialogTemplate t = MainPageTemplate();
  EXPECT_EQ(t.width, 267);
  EXPECT_EQ(t.height, 214);
  std::set<int> seen;
  for (const ControlTemplate& c : t.controls) {
    if (c.id > 0) {
      EXPECT_TRUE(seen.insert(c.id).second) << "duplicate " << c.id;
    }
    EXPECT_GE(c.rect.x, 0) << c.id;
    EXPECT_LE(c.rect.x + c.rect.width, t.width) << c.id;
    // Drop-down heights are those of their open lists.
    if (c.kind != ControlKind::DropDownList) {
      EXPECT_LE(c.rect.y + c.rect.height, t.height) << c.id;
    }
  }
  for (int expected : {1430, 1181, 1441, 1292, 1244, 1243, 1179, 1182, 1183, 1184, 1185, 1186,
                       1187, 1188, 1189, 1190, 1191, 1192, 1180, 1442, 1195, 1365, 1130, 1196,
                       1366, 1140, 1197, 1133, 1198, 1134, 1199, 1410, 1411}) {
    EXPECT_NE(FindControl(t, expected), nullptr) << expected;
  }
}

struct KindCase {
  int id;
  ControlKind kind;
  std::uint32_t style;
};

TEST(MainPageTemplate, KindsAndInitialStyles) {
  const KindCase cases[] = {
      {id::AdapterBox, ControlKind::DropDownList, 0},
      {id::ModeBox, ControlKind::DropDownList, 0},
      {id::List, ControlKind::ListView, style::SingleSelection | style::Disabled},
      {id::RefreshButton, ControlKind::Button, 0},
      {id::PanelGroup, ControlKind::GroupBox, 0},
      {id::PanelButton, ControlKind::Button, style::Hidden},
      {id::SignalBar, ControlKind::ProgressBar, 0},
      {id::QualityBar, ControlKind::ProgressBar, 0},
      {id::TxFrameLabel, ControlKind::Label, style::Hidden},
      {id::TxFrameText, ControlKind::Label, style::Hidden},
      {id::RxFrameLabel, ControlKind::Label, style::Hidden},
      {id::RxFrameText, ControlKind::Label, style::Hidden},
      {id::ActivityIcon, ControlKind::Picture, 0},
      {id::WzcBanner, ControlKind::Label, style::Hidden},
  };
  const DialogTemplate t = MainPageTemplate();
  for (const KindCase& c : cases) {
    const ControlTemplate* control = FindControl(t, c.id);
    ASSERT_NE(control, nullptr) << c.id;
    EXPECT_EQ(control->kind, c.kind) << c.id;
    EXPECT_EQ(control->style, c.style) << c.id;
  }
  EXPECT_EQ(FindControl(t, id::ActivityIcon)->icon, icon::ActivityFirst);
  EXPECT_EQ(FindControl(t, id::AppIcon)->icon, icon::App);
}

TEST(MainPageTemplate, RegisteredUnderItsNumber) {
  RegisterMainPageTemplate();
  const DialogTemplate* t = platform::window::TemplateRegistry::Instance().Find(kTemplateId);
  ASSERT_NE(t, nullptr);
  EXPECT_EQ(t->caption, u"Orvex Ventrel");
  EXPECT_EQ(t->fontName, u"Verdana");
}

}  // namespace
}  // namespace ui::main_page
