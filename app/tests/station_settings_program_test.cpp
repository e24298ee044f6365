// The station settings through the program itself on the simulated adapter, driven as a user
// would in automation mode: More Settings joins networks, profiles come back, and a damaged
// profile list still opens.
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <string>
#include <vector>

#include "app/tests/program_runner.h"
#include "config/setting_keys.h"
#include "config/setting_store.h"
#include "platform/registry/registry.h"
#include "platform/text/text.h"

namespace app {
namespace {

using testing::Instance;
using testing::ProgramEnvironment;
using Json = nlohmann::json;

// Controls of the windows the script looks at.
constexpr int kMainWindow = 156, kMoreSettings = 130;
constexpr int kPanelType = 1189, kPanelSsid = 1190, kPanelEncryption = 1192, kLinkStatus = 1195;
constexpr int kSsid = 1016, kAuthentication = 1500, kEncryption = 1294, kChannel = 1014,
              kProfileBox = 1213;

// Opens the window from the tray and lets the adapter settle.
const std::string kOpenWindow = "tick 3\ntray dblclick\ntick 2\n";

// Every dump line of a run of `script`, which must end the program normally.
std::vector<Json> RunScript(const ProgramEnvironment& env, const std::string& script) {
  Instance program(env, {"--headless", "--virtual-clock"});
  program.Send(script);
  program.CloseInput();
  EXPECT_EQ(program.WaitForExit(), 0) << program.Errors();
  std::vector<Json> dumps;
  for (const std::string& line : program.OutputLines()) dumps.push_back(Json::parse(line));
  return dumps;
}

const Json* Dialog(const Json& dump, int templateId) {
  for (const Json& dialog : dump["dialogs"]) {
    if (dialog["template"] == templateId) return &dialog;
  }
  return nullptr;
}

// A control of a dumped dialog; an empty object when the dialog or the control is missing.
Json Control(const Json& dump, int templateId, int id) {
  if (const Json* dialog = Dialog(dump, templateId)) {
    for (const Json& control : (*dialog)["controls"]) {
      if (control["id"] == id) return control;
    }
  }
  ADD_FAILURE() << "no control " << id << " in template " << templateId;
  return Json::object();
}

std::string Text(const Json& dump, int templateId, int id) {
  return Control(dump, templateId, id).value("text", "");
}

std::vector<std::string> MessageTexts(const std::vector<Json>& dumps) {
  std::vector<std::string> texts;
  for (const Json& dump : dumps) {
    for (const Json& box : dump["messageBoxes"]) texts.push_back(box["text"].get<std::string>());
  }
  return texts;
}

// The program's settings store, opened while the program does not run.
class StoredSettings {
 public:
  explicit StoredSettings(const ProgramEnvironment& env)
      : opened_(platform::OpenSqliteRegistry(env.registryDir())) {
    if (!opened_.registry) return;
    store_ = std::make_unique<config::SettingStore>(*opened_.registry);
    store_->SetAdapterInstance("0007");  // the simulated USB adapter
  }
  bool Usable() const { return store_ != nullptr; }
  config::SettingStore& Store() { return *store_; }
  std::string Setting(std::u16string_view key) const {
    return platform::ToUtf8(store_->ReadSettingString(key));
  }
  void WriteProfileLink(std::u16string_view profile, std::u16string_view next) {
    const std::u16string key = profile.empty()
                                   ? store_->ApplicationKey()
                                   : store_->ApplicationKey() + u"\\Profile\\" +
                                         std::u16string(profile);
    (void)opened_.registry->SetValue(platform::RegRoot::CurrentUser, key, u"ProfileLink",
                                     platform::RegValue::Text(std::u16string(next)));
  }

