#pragma once
// The main window's template on the headless backend, a recording adapter library, an in-memory
// setting store and the built-in texts.

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
#include "ui/main/main_page_ids.h"
#include "ui/main/main_page_template.h"
#include "ui/main/station_panel_services.h"

namespace ui::testing {

namespace id = main_page::id;
using platform::window::Dialog;

// The main window's own template: the panels act on its controls.
inline constexpr int kPanelTemplate = main_page::kTemplateId;

class StationPanelTest : public ::testing::Test {
 protected:
  void SetUp() override {
    main_page::RegisterMainPageTemplate();
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
