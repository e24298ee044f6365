// Message boxes, the tray icon, the icon resources and the display check.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QImage>
#include <QMenu>
#include <QMessageBox>
#include <QTest>
#include <QTimer>
#include <cstdlib>
#include <optional>
#include <string>

#include "platform/window/qt/icons.h"
#include "platform/window/qt/qt_factory.h"
#include "platform/window/qt/qt_tray.h"
#include "platform/window/qt/tests/qt_test_env.h"

namespace platform::window {
namespace {

using testing::TestBackend;

struct SeenBox {
  QString text, title;
  QMessageBox::Icon icon = QMessageBox::NoIcon;
  Qt::TextFormat format = Qt::AutoText;
  int buttons = 0;
};

// Answers the next message box by pressing `answer` once it is up; records what it showed.
void AnswerNextBox(QMessageBox::StandardButton answer, SeenBox& seen) {
  auto* poll = new QTimer;
  QObject::connect(poll, &QTimer::timeout, poll, [poll, answer, &seen] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (!box) return;
    seen = {box->text(), box->windowTitle(), box->icon(), box->textFormat(),
            static_cast<int>(box->buttons().size())};
    box->button(answer)->click();
    poll->deleteLater();
  });
  poll->start(5);
}

TEST(QtMessageBoxTest, ShowsTheTextAndReturnsTheAnswer) {
  struct Case {
    MessageButtons buttons;
    MessageIcon icon;
    QMessageBox::StandardButton press;
    QMessageBox::Icon shownIcon;
    int shownButtons;
    MessageResult result;
  };
  const Case cases[] = {
      {MessageButtons::Ok, MessageIcon::Information, QMessageBox::Ok, QMessageBox::Information, 1,
       MessageResult::Ok},
      {MessageButtons::YesNo, MessageIcon::Question, QMessageBox::Yes, QMessageBox::Question, 2,
       MessageResult::Yes},
      {MessageButtons::YesNo, MessageIcon::Question, QMessageBox::No, QMessageBox::Question, 2,
       MessageResult::No},
      {MessageButtons::Ok, MessageIcon::Exclamation, QMessageBox::Ok, QMessageBox::Warning, 1,
       MessageResult::Ok},
  };
  for (const Case& c : cases) {
    SeenBox seen;
    AnswerNextBox(c.press, seen);
    const MessageResult result =
        TestBackend().ShowMessageBox(nullptr, u"Profile <b>\"home\"</b> not found.", u"Profiles",
                                     c.buttons, c.icon);
    EXPECT_EQ(result, c.result);
    EXPECT_EQ(seen.text, QStringLiteral("Profile <b>\"home\"</b> not found."));
    EXPECT_EQ(seen.format, Qt::PlainText);
    EXPECT_EQ(seen.title, QStringLiteral("Profiles"));
    EXPECT_EQ(seen.icon, c.shownIcon);
    EXPECT_EQ(seen.buttons, c.shownButtons);
  }
}

class RecordingListener : public TrayListener {
 public:
  void OnTrayMouse(TrayMouse event) override { events.push_back(event); }
  std::vector<TrayMouse> events;
};

TEST(QtTrayTest, WithoutANotificationAreaEveryCallFails) {
  QtTray tray;
  if (tray.Supported()) GTEST_SKIP() << "this desktop has a notification area";
  RecordingListener listener;
  EXPECT_FALSE(tray.Add(189, u"tip", &listener));
  EXPECT_FALSE(tray.SetIcon(193));
  EXPECT_FALSE(tray.SetTip(u"tip"));
  EXPECT_FALSE(tray.Remove());
  EXPECT_EQ(tray.TrackMenu({{32771, u"Open"}, {32773, u"Exit"}}, 32771), 0);
  EXPECT_FALSE(TestBackend().TrayIcon().Supported());
}

TEST(QtTrayTest, MenuShowsTheEntriesWithTheDefaultInBoldAndReturnsTheChoice) {
  const std::vector<TrayMenuItem> items = {
      {32771, u"Open Utility Window"}, {32772, u"Use the system's wireless service"},
      {32773, u"Exit"}};
  struct Case {
    int choose;  // index of the entry to pick, -1 to dismiss the menu
    int result;
  };
  for (const Case c : {Case{2, 32773}, Case{0, 32771}, Case{-1, 0}}) {
    QStringList texts;
    std::vector<bool> bold;
    QTimer::singleShot(10, [&] {
      auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
      ASSERT_NE(menu, nullptr);
      for (QAction* action : menu->actions()) {
        texts.push_back(action->text());
        bold.push_back(action->font().bold());
      }
      if (c.choose < 0) {
        QTest::keyClick(menu, Qt::Key_Escape);
      } else {
        const QRect entry = menu->actionGeometry(menu->actions().at(c.choose));
        QTest::mouseClick(menu, Qt::LeftButton, {}, entry.center());
      }
    });
    EXPECT_EQ(PopupMenu(items, 32771, QPoint(10, 10)), c.result);
    EXPECT_EQ(texts, (QStringList{"Open Utility Window", "Use the system's wireless service",
                                  "Exit"}));
    EXPECT_EQ(bold, (std::vector<bool>{true, false, false}));
  }
}

TEST(QtTrayTest, ActivationsMapToTheShellsMouseEvents) {
  struct Case {
    QSystemTrayIcon::ActivationReason reason;
    std::vector<TrayMouse> events;
  };
  const Case cases[] = {
      {QSystemTrayIcon::Context, {TrayMouse::RightUp}},
      // The release that follows a double click opens the window; Qt reports none.
      {QSystemTrayIcon::DoubleClick, {TrayMouse::LeftDoubleClick, TrayMouse::LeftUp}},
      {QSystemTrayIcon::Trigger, {}},  // a single click does nothing
      {QSystemTrayIcon::MiddleClick, {}},
  };
  for (const Case& c : cases) EXPECT_EQ(TrayMouseEvents(c.reason), c.events) << c.reason;
}

TEST(QtIconsTest, EveryIconResourceIsDrawnAndDistinct) {
  const int numbers[] = {128, 174, 175, 176, 177, 178, 189, 192, 193};
  std::vector<QImage> images;
  for (const int number : numbers) {
    const QPixmap pixmap = IconPixmap(number, 32);
    ASSERT_FALSE(pixmap.isNull()) << number;
    const QImage image = pixmap.toImage();
    EXPECT_EQ(image.size(), QSize(32, 32));
    int opaque = 0;
    for (int y = 0; y < 32; ++y) {
      for (int x = 0; x < 32; ++x) opaque += qAlpha(image.pixel(x, y)) > 200;
    }
    EXPECT_GT(opaque, 100) << number;  // a picture, not a blank square
    for (std::size_t i = 0; i < images.size(); ++i) {
      EXPECT_NE(image, images[i]) << number << " looks like " << numbers[i];
    }
    images.push_back(image);
    EXPECT_FALSE(IconResource(number).isNull()) << number;
  }
  for (const int unknown : {0, -1, 129, 190, 32771}) {
    EXPECT_TRUE(IconPixmap(unknown, 32).isNull()) << unknown;
    EXPECT_TRUE(IconResource(unknown).isNull()) << unknown;
  }
}

// Sets environment variables for one case and puts the old values back.
class ScopedEnv {
 public:
  ScopedEnv(const char* name, const char* value) : name_(name) {
    if (const char* old = std::getenv(name)) old_ = old;
    if (value) {
      setenv(name, value, 1);
    } else {
      unsetenv(name);
    }
  }
  ~ScopedEnv() {
    if (old_) {
      setenv(name_, old_->c_str(), 1);
    } else {
      unsetenv(name_);
    }
  }

