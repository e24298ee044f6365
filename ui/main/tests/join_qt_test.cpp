// Joining through real widgets on the Qt backend (offscreen) and the simulated adapter library:
// the WEP network of the built-in world double-clicked in the list, the prompt answered, the key
// typed into the WEP key dialog; and the three security dialogs rendered in every shipped
// language, saved as screenshots for a person to look at.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QImage>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <functional>
#include <string>

#include "adapter/testing/simulated_adapter.h"
#include "platform/registry/tests/temp_dir.h"
#include "platform/window/qt/dialog_window.h"
#include "platform/window/qt/tests/qt_test_env.h"
#include "security/testing/recording_supplicant.h"
#include "ui/main/main_page_dlg.h"
#include "ui/main/main_page_template.h"
#include "ui/main/tests/main_page_fixture.h"
#include "ui/security/dot1x_setting_dlg.h"
#include "ui/security/security_dialog_ids.h"
#include "ui/security/wep_info_dlg.h"
#include "ui/security/wep_setting_dlg.h"

namespace ui {
namespace {

using platform::window::Dialog;
using platform::window::DialogWindow;
using platform::window::testing::TestBackend;
namespace id = main_page::id;
namespace wep_id = security_dialogs::wep_id;

const QString kScreenshots = QStringLiteral(VZ_SCREENSHOT_DIR);

// Runs `action` once `ready` holds, checking every few milliseconds while Qt runs its loops
// (a modal box or dialog runs its own). The check goes with `owner`.
void When(QObject& owner, std::function<bool()> ready, std::function<void()> action) {
  auto* timer = new QTimer(&owner);
  auto tries = std::make_shared<int>(0);
  QObject::connect(timer, &QTimer::timeout, [timer, tries, ready, action] {
    if (!ready()) {
      if (++*tries < 1000) return;
      ADD_FAILURE() << "the awaited window never appeared";
    } else {
      action();
    }
    timer->stop();
    timer->deleteLater();
  });
  timer->start(5);
}

// The innermost open dialog when it is of `templateId` and shown.
DialogWindow* Innermost(int templateId) {
  const auto& open = TestBackend().OpenDialogs();
  if (open.empty() || open.back()->TemplateId() != templateId) return nullptr;
  DialogWindow* window = TestBackend().WindowOf(*open.back());
  return window != nullptr && window->isVisible() ? window : nullptr;
}

void Click(DialogWindow& window, int control) {
  QTest::mouseClick(window.Widget(control), Qt::LeftButton);
}

void Save(QWidget& window, const QString& name) {
  ASSERT_TRUE(QDir().mkpath(kScreenshots));
  const QImage image = window.grab().toImage();
  ASSERT_FALSE(image.isNull());
  EXPECT_TRUE(image.save(kScreenshots + QStringLiteral("/") + name + QStringLiteral(".png")));
}

std::filesystem::path BinDir() {
  const char* bin = std::getenv("VZ_BIN_DIR");
  return bin != nullptr ? bin : "bin";
}

TEST(JoinQt, AWepNetworkIsJoinedThroughTheWidgets) {
  main_page::RegisterMainPageTemplate();
  platform::testing::TempDir dir;
  platform::VirtualClock clock;
  adapter::testing::SimulatedAdapter simulated =
      adapter::testing::OpenSimulatedAdapter(BinDir(), dir.path(), {}, clock);
  ASSERT_EQ(simulated.error, "");
  platform::OpenRegistryResult registry = platform::OpenSqliteRegistry(dir.path());
  ASSERT_NE(registry.registry, nullptr);
  config::SettingStore store(*registry.registry);
  adapter::CurrentAdapter current;
  config::RadioState radio;
  app::ProductConfig product;
  product.matchingDeviceIds[0] = testing::kUsbFamilyId;
  product.wpaMode = product.wpa2Mode = product.rc4WepSupport = product.enableWep256 = 1;
  // The test ticks the window itself, on virtual time; the real timer never comes.
  product.mainPageUpdateTimeMs = 3'600'000;
  testing::RecordingTray tray;
  config::RecordingSupplicantControl supplicant;
  lang::CMultiLanguage language;
  ASSERT_EQ(language.LoadLanguageFile(BinDir() / "QVMLu.INI", lang::kIndexSection), 1);
  DialogChain chain;
  bool startHidden = false;
  std::unique_ptr<platform::ChildProcess> bluetooth;
  MainWindowServices services{store, *simulated.library, current,  radio, clock,       product,
                              tray,  supplicant,         language, chain, startHidden, bluetooth};
  CMainPageDlg page(services);
  auto tick = [&](int count) {
    for (int i = 0; i < count; ++i) {
      clock.Advance(std::chrono::milliseconds(1000));
      page.OnTimer(main_page::kRefreshTimer);
    }
  };

  bool typed = false;
  QObject checks;
  // The steps run inside the window's loop, which ends after them whatever they found.
  auto steps = [&] {
    tick(6);
    DialogWindow* main = TestBackend().WindowOf(page);
    ASSERT_NE(main, nullptr);
    auto* list = qobject_cast<QTreeWidget*>(main->Widget(id::List));
    ASSERT_NE(list, nullptr);
    ASSERT_GT(list->topLevelItemCount(), 1);
    ASSERT_EQ(list->topLevelItem(1)->text(0), QStringLiteral("Lab-WEP64"));

    When(
        checks,
        [] { return qobject_cast<QMessageBox*>(QApplication::activeModalWidget()) != nullptr; },
        [] {
          auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
          EXPECT_EQ(box->windowTitle(), QStringLiteral("Use Previous WEP Setting"));
          box->button(QMessageBox::No)->click();
        });
    When(
        checks, [] { return Innermost(security_dialogs::wep_template::Id) != nullptr; },
        [&] {
          DialogWindow& wep = *Innermost(security_dialogs::wep_template::Id);
          Click(wep, wep_id::ChangeApply);
          // The box is full of the mask: select it all and type over it.
          QTest::keyClick(wep.Widget(wep_id::Keys[0]), Qt::Key_A, Qt::ControlModifier);
          QTest::keyClicks(wep.Widget(wep_id::Keys[0]), QStringLiteral("1a2b3c4d5e"));
          auto* key = qobject_cast<QLineEdit*>(wep.Widget(wep_id::Keys[0]));
          EXPECT_EQ(key->echoMode(), QLineEdit::Password);
          EXPECT_EQ(key->text(), QStringLiteral("1a2b3c4d5e"));
          Save(wep, QStringLiteral("join_wep_key_typed"));
          Click(wep, wep_id::ChangeApply);
          typed = true;
          wep.close();
        });
    const QRect row = list->visualItemRect(list->topLevelItem(1));
    // A double click is two presses, the second reported as a double click.
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, row.center());
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, row.center());
    EXPECT_TRUE(typed);

