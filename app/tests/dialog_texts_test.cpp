// Every dialog template of the program, built by the Qt backend offscreen in every language of
// the shipped language file and in the built-in texts: each language text a control may show
// must fit the control with the font the dialog really uses. A screenshot of each dialog with
// its widest texts lands in build/tests/screenshots/texts/ for a person to look at.
#include <gtest/gtest.h>

#include <QDir>
#include <QImage>
#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "lang/multi_language.h"
#include "platform/text/text.h"
#include "platform/window/qt/dialog_window.h"
#include "platform/window/qt/qt_backend.h"
#include "platform/window/qt/text_fit.h"

namespace {

using namespace platform::window;

constexpr int kMeasure = 40003;  // posted once the dialog's loop runs

int g_argc = 1;
char g_program[] = "dialog_texts_test";
char* g_argv[] = {g_program, nullptr};

struct Language {
  std::string name;
  const lang::CMultiLanguage* table;
};

// The texts of one declared language text: the text, or every entry of a value list.
std::vector<std::u16string> Resolve(const lang::CMultiLanguage& language, const LanguageText& text) {
  if (text.listFirst < 0) return {language.LoadLangString(text.key, text.fallback)};
  return language.LoadLangList(lang::TextList{text.key, text.listFirst});
}

bool ShowsText(ControlKind kind) {
  switch (kind) {
    case ControlKind::Label:
    case ControlKind::Button:
    case ControlKind::CheckBox:
    case ControlKind::RadioButton:
    case ControlKind::GroupBox:
      return true;
    case ControlKind::Edit:
    case ControlKind::DropDownList:
    case ControlKind::ComboBox:
    case ControlKind::ListView:
    case ControlKind::TrackBar:
    case ControlKind::ProgressBar:
    case ControlKind::Picture:
      return false;
  }
  return false;
}

// Measures every declared text of one template in one language, then shows each control's
// widest text and takes the screenshot.
class CheckedDialog : public Dialog {
 public:
  CheckedDialog(const DialogTemplate& tmpl, const Language& language, QtBackend& backend)
      : Dialog(tmpl.id), tmpl_(tmpl), language_(language), backend_(backend) {}

  bool OnInitDialog() override {
    SetCaption(tmpl_.caption);
    PostCommand(kMeasure);
    return true;
  }
  void OnCommand(int id, CommandCode code) override {
    if (code != CommandCode::Menu || id != kMeasure) return Dialog::OnCommand(id, code);
    DialogWindow& window = *backend_.WindowOf(*this);
    for (const ControlTemplate& row : tmpl_.controls) {
      if (row.languageTexts.empty() || row.id <= 0) continue;
      Check(window, row);
    }
    Screenshot(window);
    EndDialog(IdOk);
  }

 private:
  void Check(DialogWindow& window, const ControlTemplate& row) {
    std::vector<std::u16string> all;
    std::u16string widest;
    int widestWidth = -1;
    for (const LanguageText& declared : row.languageTexts) {
      for (const std::u16string& text : Resolve(*language_.table, declared)) {
        const TextRoom room = MeasureText(*window.Widget(row.id), row.kind, text);
        EXPECT_TRUE(room.Fits())
            << "dialog " << tmpl_.id << ", control " << row.id << ", " << language_.name << ": "
            << platform::ToUtf8(declared.key) << " \"" << platform::ToUtf8(text) << "\" needs "
            << room.needed.width() << "x" << room.needed.height() << " pixels, the control has "
            << room.available.width() << "x" << room.available.height();
        if (room.needed.width() > widestWidth) {
          widestWidth = room.needed.width();
          widest = text;
        }
        all.push_back(text);
      }
    }
    Show(row.id, true);
    if (row.kind == ControlKind::DropDownList || row.kind == ControlKind::ComboBox) {
      ComboReset(row.id);
      for (const std::u16string& text : all) ComboAdd(row.id, text);
      ComboSelect(row.id, static_cast<int>(std::find(all.begin(), all.end(), widest) - all.begin()));
    } else {
      SetText(row.id, widest);
    }
  }

  void Screenshot(DialogWindow& window) {
    const QString folder = QStringLiteral(VZ_SCREENSHOT_DIR "/texts");
    ASSERT_TRUE(QDir().mkpath(folder));
    const QImage image = window.grab().toImage();
    EXPECT_TRUE(image.save(
        folder + QStringLiteral("/dialog_%1_%2.png").arg(tmpl_.id).arg(QString::fromStdString(language_.name))));
  }

  const DialogTemplate& tmpl_;
  const Language& language_;
  QtBackend& backend_;
};

class DialogTexts : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    // Never on a real desktop: the offscreen platform draws with the same fonts and styles.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    backend_ = new QtBackend(g_argc, g_argv);
    SetCurrentBackend(backend_);
  }
  static void TearDownTestSuite() {
    SetCurrentBackend(nullptr);
    delete backend_;
    backend_ = nullptr;
  }
  static QtBackend* backend_;
};

QtBackend* DialogTexts::backend_ = nullptr;

TEST_F(DialogTexts, EveryTextFitsItsControlInEveryShippedLanguage) {
  const char* binDir = std::getenv("VZ_BIN_DIR");
  ASSERT_NE(binDir, nullptr) << "VZ_BIN_DIR names the program folder with the language files";
  lang::CMultiLanguage shipped;
  ASSERT_EQ(shipped.LoadLanguageFile(std::filesystem::path(binDir) / "QVMLu.INI",
                                     lang::kIndexSection),
            1);
  const int count = shipped.Count();
  std::vector<std::unique_ptr<lang::CMultiLanguage>> tables;
  std::vector<Language> languages;
  const auto builtIn = std::make_unique<lang::CMultiLanguage>();  // no file: the built-in texts
  languages.push_back({"built-in", builtIn.get()});
  for (int i = 1; i <= count; ++i) {
    auto table = std::make_unique<lang::CMultiLanguage>();
    ASSERT_EQ(table->LoadLanguageFile(shipped.FilePath(), lang::kIndexSection), 1);
    ASSERT_EQ(table->SelectLanguage(i), 1);
    languages.push_back({platform::ToUtf8(table->CurrentSection()), table.get()});
    tables.push_back(std::move(table));
  }

  ASSERT_FALSE(ProgramTemplates().empty());
  for (const TemplateFactory factory : ProgramTemplates()) {
    const DialogTemplate tmpl = factory();
    SCOPED_TRACE("dialog " + std::to_string(tmpl.id));
    TemplateRegistry::Instance().Add(tmpl);
    // A text written into the template without its language key would escape the check.
    for (const ControlTemplate& row : tmpl.controls) {
      if (ShowsText(row.kind) && !row.text.empty()) {
        EXPECT_FALSE(row.languageTexts.empty())
            << "control " << row.id << " shows \"" << platform::ToUtf8(row.text)
            << "\" but declares no language text";
      }
    }
    for (const Language& language : languages) {
      CheckedDialog dialog(tmpl, language, *backend_);
      EXPECT_EQ(dialog.DoModal(), IdOk);
    }
  }
}

}  // namespace