 private:
  const char* name_;
  std::optional<std::string> old_;
};

TEST(QtDisplayTest, DisplayIsAvailableOnlyWhereQtCanOpenOne) {
  struct Case {
    const char* platform;
    const char* display;
    const char* wayland;
    bool available;
  };
  const Case cases[] = {
      {nullptr, ":0", nullptr, true},       {nullptr, nullptr, "wayland-0", true},
      {nullptr, nullptr, nullptr, false},   {nullptr, "", "", false},
      {"offscreen", nullptr, nullptr, true}, {"xcb", nullptr, nullptr, false},
      {"xcb", ":1", nullptr, true},         {"wayland", ":0", nullptr, false},
      {"wayland;xcb", ":0", nullptr, true}, {"xcb:nograb", nullptr, nullptr, false},
      {"wayland-egl", nullptr, "wayland-0", true},
  };
  for (const Case& c : cases) {
    const ScopedEnv platform("QT_QPA_PLATFORM", c.platform);
    const ScopedEnv display("DISPLAY", c.display);
    const ScopedEnv wayland("WAYLAND_DISPLAY", c.wayland);
    EXPECT_EQ(QtDisplayAvailable(), c.available)
        << (c.platform ? c.platform : "-") << " " << (c.display ? c.display : "-") << " "
        << (c.wayland ? c.wayland : "-");
  }
}

}  // namespace
}  // namespace platform::window
