// Start-up and shutdown of the application object against fakes: the single-instance decision,
// the switches, the language, the tray icon and the hand-over to the main window.
#include "app/config_app.h"

#include <gtest/gtest.h>

#include "app/tests/startup_fixture.h"

namespace app {
namespace {

using namespace std::chrono_literals;
using testing::StartupFixture;

constexpr int kAbsent = -1;

struct Situation {
  const char* name;
  std::string chipMode;
  std::optional<std::u16string> storedTitle;
  std::vector<std::u16string> otherWindows;  // titles shown by other instances
  int languageId;                            // kAbsent: not stored
  std::vector<std::string> arguments;
  // expected
  StartupEnd end;
  std::vector<int> exitFlagWhileWaiting;  // one entry per 2000 ms wait
  std::vector<std::u16string> searches;
  std::u16string storedTitleAfter;
  int exitFlagAfter, wakeUpFlagAfter;
};

TEST(Startup, SingleInstanceDecision) {
  const Situation situations[] = {
      {"first run", "GENERAL", std::nullopt, {}, kAbsent, {},
       StartupEnd::MainWindowRan, {1}, {}, u"Ventrel Plus", 0, 0},
      {"second start while the first runs", "GENERAL", u"Ventrel Plus", {u"Ventrel Plus"}, kAbsent,
       {}, StartupEnd::WokeOtherWindow, {}, {u"Ventrel Plus"}, u"Ventrel Plus", kAbsent, 1},
      {"start after a language change", "GENERAL", u"Ventrel Plus", {u"Ventrel Plus"}, 2, {},
       StartupEnd::MainWindowRan, {1}, {}, u"Ventrel Plus DE", 0, 0},
      {"stored title, but no window has it", "GENERAL", u"Ventrel Plus", {}, kAbsent, {},
       StartupEnd::MainWindowRan, {1}, {u"Ventrel Plus"}, u"Ventrel Plus", 0, 0},
      {"GENERAL has no older title", "GENERAL", u"Ventrel Plus",
       {u"Ventrel Plus   QV7200B", u""}, kAbsent, {},
       StartupEnd::MainWindowRan, {1}, {u"Ventrel Plus"}, u"Ventrel Plus", 0, 0},
      {"chip mode in the title", "CHIPX", std::nullopt, {}, kAbsent, {},
       StartupEnd::MainWindowRan, {1}, {}, u"Ventrel Plus   CHIPX", 0, 0},
      {"older release of the chip mode runs", "QV7200", u"Ventrel Plus   QV7200",
       {u"Ventrel Plus   QV7200B"}, kAbsent, {}, StartupEnd::WokeOtherWindow, {},
       {u"Ventrel Plus   QV7200", u"Ventrel Plus   QV7200B"}, u"Ventrel Plus   QV7200", kAbsent, 1},
      {"older title searched, not found", "QV7100DualBand", u"Ventrel Plus   QV7100DualBand", {},
       kAbsent, {}, StartupEnd::MainWindowRan, {1},
       {u"Ventrel Plus   QV7100DualBand", u"Ventrel Plus   QV7100BDualBand"},
       u"Ventrel Plus   QV7100DualBand", 0, 0},
      {"chip modes compare with letter case", "qv7200", u"Ventrel Plus   qv7200",
       {u"Ventrel Plus   QV7200B"}, kAbsent, {}, StartupEnd::MainWindowRan, {1},
       {u"Ventrel Plus   qv7200"}, u"Ventrel Plus   qv7200", 0, 0},
      {"EXIT only sets the exit flag", "GENERAL", u"Ventrel Plus", {u"Ventrel Plus"}, kAbsent,
       {"/exit"}, StartupEnd::ToldToExit, {}, {}, u"Ventrel Plus", 1, kAbsent},
      {"EXIT on a first run stores no title", "GENERAL", std::nullopt, {}, kAbsent, {"-EXIT"},
       StartupEnd::ToldToExit, {}, {}, u"", 1, kAbsent},
      {"a longer switch is not EXIT", "GENERAL", u"Ventrel Plus", {u"Ventrel Plus"}, kAbsent,
       {"/EXITNOW"}, StartupEnd::WokeOtherWindow, {}, {u"Ventrel Plus"}, u"Ventrel Plus", kAbsent,
       1},
  };
  for (const Situation& s : situations) {
    SCOPED_TRACE(s.name);
    StartupFixture f;
    f.WriteProduct(s.chipMode);
    const std::u16string chip = platform::FromUtf8(s.chipMode);
    if (s.storedTitle) f.SetText(chip + u"\\VUZidezaProgramTitle", *s.storedTitle);
    if (s.languageId != kAbsent) f.SetNumber(chip + u"\\LanguageId", s.languageId);
    for (const std::u16string& title : s.otherWindows) f.ShowWindowOfAnotherInstance(title);

    EXPECT_EQ(f.Start(s.arguments), s.end);

    std::vector<int> exitFlagWhileWaiting;
    for (const auto& wait : f.waits) {
      EXPECT_EQ(wait.duration, 2000ms);
      exitFlagWhileWaiting.push_back(wait.exitFlag);
    }
    EXPECT_EQ(exitFlagWhileWaiting, s.exitFlagWhileWaiting);
    EXPECT_EQ(f.titles.Searches(), s.searches);
    EXPECT_EQ(f.context.store.ReadAppText(f.context.store.ChipValue(config::app_value::ProgramTitle)),
              s.storedTitleAfter);
    EXPECT_EQ(f.Flag(config::app_value::ExitRequest), s.exitFlagAfter);
    EXPECT_EQ(f.Flag(config::app_value::WakeUpRequest), s.wakeUpFlagAfter);

    const bool ran = s.end == StartupEnd::MainWindowRan;
    EXPECT_EQ(f.run.has_value(), ran);
    EXPECT_EQ(f.session.driver.Opened().size(), ran ? 1u : 0u);
    // The tray icon exists only while the main window does; an early end never shows it.
    EXPECT_EQ(f.context.trayIcon, nullptr);
    EXPECT_FALSE(f.session.backend.HeadlessTrayIcon().Shown());
    if (!ran) {
      EXPECT_EQ(f.session.backend.HeadlessTrayIcon().Tip(), u"");
    }
    EXPECT_EQ(f.library.Calls("QVSt"), std::vector<std::string>{});
  }
}

TEST(Startup, TheMainWindowRunsWithFlagsClearedAfterTheWaitAndTheTrayIconPrepared) {
  StartupFixture f;
  f.context.adapter.handle.handle = 7;
  f.context.startHidden = false;
  ASSERT_EQ(f.Start({"/SETWZCD", "5"}), StartupEnd::MainWindowRan);
  ASSERT_TRUE(f.run.has_value());
  const StartupFixture::MainWindowRun& run = *f.run;
  EXPECT_TRUE(run.delayed.pending);
  EXPECT_EQ(run.delayed.delayTicks, 5);
  EXPECT_TRUE(run.isApplicationMainWindow);
  EXPECT_EQ(run.startedAt, 2000ms);
  EXPECT_EQ(run.exitFlag, 0);
  EXPECT_EQ(run.wakeUpFlag, 0);
  EXPECT_EQ(run.adapterHandle, -1);
  EXPECT_TRUE(run.startHidden);
  // Created with the language's texts, then taken away until an adapter is open.
  EXPECT_TRUE(run.trayCreated);
  EXPECT_FALSE(run.trayShown);
  EXPECT_EQ(run.trayTip, u"Tip EN");
  EXPECT_EQ(run.menuTexts, (std::array<std::u16string, 3>{u"Open EN", u"Service EN", u"Exit EN"}));
  EXPECT_EQ(f.context.mainWindow, nullptr);  // gone after the run
}

TEST(Startup, ProductFileNamesTheRegistryKeyAndTheProgramFileItsLastPart) {
  StartupFixture f("otherprog");
  f.WriteProduct("GENERAL", "Acme");
  ASSERT_EQ(f.Start({}), StartupEnd::MainWindowRan);
  EXPECT_EQ(f.context.store.ApplicationKey(), u"software\\Acme\\otherprog");
  platform::RegValue title;
  ASSERT_EQ(f.registry->GetValue(platform::RegRoot::CurrentUser, u"software\\Acme\\otherprog",
                                 u"GENERAL\\VUZidezaProgramTitle", title),
            platform::RegStatus::Ok);
  EXPECT_EQ(title, platform::RegValue::Text(u"Ventrel Plus"));
}

TEST(Startup, LanguageSelection) {
  struct Case {
    int stored;  // kAbsent: not stored
    bool ntSystem;
    int expectedIndex;
    std::u16string title;
  };
  const Case cases[] = {
      {kAbsent, true, 1, u"Ventrel Plus"}, {2, true, 2, u"Ventrel Plus DE"},
      {1, true, 1, u"Ventrel Plus"},       {0, true, 1, u"Ventrel Plus"},
      {3, true, 1, u"Ventrel Plus"},       {-1, true, 1, u"Ventrel Plus"},
      {2, false, 1, u"Ventrel Plus A"},  // the 8-bit file has one language
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.stored) + (c.ntSystem ? " NT" : " 9x"));
    StartupFixture f;
    if (c.stored != kAbsent) f.SetNumber(u"GENERAL\\LanguageId", static_cast<std::uint32_t>(c.stored));
    f.library.Answer("CheckOSWinNT", c.ntSystem ? 1 : 0);
    ASSERT_EQ(f.Start({"/exit"}), StartupEnd::ToldToExit);
    EXPECT_EQ(f.language.FilePath().filename(), c.ntSystem ? "QVMLu.INI" : "QVMLa.INI");
    EXPECT_EQ(f.language.CurrentIndex(), c.expectedIndex);
    EXPECT_EQ(f.context.windowTitle, c.title);
  }
}

