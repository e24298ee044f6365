#pragma once
// A small dialog with the main window's station controls on the headless backend, a recording
// adapter library, an in-memory setting store and the built-in texts.

#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <vector>

#include "adapter/testing/recording_adapter.h"
#include "config/setting_store.h"
#include "lang/multi_language.h"
#include "platform/clock/clock.h"
#include "platform/registry/memory_registry.h"
#include "platform/window/headless/scripted_driver.h"
#include "ui/main/station_panel_ids.h"
#include "ui/main/station_panel_services.h"

namespace ui::testing {

namespace id = station_panel::id;
using platform::window::Dialog;

inline constexpr int kPanelTemplate = 9560;

inline void RegisterPanelTemplate() {
  using platform::window::ControlKind;
  platform::window::DialogTemplate t;
  t.id = kPanelTemplate;
  t.caption = u"Station panels";
  auto add = [&](int controlId, ControlKind kind) {
    platform::window::ControlTemplate c;
    c.id = controlId;
    c.kind = kind;
    t.controls.push_back(c);
  };
  add(id::ModeBox, ControlKind::DropDownList);
  add(id::ListTitle, ControlKind::Label);
  add(id::List, ControlKind::ListView);
  add(id::RefreshButton, ControlKind::Button);
  add(id::PanelButton, ControlKind::Button);
  for (int c = id::PanelValue1; c <= id::PanelValue5; ++c) add(c, ControlKind::Label);
  for (int c = id::LinkStatusText; c <= id::RxFrameText; ++c) add(c, ControlKind::Label);
  for (int c : {id::SignalLabel, id::QualityLabel, id::TxFrameLabel, id::RxFrameLabel}) {
    add(c, ControlKind::Label);
  }
  add(id::SignalBar, ControlKind::ProgressBar);
  add(id::QualityBar, ControlKind::ProgressBar);
  platform::window::TemplateRegistry::Instance().Add(t);
}

class StationPanelTest : public ::testing::Test {
 protected:
  void SetUp() override {
    RegisterPanelTemplate();
    store.SetAdapterInstance("0007");
  }

  StationPanelServices Services() {
    return StationPanelServices{driver,
                                handle,
                                store,
                                language,
                                product,
                                wasDisconnected,
                                [this] { ++renewals; },
                                [this](int index) { trayIcons.push_back(index); }};
  }

  // Runs `body` inside the open dialog's modal loop, where its controls exist.
  void RunInDialog(const std::function<void(Dialog&)>& body) {
    platform::window::headless::ScriptedSession session(clock);
    bool ran = false;
    session.driver.OnOpen(kPanelTemplate, [&](Dialog& d) {
      // The list as the station layout sets it up.
      d.ListInsertColumn(id::List, 0, u"SSID", 105);
      d.ListInsertColumn(id::List, 1, u"Strength", 64);
      body(d);
      ran = true;
    });
    Dialog dialog(kPanelTemplate);
    dialog.DoModal();
    ASSERT_TRUE(ran);
  }

  platform::VirtualClock clock;
  adapter::testing::RecordingAdapterLibrary driver;
  adapter::AdapterHandle handle{adapter::testing::RecordingAdapterLibrary::kOpenHandle, {}, {}, {}};
  platform::MemoryRegistry registry;
  config::SettingStore store{registry};
  lang::CMultiLanguage language;
  StationDisplayProduct product;
  std::atomic<int> wasDisconnected{0};
  int renewals = 0;
  std::vector<int> trayIcons;
};

}  // namespace ui::testing
