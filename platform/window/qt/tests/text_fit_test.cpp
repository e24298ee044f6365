// The text-fit measure against real widgets: short texts fit, texts that the widget would cut
// (too wide for one line, or wrapped into more lines than a label has) do not.
#include "platform/window/qt/text_fit.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/window/qt/dialog_window.h"
#include "platform/window/qt/tests/qt_test_env.h"

namespace platform::window {
namespace {

enum : int { kTemplate = 9201, kLabel = 100, kTallLabel, kButton, kCheck, kRadio, kGroup, kDrop, kEdit };
constexpr int kMeasure = 40002;

ControlTemplate Row(int id, ControlKind kind, DialogRect rect) {
  ControlTemplate row;
  row.id = id;
  row.kind = kind;
  row.rect = rect;
  return row;
}

class MeasuringDialog : public Dialog {
 public:
  MeasuringDialog() : Dialog(kTemplate) {}
  std::function<void(DialogWindow&)> measure;
  bool OnInitDialog() override {
    PostCommand(kMeasure);
    return true;
  }
  void OnCommand(int id, CommandCode code) override {
    if (code == CommandCode::Menu && id == kMeasure) {
      measure(*testing::TestBackend().WindowOf(*this));
      EndDialog(IdOk);
      return;
    }
    Dialog::OnCommand(id, code);
  }
};

struct FitCase {
  int id;
  ControlKind kind;
  std::u16string text;
  bool fits;
};

TEST(TextFit, ShortTextsFitAndCutOnesDoNot) {
  DialogTemplate tmpl;
  tmpl.id = kTemplate;
  tmpl.width = 200;
  tmpl.height = 120;
  tmpl.controls = {
      Row(kLabel, ControlKind::Label, {4, 4, 40, 8}),
      Row(kTallLabel, ControlKind::Label, {50, 4, 40, 16}),
      Row(kButton, ControlKind::Button, {4, 24, 64, 14}),
      Row(kCheck, ControlKind::CheckBox, {4, 42, 60, 10}),
      Row(kRadio, ControlKind::RadioButton, {70, 42, 60, 10}),
      Row(kGroup, ControlKind::GroupBox, {4, 56, 80, 40}),
      Row(kDrop, ControlKind::DropDownList, {100, 4, 56, 40}),
      Row(kEdit, ControlKind::Edit, {100, 24, 30, 12}),
  };
  TemplateRegistry::Instance().Add(tmpl);

  const FitCase cases[] = {
      {kLabel, ControlKind::Label, u"Kanal:", true},
      {kLabel, ControlKind::Label, u"Verschl\u00FCsselung:", false},  // one word, too wide
      {kLabel, ControlKind::Label, u"Gesendete Rahmen:", false},      // wraps to two lines
      {kTallLabel, ControlKind::Label, u"Gesendete Rahmen:", true},   // which this one has
      {kLabel, ControlKind::Label, u"&&&&&&&&", true},                // "&&" shows as one
      {kButton, ControlKind::Button, u"Refresh", true},
      {kButton, ControlKind::Button, u"Weitere Einstellungen...", false},
      {kCheck, ControlKind::CheckBox, u"Hide", true},
      {kCheck, ControlKind::CheckBox, u"Schl\u00FCssel verbergen", false},
      {kRadio, ControlKind::RadioButton, u"64 Bit", true},
      {kRadio, ControlKind::RadioButton, u"Gemeinsamer Schl\u00FCssel", false},
      {kGroup, ControlKind::GroupBox, u"Security", true},
      {kGroup, ControlKind::GroupBox, u"Sicherheitseinstellungen des Netzes", false},
      {kDrop, ControlKind::DropDownList, u"Station", true},
      {kDrop, ControlKind::DropDownList, u"Zugangspunkt-Modus", false},
      {kEdit, ControlKind::Edit, u"typed texts are the user's own and never measured", true},
  };
  MeasuringDialog dialog;
  dialog.measure = [&](DialogWindow& window) {
    for (const FitCase& c : cases) {
      const TextRoom room = MeasureText(*window.Widget(c.id), c.kind, c.text);
      EXPECT_EQ(room.Fits(), c.fits)
          << "control " << c.id << " text " << QString::fromStdU16String(c.text).toStdString()
          << ": needs " << room.needed.width() << "x" << room.needed.height() << ", has "
          << room.available.width() << "x" << room.available.height();
    }
  };
  EXPECT_EQ(dialog.DoModal(), IdOk);
}

}  // namespace
}  // namespace platform::window
