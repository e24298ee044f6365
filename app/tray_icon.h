#pragma once
// The program's notification-area icon. CTrayIcon keeps what the shell needs to show it again
// (icon, tip) and does nothing while the desktop has no notification area. CConfigTrayIcon adds
// the program's mouse handling: a right click shows the three-entry menu, a double click opens
// the main window. Chosen commands go to the application's main window of that moment, as
// posted commands.
//
// Calls:
//   Create(tip, icon, id, default item, by position)   shows the icon and remembers the rest
//   AddIcon(icon)        shows it again (after RemoveIcon or a restart of the desktop shell)
//   SetIcon(icon)        changes the picture of the shown icon
//   SetTip(text)         changes the tip (cut to 127 characters)
//   RemoveIcon()         takes it out of the notification area
//   Destroy()            removes it for good; later calls do nothing

#include <array>
#include <functional>
#include <string>
#include <string_view>

#include "platform/window/backend.h"

namespace app {

// The tray menu (menu resource 173) and its commands, which the main window handles.
inline constexpr int kTrayMenuId = 173;
inline constexpr int kCommandOpenWindow = 32771;     // "Open Utility Window"
inline constexpr int kCommandServiceSwitch = 32772;  // hand the adapter to the system's service
inline constexpr int kCommandExit = 32773;           // "Exit VUZideza"
inline constexpr std::array<int, 3> kTrayMenuCommands = {kCommandOpenWindow, kCommandServiceSwitch,
                                                         kCommandExit};
// The icon shown at start-up.
inline constexpr int kStartupTrayIcon = 189;

class CTrayIcon {
 public:
  explicit CTrayIcon(platform::window::Tray& tray);
  virtual ~CTrayIcon();
  CTrayIcon(const CTrayIcon&) = delete;
  CTrayIcon& operator=(const CTrayIcon&) = delete;

  // 0 when the desktop has no notification area, else whether the shell took the icon.
  int Create(std::u16string_view tip, int icon, int iconId, int defaultItem, bool byPosition);
  int AddIcon(int icon);
  int SetIcon(int icon);
  int SetTip(std::u16string_view tip);
  int RemoveIcon();
  void Destroy();

  bool Enabled() const { return enabled_; }
  int IconId() const { return iconId_; }

 protected:
  // The shell's mouse events on the icon.
  virtual void OnMouse(platform::window::TrayMouse event) = 0;
  platform::window::Tray& Shell() { return tray_; }

  int defaultItem_ = 0;
  bool defaultByPosition_ = false;

 private:
  class Listener final : public platform::window::TrayListener {
   public:
    explicit Listener(CTrayIcon& owner) : owner_(owner) {}
    void OnTrayMouse(platform::window::TrayMouse event) override { owner_.OnMouse(event); }

   private:
    CTrayIcon& owner_;
  };

  platform::window::Tray& tray_;
  Listener listener_{*this};
  bool enabled_;
  int icon_ = 0;
  int iconId_ = 0;
  std::u16string tip_;
};

class CConfigTrayIcon final : public CTrayIcon {
 public:
  // `mainWindow` answers the application's main window at the moment of a click; null while
  // there is none, and then clicks do nothing.
  CConfigTrayIcon(platform::window::Tray& tray,
                  std::function<platform::window::Dialog*()> mainWindow);

  // The three entries of the menu, by position; the owner sets them in the current language.
  void SetMenuText(int position, std::u16string_view text);
  const std::u16string& MenuText(int position) const;

 protected:
  void OnMouse(platform::window::TrayMouse event) override;

 private:
  int DefaultCommand() const;

  std::function<platform::window::Dialog*()> mainWindow_;
  std::array<std::u16string, kTrayMenuCommands.size()> menuTexts_;
  bool doubleClickSeen_ = false;
};

}  // namespace app
