#pragma once
// Temporary main window, until the real one takes its place: it carries the window title as
// its caption (so that a second instance finds it), starts hidden, shows the tray icon so that
// a windowed run can be reached, and on each refresh tick answers the two requests of a second
// instance: exit, or show the window. It counts its ticks to show that the timer runs. It finds
// the adapters as the main window will (adapter box 1181) on every tick while none is open, and
// shows the open adapter's description and chip type in its list. Unlike the real window it does
// not discover at initialisation: the selection's settle wait would make a timer tick due before
// a script's first command.

#include <optional>
#include <vector>
#include <string_view>

#include "adapter/adapter_discovery.h"
#include "app/app_context.h"
#include "platform/window/dialog.h"

namespace app {

inline constexpr int kStubMainTemplate = 9999;
inline constexpr int kStubTicksLabel = 1000;
inline constexpr int kStubList = 1001;
inline constexpr int kStubAdapterLabel = 1002;
inline constexpr int kAdapterBox = 1181;
inline constexpr int kRefreshTimer = 1;

void RegisterStubMainTemplate();

class StubMainDlg final : public platform::window::Dialog,
                          private adapter::AdapterBox,
                          private adapter::AdapterSelectionHandler {
 public:
  explicit StubMainDlg(AppContext& context);
  bool OnInitDialog() override;
  void OnTimer(int timerId) override;
  void OnCommand(int id, platform::window::CommandCode code) override;

 private:
  void OpenWindow();

  void ResetAdapterBox() override;
  void AddAdapterBoxItem(std::u16string_view text) override;
  void SelectAdapterBoxItem(int index) override;
  int AdapterBoxSelection() const override;
  void AdapterInstanceChanged(std::string_view instance) override;
  void AdapterOpened() override;

  AppContext& context_;
  int ticks_ = 0;
  adapter::CurrentAdapter adapter_;
  std::optional<adapter::AdapterDiscovery> discovery_;  // from the dialog's start
};

}  // namespace app
