#pragma once
// The station settings dialogs on fakes: a recording adapter library, an in-memory store, a
// virtual clock, the headless backend, and the shipped language file (the boxes' entries exist
// only there).

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "adapter/testing/recording_adapter.h"
#include "config/setting_keys.h"
#include "platform/registry/memory_registry.h"
#include "platform/text/text.h"
#include "platform/window/headless/scripted_driver.h"
#include "ui/settings/settings_services.h"
#include "ui/settings/station_settings_templates.h"

namespace ui::settings::testing {

using platform::window::Dialog;

// Notes each request after the driver call it followed, which places it in the sequence.
class MarkingSupplicant final : public config::SupplicantControl {
 public:
  explicit MarkingSupplicant(const adapter::testing::RecordingAdapterLibrary& driver)
      : driver_(driver) {}
  void StartSupplicant() override { events.push_back("start after " + Last()); }
  void StopSupplicant() override { events.push_back("stop after " + Last()); }
  std::vector<std::string> events;

 private:
  std::string Last() const {
    const auto calls = driver_.Calls();
    return calls.empty() ? "nothing" : calls.back();
  }
  const adapter::testing::RecordingAdapterLibrary& driver_;
};

class SettingsDialogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    RegisterStationSettingsTemplates();
    const char* bin = std::getenv("VZ_BIN_DIR");
    ASSERT_EQ(language.LoadLanguageFile(std::filesystem::path(bin ? bin : "bin") / "QVMLu.INI",
                                        lang::kIndexSection),
              1);
    store.SetAdapterInstance("0007");
    current.handle.handle = adapter::testing::RecordingAdapterLibrary::kOpenHandle;
    current.chipType = 1;
    radio.bandCapability.store(config::band_capability::TwoPointFourOnly);
  }

  void Store(std::initializer_list<std::pair<std::u16string_view, std::u16string_view>> values) {
    for (const auto& [name, text] : values) ASSERT_EQ(store.WriteSetting(name, text), 0);
  }
  std::u16string Stored(std::u16string_view name) const { return store.ReadSettingString(name); }

  StationSettingsServices Services() {
    return {store,   driver,   current, radio, clock, supplicant, language, dialogs, product,
            [this](int opener) { subDialogs.push_back("wep " + std::to_string(opener)); },
            [this](int opener) { subDialogs.push_back("wpa " + std::to_string(opener)); }};
  }

  // Opens a dialog of `templateId` built by `make` and runs `body` inside its modal loop.
  template <class DialogClass>
  void Run(int templateId, const std::function<void(DialogClass&)>& body, int opener = 0) {
    bool ran = false;
    session.driver.OnOpen(templateId, [&](Dialog& d) {
      body(static_cast<DialogClass&>(d));
      ran = true;
    });
    DialogClass dialog(Services(), opener);
    dialog.DoModal();
    EXPECT_TRUE(ran);
  }

  std::vector<std::string> MessageTexts() const {
    std::vector<std::string> texts;
    for (const auto& box : session.backend.MessageBoxes()) {
      texts.push_back(platform::ToUtf8(box.caption) + ": " + platform::ToUtf8(box.text));
    }
    return texts;
  }

  platform::VirtualClock clock;
  platform::window::headless::ScriptedSession session{clock};
  adapter::testing::RecordingAdapterLibrary driver;
  platform::MemoryRegistry registry;
  config::SettingStore store{registry};
  adapter::CurrentAdapter current;
  config::RadioState radio;
  MarkingSupplicant supplicant{driver};
  lang::CMultiLanguage language;
  DialogChain dialogs;
  StationSettingsProduct product{1, 1, 1};
  std::vector<std::string> subDialogs;
};

}  // namespace ui::settings::testing
