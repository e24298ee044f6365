#include "platform/window/qt/qt_tray.h"

#include <QAction>
#include <QCursor>
#include <QFont>
#include <QMenu>

#include "platform/text/text.h"
#include "platform/window/qt/icons.h"
#include "platform/window/qt/qt_text.h"

namespace platform::window {
namespace {

// The shell's tip field holds 128 characters with the terminator.
constexpr std::size_t kTipLength = 127;

QString Tip(std::u16string_view tip) { return ToQString(platform::CutUtf16(tip, kTipLength)); }

}  // namespace

QtTray::~QtTray() = default;

bool QtTray::Supported() const { return QSystemTrayIcon::isSystemTrayAvailable(); }

bool QtTray::Add(int iconResource, std::u16string_view tip, TrayListener* listener) {
  if (!Supported()) return false;
  listener_ = listener;
  if (!icon_) {
    icon_ = std::make_unique<QSystemTrayIcon>();
    QObject::connect(icon_.get(), &QSystemTrayIcon::activated, icon_.get(),
                     [this](QSystemTrayIcon::ActivationReason reason) {
                       for (const TrayMouse event : TrayMouseEvents(reason)) {
                         if (listener_) listener_->OnTrayMouse(event);
                       }
                     });
  }
  icon_->setIcon(IconResource(iconResource));
  icon_->setToolTip(Tip(tip));
  icon_->show();
  return true;
}

bool QtTray::SetIcon(int iconResource) {
  if (!Supported() || !icon_) return false;
  icon_->setIcon(IconResource(iconResource));
  return true;
}

bool QtTray::SetTip(std::u16string_view tip) {
  if (!Supported() || !icon_) return false;
  icon_->setToolTip(Tip(tip));
  return true;
}

bool QtTray::Remove() {
  if (!Supported() || !icon_) return false;
  // Removal may come from the listener while the icon is still delivering its signal.
  icon_->hide();
  icon_.release()->deleteLater();
  return true;
}

int QtTray::TrackMenu(const std::vector<TrayMenuItem>& items, int defaultCommand) {
  if (!Supported()) return 0;
  return PopupMenu(items, defaultCommand, QCursor::pos());
}

int PopupMenu(const std::vector<TrayMenuItem>& items, int defaultCommand, QPoint at) {
  QMenu menu;
  for (const TrayMenuItem& item : items) {
    QAction* action = menu.addAction(ToQString(item.text));
    action->setData(item.command);
    if (item.command == defaultCommand) {
      QFont bold = action->font();
      bold.setBold(true);
      action->setFont(bold);
      menu.setDefaultAction(action);
    }
  }
  const QAction* chosen = menu.exec(at);
  return chosen ? chosen->data().toInt() : 0;
}

std::vector<TrayMouse> TrayMouseEvents(QSystemTrayIcon::ActivationReason reason) {
  switch (reason) {
    case QSystemTrayIcon::Context:
      return {TrayMouse::RightUp};
    case QSystemTrayIcon::DoubleClick:
      // Qt reports no release after a double click; the listener acts on that release.
      return {TrayMouse::LeftDoubleClick, TrayMouse::LeftUp};
    case QSystemTrayIcon::Trigger:
    case QSystemTrayIcon::MiddleClick:
    case QSystemTrayIcon::Unknown:
      return {};
  }
  return {};
}

}  // namespace platform::window