TEST(Startup, WithoutLanguageOrProductFileTheBuiltInTextsAndDefaultsApply) {
  StartupFixture f;
  for (const char* name : {"QVMLu.INI", "QVMLa.INI", "vuzideza.INI"}) {
    std::filesystem::remove(f.folder.path() / name);
  }
  ASSERT_EQ(f.Start({}), StartupEnd::MainWindowRan);
  EXPECT_EQ(f.context.windowTitle, u"Ventrel Plus");
  EXPECT_EQ(f.context.store.ApplicationKey(), u"software\\Orvex\\vuzideza");
  EXPECT_EQ(f.run->trayTip, u"VUZoza -- Ventrel");
  EXPECT_EQ(f.run->menuTexts[1], u"Use Microsoft Wireless Zero Configuration");
}

TEST(Startup, NonAdminUserEnablerOnlyOnThatSystemWithAdministratorRights) {
  struct Case {
    int windows2000, admin;
    bool enabled;
  };
  for (const Case& c : {Case{0, 0, false}, Case{1, 0, false}, Case{0, 1, false}, Case{1, 1, true}}) {
    SCOPED_TRACE(std::to_string(c.windows2000) + std::to_string(c.admin));
    StartupFixture f;
    f.library.Answer("QueryWL_IsWindows2000", c.windows2000);
    f.library.Answer("IsAdmin", c.admin);
    ASSERT_EQ(f.Start({"/EXIT"}), StartupEnd::ToldToExit);
    const std::vector<std::string> calls = f.library.Calls("NonAdmin");
    EXPECT_EQ(calls.size(), c.enabled ? 1u : 0u);
  }
}