    tick(5);
    EXPECT_EQ(page.GetText(id::PanelValue3), u"Lab-WEP64");
    EXPECT_EQ(page.GetText(id::LinkStatusText).substr(0, 26), u"Connected to Access Point.");
    EXPECT_NE(page.GetText(id::RxFrameText), u"0");
    Save(*main, QStringLiteral("join_wep_connected"));
  };
  QTimer::singleShot(0, [&] {
    steps();
    page.EndDialog(0);
  });
  page.DoModal();
  EXPECT_EQ(store.ReadSettingString(u"WEPKey64_0"), u"1A 2B 3C 4D 5E");
}

// Every security dialog in editing state, in every shipped language.
TEST(JoinQt, SecurityDialogsInEveryLanguage) {
  lang::CMultiLanguage language;
  ASSERT_EQ(language.LoadLanguageFile(BinDir() / "QVMLu.INI", lang::kIndexSection), 1);
  std::unique_ptr<platform::MemoryRegistry> registry = platform::CreateMemoryRegistry();
  config::SettingStore store(*registry);
  adapter::testing::RecordingAdapterLibrary driver;
  adapter::AdapterHandle adapter{};
  config::RadioState radio;
  config::RecordingSupplicantControl supplicant;
  security::testing::RecordingSupplicantLibrary certificates;
  DialogChain chain;
  const SecurityDialogServices services{
      {driver, adapter, store, radio}, supplicant, language, chain, {1, 1}, &certificates, {}};
  (void)store.WriteSetting(u"AuthenticationMode", u"3");

  for (int index = 1; index <= language.Count(); ++index) {
    ASSERT_EQ(language.SelectLanguage(index), 1);
    const QString suffix = QStringLiteral("_%1").arg(index == 1 ? "en" : index == 2 ? "de" : "x");
    auto shoot = [&](Dialog& dialog, int changeButton, const QString& name) {
      QTimer::singleShot(0, [&dialog, changeButton, name] {
        if (DialogWindow* window = TestBackend().WindowOf(dialog)) {
          Click(*window, changeButton);
          Save(*window, name);
        } else {
          ADD_FAILURE() << "no window for " << name.toStdString();
        }
        dialog.EndDialog(0);
      });
      (void)dialog.DoModal();
    };
    CWepSettingDlg wep(services, dialog_number::MoreSettings);
    shoot(wep, wep_id::ChangeApply, QStringLiteral("wep_key_setting") + suffix);
    CDot1xSettingDlg wpa(services, dialog_number::MoreSettings);
    shoot(wpa, security_dialogs::dot1x_id::ChangeApply, QStringLiteral("wpa_setting") + suffix);
    CWepInfoDlg info(services, dialog_number::WepKeys);
    QTimer::singleShot(0, [&] {
      if (DialogWindow* window = TestBackend().WindowOf(info)) {
        Save(*window, QStringLiteral("wep_key_information") + suffix);
      }
      info.EndDialog(0);
    });
    (void)info.DoModal();
  }
}

}  // namespace
}  // namespace ui
