#pragma once
// The application object on fakes: a program folder of its own with a product file and language
// files, an in-memory registry, a virtual clock that notes every wait, the recording adapter
// library, in-memory window titles and the scripted headless backend.

#include <array>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "adapter/testing/recording_adapter.h"
#include "app/app_context.h"
#include "app/config_app.h"
#include "config/setting_keys.h"
#include "platform/clock/clock.h"
#include "platform/process/memory_window_titles.h"
#include "platform/registry/memory_registry.h"
#include "platform/registry/tests/temp_dir.h"
#include "platform/text/text.h"
#include "platform/window/headless/scripted_driver.h"

namespace app::testing {

// Virtual time that tells the test about each wait before it passes.
class WatchedClock final : public platform::Clock {
 public:
  platform::Millis Now() const override { return inner_.Now(); }
  std::int64_t UnixSeconds() const override { return inner_.UnixSeconds(); }
  void Sleep(platform::Millis duration) override {
    if (onSleep) onSleep(duration);
    inner_.Sleep(duration);
  }
  std::function<void(platform::Millis)> onSleep;

 private:
  platform::VirtualClock inner_;
};

// Two languages; the 8-bit file differs so that a test sees which file was read.
inline constexpr char kUnicodeLanguages[] =
    "[LANGUAGES]\n"
    "Language_1_Section=English\n"
    "Language_2_Section=Deutsch\n"
    "[English]\n"
    "MP_Dialog_Title=Ventrel Plus\n"
    "MP_Small_Icon_Tip=Tip EN\n"
    "MP_Small_Icon_Item_1=Open EN\n"
    "MP_Small_Icon_Item_Client_MS=Service EN\n"
    "MP_Small_Icon_Item_2=Exit EN\n"
    "[Deutsch]\n"
    "MP_Dialog_Title=Ventrel Plus DE\n"
    "MP_Small_Icon_Tip=Tip DE\n"
    "MP_Small_Icon_Item_1=Open DE\n"
    "MP_Small_Icon_Item_Client_MS=Service DE\n"
    "MP_Small_Icon_Item_2=Exit DE\n";
inline constexpr char kSbcsLanguages[] =
    "[LANGUAGES]\n"
    "Language_1_Section=Only\n"
    "[Only]\n"
    "MP_Dialog_Title=Ventrel Plus A\n";

class StartupFixture {
 public:
  explicit StartupFixture(const std::string& programName = "vuzideza")
      : programPath(folder.path() / programName),
        context(AppServices{clock, *registry, library, titles, session.backend.TrayIcon(),
                            language, programPath}) {
    platform::window::DialogTemplate probe;
    probe.id = kProbeTemplate;
    probe.caption = u"Probe";
    platform::window::TemplateRegistry::Instance().Add(probe);
    WriteFile("QVMLu.INI", kUnicodeLanguages);
    WriteFile("QVMLa.INI", kSbcsLanguages);
    WriteProduct("GENERAL");
    clock.onSleep = [this](platform::Millis duration) {
      waits.push_back({duration, Flag(config::app_value::ExitRequest)});
    };
  }

  void WriteFile(const std::string& name, const std::string& content) {
    std::ofstream(folder.path() / name, std::ios::binary) << content;
  }
  void WriteProduct(const std::string& chipMode, const std::string& company = "Orvex",
                    int periodMs = 1000) {
    WriteFile(programPath.filename().string() + ".INI",
              "[MAIN_INFO]\nCompany_Abbrev=" + company +
                  "\nMain_Page_Update_Time_ms=" + std::to_string(periodMs) +
                  "\n[ADAPTER_INFORMATION]\nReleaseChipMode=" + chipMode + "\n");
  }

  // An application value in the key start-up uses ("software\Orvex\vuzideza" by default).
  void SetNumber(std::u16string_view name, std::uint32_t value,
                 std::u16string_view key = u"software\\Orvex\\vuzideza") {
    ASSERT_EQ(registry->SetValue(platform::RegRoot::CurrentUser, key, name,
                                 platform::RegValue::Dword(value)),
              platform::RegStatus::Ok);
  }
  void SetText(std::u16string_view name, std::u16string_view text,
               std::u16string_view key = u"software\\Orvex\\vuzideza") {
    ASSERT_EQ(registry->SetValue(platform::RegRoot::CurrentUser, key, name,
                                 platform::RegValue::Text(std::u16string(text))),
              platform::RegStatus::Ok);
  }

  // A chip-mode flag as a number, -1 when absent; flags are always stored as numbers.
  int Flag(std::u16string_view name) {
    platform::RegValue value;
    if (registry->GetValue(platform::RegRoot::CurrentUser, context.store.ApplicationKey(),
                           context.store.ChipValue(name), value) != platform::RegStatus::Ok) {
      return -1;
    }
    EXPECT_EQ(value.type(), platform::RegType::Dword) << platform::ToUtf8(name);
    return static_cast<int>(std::get<std::uint32_t>(value.data));
  }

  // A window of another instance showing `title`.
  void ShowWindowOfAnotherInstance(std::u16string_view title) {
    liveWindows_.push_back(titles.Announce(title));
  }

  // What the main window saw when it ran.
  struct MainWindowRun {
    DelayedServiceChoice delayed;
    bool isApplicationMainWindow = false;
    bool trayCreated = false, trayShown = true;
    std::u16string trayTip;
    std::array<std::u16string, 3> menuTexts;
    platform::Millis startedAt{0};
    int exitFlag = -1, wakeUpFlag = -1;
    std::int32_t adapterHandle = 0;
    bool startHidden = false;
    std::vector<std::string> calls;
  };

  StartupEnd Start(const std::vector<std::string>& arguments) {
    CConfigApp application(context, [this](AppContext& c, const DelayedServiceChoice& delayed) {
      run = MainWindowRun{};
      run->delayed = delayed;
      auto window = std::make_unique<platform::window::Dialog>(kProbeTemplate);
      session.driver.OnOpen(kProbeTemplate, [this, &c, dialog = window.get()](
                                                platform::window::Dialog&) {
        run->isApplicationMainWindow = c.mainWindow == dialog;
        run->trayCreated = c.trayIcon != nullptr;
        run->trayShown = session.backend.HeadlessTrayIcon().Shown();
        run->trayTip = session.backend.HeadlessTrayIcon().Tip();
        for (int i = 0; i < 3; ++i) run->menuTexts[i] = c.trayIcon->MenuText(i);
        run->startedAt = clock.Now();
        run->exitFlag = Flag(config::app_value::ExitRequest);
        run->wakeUpFlag = Flag(config::app_value::WakeUpRequest);
        run->adapterHandle = c.adapter.handle.handle;
        run->startHidden = c.startHidden;
        run->calls = library.Calls();
      });
      return window;
    });
    return application.InitInstance(arguments);
  }

  static constexpr int kProbeTemplate = 9602;

  WatchedClock clock;
  std::unique_ptr<platform::MemoryRegistry> registry = platform::CreateMemoryRegistry();
  adapter::testing::RecordingAdapterLibrary library;
  platform::MemoryWindowTitles titles;
  lang::CMultiLanguage language;
  platform::window::headless::ScriptedSession session{clock};
  platform::testing::TempDir folder;  // the program folder
  std::filesystem::path programPath;
  AppContext context;

  struct Wait {
    platform::Millis duration;
    int exitFlag;  // while waiting
  };
  std::vector<Wait> waits;
  std::optional<MainWindowRun> run;  // set when the main window was made

 private:
  std::vector<std::unique_ptr<platform::WindowTitles::Claim>> liveWindows_;
};

}  // namespace app::testing