 private:
  platform::OpenRegistryResult opened_;
  std::unique_ptr<config::SettingStore> store_;
};

// Opens More Settings (1180), Change (1020), the network type (1017), "any" (1235) or the SSID
// (1016), authentication (1500) and encryption (1294), Apply, and closes the dialog; the window
// then ticks until the adapter has joined.
std::string ApplyNetwork(int typeEntry, const std::string& ssid, int authEntry, int cryptEntry) {
  std::string script = "click 1180\nclick 1020\nselect 1017 " + std::to_string(typeEntry) + "\n";
  script += ssid.empty() ? "check 1235 1\n" : "check 1235 0\ntype 1016 " + ssid + "\n";
  script += "select 1500 " + std::to_string(authEntry) + "\nselect 1294 " +
            std::to_string(cryptEntry) + "\nclick 1020\nclose\ntick 5\ndump\n";
  return script;
}

TEST(StationSettingsProgram, ApplyJoinsTheNetworkAndAnyJoinsTheStrongestOpenOne) {
  ProgramEnvironment env;
  const std::vector<Json> dumps =
      RunScript(env, kOpenWindow + ApplyNetwork(1, "Campus", 0, 0) + ApplyNetwork(1, "", 0, 0));
  ASSERT_EQ(dumps.size(), 2u);
  EXPECT_EQ(Dialog(dumps[0], kMoreSettings), nullptr);  // closed again
  EXPECT_EQ(Text(dumps[0], kMainWindow, kPanelSsid), "Campus");
  // Of the two "Campus" access points, the stronger one on channel 1.
  EXPECT_EQ(Text(dumps[0], kMainWindow, kLinkStatus),
            "Connected to Access Point. BSSID=02 5A A0 00 00 0C");
  EXPECT_EQ(Text(dumps[1], kMainWindow, kPanelSsid), "Harbor-Open");
  EXPECT_EQ(Text(dumps[1], kMainWindow, kLinkStatus),
            "Connected to Access Point. BSSID=02 5A A0 00 00 01");

  StoredSettings stored(env);
  ASSERT_TRUE(stored.Usable());
  EXPECT_EQ(stored.Setting(config::key::SSID), "");
  EXPECT_EQ(stored.Setting(config::key::NetworkType), "1");
  EXPECT_EQ(stored.Setting(config::key::AuthenticationMode), "0");
  EXPECT_EQ(stored.Setting(config::key::WEPStatus), "1");
  EXPECT_EQ(stored.Setting(config::key::WirelessMode), "3");
  EXPECT_EQ(stored.Setting(config::key::STATxRate), "0");
}

TEST(StationSettingsProgram, AdHocShrinksTheListsAndJoinsTheAdHocNetwork) {
  ProgramEnvironment env;
  const std::string script = kOpenWindow +
                             "click 1180\nclick 1020\nselect 1017 0\ndump\n"
                             "select 1014 9\ncheck 1235 0\ntype 1016 Peer-AdHoc\nselect 1500 0\n"
                             "select 1294 1\nclick 1020\nclose\ntick 5\ndump\n";
  const std::vector<Json> dumps = RunScript(env, script);
  ASSERT_EQ(dumps.size(), 2u);
  EXPECT_EQ(Control(dumps[0], kMoreSettings, kAuthentication)["items"],
            Json::array({"Open System", "Shared Key", "Auto Switch"}));
  EXPECT_EQ(Control(dumps[0], kMoreSettings, kEncryption)["items"],
            Json::array({"WEP", "Disabled"}));
  EXPECT_EQ(Control(dumps[0], kMoreSettings, kChannel)["enabled"], true);
  EXPECT_EQ(Text(dumps[1], kMainWindow, kPanelSsid), "Peer-AdHoc");
  EXPECT_EQ(Text(dumps[1], kMainWindow, kPanelType), "Ad-Hoc");

  StoredSettings stored(env);
  ASSERT_TRUE(stored.Usable());
  EXPECT_EQ(stored.Setting(config::key::NetworkType), "0");
  EXPECT_EQ(stored.Setting(config::key::Channel), "10");
  EXPECT_EQ(stored.Setting(config::key::WEPStatus), "1");
}

TEST(StationSettingsProgram, ProfilesComeBackAndGoAway) {
  ProgramEnvironment env;
  std::string script = kOpenWindow + ApplyNetwork(1, "Home-WPA2", 6, 3);
  // Saved while joined to the WPA2 network, under names given in the profile box.
  script += "click 1180\ntype 1213 Home\nclick 1506\ntype 1213 Office\nclick 1506\n"
            "type 1213 Cafe\nclick 1506\nclose\n";
  script += ApplyNetwork(1, "Harbor-Open", 0, 0);
  script += "click 1180\ntype 1213 home \nclick 1308\ndump\nclose\ntick 5\ndump\n";
  // Unknown and blank names, then the middle, first and last of the three.
  script += "click 1180\ntype 1213 nowhere\nclick 1308\ntype 1213  \nclick 1295\n"
            "type 1213 Office\nclick 1295\ndump\ntype 1213 HOME\nclick 1295\n"
            "type 1213 cafe\nclick 1295\ndump\n";
  const std::vector<Json> dumps = RunScript(env, script);
  ASSERT_EQ(dumps.size(), 6u);
  EXPECT_EQ(Text(dumps[0], kMainWindow, kPanelSsid), "Home-WPA2");
  EXPECT_EQ(Text(dumps[1], kMainWindow, kPanelSsid), "Harbor-Open");

  // Loaded by another spelling: the dialog, the adapter and the store are back on Home.
  EXPECT_EQ(Control(dumps[2], kMoreSettings, kProfileBox)["items"],
            Json::array({"Home", "Office", "Cafe"}));
  EXPECT_EQ(Text(dumps[2], kMoreSettings, kSsid), "Home-WPA2");
  EXPECT_EQ(Text(dumps[2], kMoreSettings, kAuthentication), "WPA2-PSK");
  EXPECT_EQ(Text(dumps[2], kMoreSettings, kEncryption), "AES");
  EXPECT_EQ(Text(dumps[3], kMainWindow, kPanelSsid), "Home-WPA2");
  EXPECT_EQ(Text(dumps[3], kMainWindow, kPanelEncryption), "AES");

  EXPECT_EQ(MessageTexts(dumps),
            (std::vector<std::string>{"Can't find the specified profile: \"nowhere\".",
                                      "Please specify or input a profile name!"}));
  EXPECT_EQ(Control(dumps[4], kMoreSettings, kProfileBox)["items"],
            Json::array({"Home", "Cafe"}));
  EXPECT_EQ(Control(dumps[5], kMoreSettings, kProfileBox)["items"], Json::array());

  StoredSettings stored(env);
  ASSERT_TRUE(stored.Usable());
  EXPECT_EQ(stored.Setting(config::key::SSID), "Home-WPA2");
  EXPECT_EQ(stored.Setting(config::key::AuthenticationMode), "7");
  EXPECT_EQ(stored.Setting(config::key::WEPStatus), "6");
  EXPECT_EQ(stored.Store().ReadAppText(u"ProfileLink"), u"");
}

TEST(StationSettingsProgram, AProfileListThatLoopsOpensWithEachProfileOnce) {
  ProgramEnvironment env;
  {
    StoredSettings stored(env);
    ASSERT_TRUE(stored.Usable());
    stored.WriteProfileLink(u"", u"Home");
    stored.WriteProfileLink(u"Home", u"Office");
    stored.WriteProfileLink(u"Office", u"Cafe");
    stored.WriteProfileLink(u"Cafe", u"home");
  }
  const std::vector<Json> dumps = RunScript(env, kOpenWindow + "click 1180\ndump\n");
  ASSERT_EQ(dumps.size(), 1u);
  EXPECT_EQ(Control(dumps[0], kMoreSettings, kProfileBox)["items"],
            Json::array({"Home", "Office", "Cafe"}));
}

}  // namespace
}  // namespace app
