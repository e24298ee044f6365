// The station settings dialogs as real widgets, in every shipped language: each renders, is
// saved as a screenshot, and shows every visible text whole inside its control.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QComboBox>
#include <QDir>
#include <QFontMetrics>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionComboBox>
#include <functional>
#include <string>
#include <vector>

#include "platform/window/qt/dialog_window.h"
#include "platform/window/qt/qt_text.h"
#include "platform/window/qt/tests/qt_test_env.h"
#include "ui/settings/advance_setting_dlg.h"
#include "ui/settings/basic_setting_dlg.h"
#include "ui/settings/info_dlg.h"
#include "ui/settings/tests/settings_fixture.h"

namespace ui::settings {
namespace {

using platform::window::CommandCode;
using platform::window::ControlKind;
using platform::window::DialogWindow;

constexpr int kRender = 40002;  // posted once the dialog's loop runs

// What a visible control needs to show its text whole, in pixels (0: it shows no text): the
// text and the frame, padding, box or arrow the style draws around it.
int NeededWidth(ControlKind kind, QWidget* widget) {
  const QFontMetrics metrics(widget->font());
  const QStyle* style = widget->style();
  const int frame = 2 * style->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, widget);
  switch (kind) {
    case ControlKind::Button: {
      const QString text = static_cast<QAbstractButton*>(widget)->text();
      return text.isEmpty() ? 0
                            : metrics.horizontalAdvance(text) + frame +
                                  style->pixelMetric(QStyle::PM_ButtonMargin, nullptr, widget);
    }
    case ControlKind::CheckBox:
    case ControlKind::RadioButton:
      return static_cast<QAbstractButton*>(widget)->text().isEmpty() ? 0
                                                                      : widget->sizeHint().width();
    case ControlKind::GroupBox: {
      const QString title = static_cast<QGroupBox*>(widget)->title();
      return title.isEmpty() ? 0 : metrics.horizontalAdvance(title) + 2 * metrics.averageCharWidth();
    }
    case ControlKind::DropDownList:
    case ControlKind::ComboBox: {
      auto* combo = static_cast<QComboBox*>(widget);
      int widest = 0;
      for (int i = 0; i < combo->count(); ++i) {
        widest = std::max(widest, metrics.horizontalAdvance(combo->itemText(i)));
      }
      if (widest == 0) return 0;
      QStyleOptionComboBox option;
      option.initFrom(combo);
      option.editable = combo->isEditable();
      return style->sizeFromContents(QStyle::CT_ComboBox, &option, QSize(widest, metrics.height()),
                                     combo)
          .width();
    }
    case ControlKind::Label:
    case ControlKind::Edit:
    case ControlKind::ListView:
    case ControlKind::TrackBar:
    case ControlKind::ProgressBar:
    case ControlKind::Picture:
      return 0;
  }
  return 0;
}

// Every visible text must show whole: one line within the width, and a label's wrapped lines
// within its height.
void ExpectTextsFit(const platform::window::Dialog& dialog, DialogWindow& window) {
  for (const auto& control : dialog.Controls()) {
    if (control.id <= 0 || !control.visible) continue;
    QWidget* widget = window.Widget(control.id);
    ASSERT_NE(widget, nullptr);
    if (control.kind == ControlKind::Label) {
      auto* label = static_cast<QLabel*>(widget);
      if (label->text().isEmpty()) continue;
      EXPECT_LE(label->heightForWidth(label->width()), label->height())
          << "label " << control.id << " \"" << label->text().toStdString() << "\" wraps";
      continue;
    }
    EXPECT_LE(NeededWidth(control.kind, widget), widget->width())
        << "control " << control.id << " \"" << platform::ToUtf8(control.text) << "\"";
  }
}

// A dialog of the program that, once its loop runs, renders itself and ends.
template <class DialogClass>
class Rendered final : public DialogClass {
 public:
  Rendered(const StationSettingsServices& services, int opener, std::function<void()> render)
      : DialogClass(services, opener), render_(std::move(render)) {}
  bool OnInitDialog() override {
    DialogClass::OnInitDialog();
    this->PostCommand(kRender);
    return true;
  }
  void OnCommand(int id, CommandCode code) override {
    if (id == kRender && code == CommandCode::Menu) {
      render_();
      this->EndDialog(0);
      return;
    }
    DialogClass::OnCommand(id, code);
  }

 private:
  std::function<void()> render_;
};

class SettingsRenderTest : public testing::SettingsDialogTest {
 protected:
  void SetUp() override {
    SettingsDialogTest::SetUp();
    platform::window::SetCurrentBackend(&platform::window::testing::TestBackend());
    // A dual-band adapter with everything a driver can report, so every box has its entries.
    radio.bandCapability.store(config::band_capability::Both);
    driver.Answer("QueryWL_SupportChannel", 0);
    driver.AnswerBytes("QueryWL_SupportChannel", {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 0xFF, 36, 40});
    driver.Answer("QueryWL_UISupportTxRate", 0);
    driver.AnswerBytes("QueryWL_UISupportTxRate", {0x82, 0x84, 0x8B, 0x96, 0x0C, 0x12, 0x6C});
    driver.Answer("QueryWL_DriverVersion", 0x0203A51B);
    driver.Answer("GetNICAdapterMAC", 0);
    driver.AnswerBytes("GetNICAdapterMAC", {0x02, 0x5A, 0x71, 0x00, 0x00, 0x01});
    driver.Answer("QueryWL_PSMode", 0);
    driver.Answer("QueryWL_FragmentationThreshold", 2346);
    driver.Answer("QueryWL_RTS_CTS_Threshold", 500);
    driver.AnswerDriverInfo({0, 0, 0, 4, {}});
    Store({{config::key::NetworkType, u"1"}, {config::key::SSID, u"Home-WPA2"},
           {config::key::AuthenticationMode, u"1"}, {config::key::WEPStatus, u"0"}});
  }
  void TearDown() override {
    // The fixture's headless session set its backend last; it stays the one of this test.
    platform::window::SetCurrentBackend(nullptr);
  }

  template <class DialogClass>
  void Render(int templateId, const std::string& name) {
    for (int languageIndex : {1, 2}) {
      ASSERT_EQ(language.SelectLanguage(languageIndex), 1);
      const std::string file = name + "_" + (languageIndex == 1 ? "en" : "de") + ".png";
      SCOPED_TRACE(file);
      bool rendered = false;
      Rendered<DialogClass>* shown = nullptr;
      Rendered<DialogClass> dialog(Services(), dialog_number::Main, [&] {
        DialogWindow& window = *platform::window::testing::TestBackend().WindowOf(*shown);
        ExpectTextsFit(*shown, window);
        const QString folder = QStringLiteral(VZ_SCREENSHOT_DIR);
        ASSERT_TRUE(QDir().mkpath(folder));
        EXPECT_TRUE(window.grab().toImage().save(folder + "/" + QString::fromStdString(file)));
        rendered = true;
      });
      shown = &dialog;
      EXPECT_EQ(dialog.TemplateId(), templateId);
      dialog.DoModal();
      EXPECT_TRUE(rendered);
    }
  }
};

TEST_F(SettingsRenderTest, MoreSettings) { Render<CBasicSettingDlg>(130, "more_settings"); }
TEST_F(SettingsRenderTest, Advanced) { Render<CAdvanceSettingDlg>(159, "advanced"); }
TEST_F(SettingsRenderTest, Information) { Render<CInfoDlg>(161, "information"); }

}  // namespace
}  // namespace ui::settings
