#include "platform/window/qt/qt_backend.h"

#include <QMessageBox>
#include <algorithm>

#include "platform/window/qt/dialog_window.h"
#include "platform/window/qt/qt_text.h"

namespace platform::window {
namespace {

QMessageBox::Icon ToQIcon(MessageIcon icon) {
  switch (icon) {
    case MessageIcon::None:
      return QMessageBox::NoIcon;
    case MessageIcon::Question:
      return QMessageBox::Question;
    case MessageIcon::Information:
      return QMessageBox::Information;
    case MessageIcon::Exclamation:
      return QMessageBox::Warning;
  }
  return QMessageBox::NoIcon;
}

}  // namespace

QtBackend::QtBackend(int& argc, char** argv) {
  if (!QApplication::instance()) ownApp_ = std::make_unique<QApplication>(argc, argv);
  // The main window hides behind the tray icon; hiding or closing windows never ends the
  // program, only the main dialog's end does.
  QApplication::setQuitOnLastWindowClosed(false);
}

QtBackend::~QtBackend() = default;

std::unique_ptr<DialogView> QtBackend::CreateView(Dialog& dialog) {
  const DialogTemplate* tmpl = TemplateRegistry::Instance().Find(dialog.TemplateId());
  static const DialogTemplate kEmpty;
  // A nested dialog belongs to the innermost window, so it stays on top of it.
  QWidget* parent = windows_.empty() ? nullptr : windows_.back();
  auto* window = new DialogWindow(*this, dialog, tmpl ? *tmpl : kEmpty, parent);
  return std::make_unique<QtDialogView>(window);
}

void QtBackend::RunModal(Dialog& dialog) {
  if (DialogWindow* window = WindowOf(dialog)) window->RunLoop();
}

MessageResult QtBackend::ShowMessageBox(Dialog* owner, std::u16string_view text,
                                        std::u16string_view caption, MessageButtons buttons,
                                        MessageIcon icon) {
  QMessageBox box(owner ? WindowOf(*owner) : nullptr);
  box.setTextFormat(Qt::PlainText);
  box.setText(ToQString(text));
  box.setWindowTitle(ToQString(caption));
  box.setIcon(ToQIcon(icon));
  switch (buttons) {
    case MessageButtons::Ok:
      box.setStandardButtons(QMessageBox::Ok);
      box.exec();
      return MessageResult::Ok;
    case MessageButtons::YesNo:
      box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
      box.setDefaultButton(QMessageBox::Yes);
      box.exec();
      return box.clickedButton() == box.button(QMessageBox::Yes) ? MessageResult::Yes
                                                                  : MessageResult::No;
  }
  return MessageResult::Ok;
}

void QtBackend::TimersChanged(Dialog& dialog) {
  if (DialogWindow* window = WindowOf(dialog)) window->SyncTimers();
}

void QtBackend::Post(Dialog& dialog, int command) {
  if (DialogWindow* window = WindowOf(dialog)) window->Post(command);
}

DialogWindow* QtBackend::WindowOf(const Dialog& dialog) const {
  const auto it = std::find_if(windows_.begin(), windows_.end(),
                               [&dialog](const DialogWindow* w) { return &w->Model() == &dialog; });
  return it == windows_.end() ? nullptr : *it;
}

void QtBackend::Register(DialogWindow* window) { windows_.push_back(window); }

void QtBackend::Unregister(DialogWindow* window) {
  windows_.erase(std::remove(windows_.begin(), windows_.end(), window), windows_.end());
}

void QtBackend::DialogEnded(Dialog& dialog) {
  // Any dialog may end any other (an inner handler may close the outer chain); the loop is
  // left once the running handler returns to it.
  if (DialogWindow* window = WindowOf(dialog)) window->FinishIfEnded();
}

}  // namespace platform::window
