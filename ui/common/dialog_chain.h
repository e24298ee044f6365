#pragma once
// The chain of open dialogs. Each dialog has a number (0 main window, 1 More Settings, 2 advanced
// settings, 3 WEP keys, 4 information, 5 access point settings, 6 MAC address filter, 7 WPA,
// 8 WEP key information); while open it is registered under its number with the number of the
// dialog that opened it, and the active dialog number names the innermost one. Closing the chain
// walks from the innermost dialog outward and ends them all, down to the main window.
//
// Owned by the program and handed to every dialog; user-interface thread only.

#include <array>

#include "platform/window/dialog.h"

namespace ui {

namespace dialog_number {
inline constexpr int Main = 0;
inline constexpr int MoreSettings = 1;
inline constexpr int Advanced = 2;
inline constexpr int WepKeys = 3;
inline constexpr int Information = 4;
inline constexpr int AccessPoint = 5;
inline constexpr int MacFilter = 6;
inline constexpr int Wpa = 7;  // never registered: the walk stops there
inline constexpr int WepKeyInformation = 8;
}  // namespace dialog_number

enum class ChainClose {
  End,   // end every dialog and the main window (result 0)
  Hide,  // end every dialog, hide the main window and make it the active one again
};

class DialogChain {
 public:
  static constexpr int kMaxNumber = 8;

  // While a Registration lives, `dialog` is registered under `number` with its opener and is
  // the active dialog; when it goes, the entry is cleared and the opener is active again.
  class Registration {
   public:
    Registration(DialogChain& chain, int number, platform::window::Dialog& dialog, int opener);
    ~Registration();
    Registration(const Registration&) = delete;
    Registration& operator=(const Registration&) = delete;

   private:
    DialogChain& chain_;
    int number_;
    int opener_;
  };

  // The main window is number 0; it stays registered for the program's life.
  void SetMainWindow(platform::window::Dialog* mainWindow) { main_ = mainWindow; }
  int ActiveDialogNumber() const { return active_; }
  void SetActiveDialogNumber(int number) { active_ = number; }
  // The dialog registered under `number`, null when none.
  platform::window::Dialog* Registered(int number) const;

  void CloseDialogChain(ChainClose variant);

 private:
  struct Entry {
    platform::window::Dialog* dialog = nullptr;
    int opener = dialog_number::Main;
  };
  static bool Registrable(int number);

  platform::window::Dialog* main_ = nullptr;
  int active_ = dialog_number::Main;
  std::array<Entry, kMaxNumber + 1> entries_{};
};

}  // namespace ui