TEST(Startup, WirelessServiceSwitches) {
  struct Case {
    std::vector<std::string> arguments;
    int ownClientRun;  // kAbsent: not stored
    std::vector<std::string> calls;
    int ownClientRunAfter;
  };
  const Case cases[] = {
      {{}, 1, {}, 1},
      {{"/SETWZC"}, kAbsent, {"QVStartWZCService()"}, kAbsent},
      {{"/SETWZC"}, 0, {"QVStartWZCService()"}, 0},
      {{"/SETWZC"}, 1, {"QVStopWZCService()"}, 1},
      {{"/FORCEQV"}, kAbsent, {"QVStopWZCService()"}, 1},
      {{"/FORCEQV", "/SETWZC"}, 0, {"QVStopWZCService()"}, 1},
      {{"-setwzc", "-forceqv"}, 0, {"QVStopWZCService()"}, 1},
      {{"/SETWZCD", "/SETWZC", "5"}, 0, {"QVStartWZCService()"}, 0},
      {{"/SETWZCD", "3"}, 0, {}, 0},  // left to the main window
  };
  for (const Case& c : cases) {
    std::string shown;
    for (const std::string& a : c.arguments) shown += a + " ";
    SCOPED_TRACE(shown + std::to_string(c.ownClientRun));
    StartupFixture f;
    if (c.ownClientRun != kAbsent) f.SetNumber(u"OrvexClientRun", c.ownClientRun);
    ASSERT_EQ(f.Start(c.arguments), StartupEnd::MainWindowRan);
    // Applied before the main window runs.
    std::vector<std::string> before;
    for (const std::string& call : f.run->calls) {
      if (call.rfind("QVSt", 0) == 0) before.push_back(call);
    }
    EXPECT_EQ(before, c.calls);
    EXPECT_EQ(f.library.Calls("QVSt"), c.calls);
    platform::RegValue value;
    if (c.ownClientRunAfter == kAbsent) {
      EXPECT_EQ(f.registry->GetValue(platform::RegRoot::CurrentUser, u"software\\Orvex\\vuzideza",
                                     u"OrvexClientRun", value),
                platform::RegStatus::NotFound);
    } else {
      ASSERT_EQ(f.registry->GetValue(platform::RegRoot::CurrentUser, u"software\\Orvex\\vuzideza",
                                     u"OrvexClientRun", value),
                platform::RegStatus::Ok);
      EXPECT_EQ(value, platform::RegValue::Dword(c.ownClientRunAfter));
    }
  }
}

}  // namespace
}  // namespace app
