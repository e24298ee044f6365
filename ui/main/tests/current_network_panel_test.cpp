// The current network panel: type, channel, SSID, transmit rate and encryption fields.
#include "ui/main/current_network_panel.h"

#include <gmock/gmock.h>

#include <string>

#include "config/setting_keys.h"
#include "ui/main/tests/station_panel_fixture.h"

namespace ui::testing {
namespace {

class CurrentNetworkPanelTest : public StationPanelTest {
 protected:
  // Runs one refresh on a dialog whose fields read "before".
  void Refresh(const std::function<void(Dialog&)>& check) {
    RunInDialog([&](Dialog& d) {
      for (int c = id::PanelValue1; c <= id::PanelValue5; ++c) d.SetText(c, u"before");
      LinkStatusView link(d, Services());
      CurrentNetworkPanel panel(d, Services(), link);
      panel.RefreshCurrentNetwork();
      check(d);
    });
  }
};

TEST_F(CurrentNetworkPanelTest, NetworkTypeAndChannel) {
  const struct {
    int type, channel;
    const char16_t* typeText;
    const char16_t* channelText;
  } cases[] = {
      {0, 0, u"Ad-Hoc", u"0"},         {1, 11, u"Infrastructure", u"11"},
      {2, 165, u"WDS", u"165"},        {3, 6, u"Pseudo IBSS", u"6"},
      {7, -1, u"Unknown type(7)", u"before"}, {-1, -2, u"before", u"before"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.type);
    driver.Answer("QueryWL_NetworkType", c.type);
    driver.Answer("QueryWL_Channel", c.channel);
    Refresh([&](Dialog& d) {
      EXPECT_EQ(d.GetText(id::PanelValue2), c.typeText);
      EXPECT_EQ(d.GetText(id::PanelValue1), c.channelText);
    });
  }
}

TEST_F(CurrentNetworkPanelTest, SsidFromDriverWhenConnectedElseStored) {
  const std::string forty(40, 'x');
  const struct {
    const char* name;
    int connectState;
    std::string driverSsid;
    int driverResult;  // QueryWL_SSID's result
    std::u16string stored;
    std::u16string shown;
  } cases[] = {
      {"connected", 0, "Home-WPA2", 9, u"Stored", u"Home-WPA2"},
      {"connected, 40 bytes cut to 32", 0, forty, 40, u"", std::u16string(32, u'x')},
      {"connected, Latin-1 byte", 0, "Caf\xE9", 4, u"", u"Caf\u00e9"},
      {"connected to any", 0, "", 0, u"Stored", u"<any>"},
      {"connected, query fails", 0, "", -1, u"Stored", u"before"},
      {"not connected", 1, "Home-WPA2", 9, u"Stored net", u"Stored net"},
      {"not connected, nothing stored", 1, "Home-WPA2", 9, u"", u"<any>"},
      {"not connected, long stored SSID", 1, "", 0, std::u16string(60, u'y'),
       std::u16string(32, u'y')},
      {"unexpected state", 2, "Home-WPA2", 9, u"Stored", u"before"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    driver.Answer("QueryWL_ConnectState", c.connectState);
    driver.Answer("QueryWL_SSID", c.driverResult);
    driver.AnswerBytes("QueryWL_SSID", {c.driverSsid.begin(), c.driverSsid.end()});
    ASSERT_EQ(store.WriteSetting(config::key::SSID, c.stored), 0);
    Refresh([&](Dialog& d) { EXPECT_EQ(d.GetText(id::PanelValue3), c.shown); });
  }
}

TEST_F(CurrentNetworkPanelTest, RateInWholeOrTenthMegabits) {
  const struct {
    int kbps;
    const char16_t* shown;
  } cases[] = {{54000, u"54 Mbps"}, {5500, u"5.5 Mbps"}, {1000, u"1 Mbps"},
               {0, u"0 Mbps"},      {-1, u"before"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.kbps);
    driver.Answer("QueryWL_CurrentLinkSpeed", c.kbps);
    Refresh([&](Dialog& d) { EXPECT_EQ(d.GetText(id::PanelValue4), c.shown); });
  }
}

TEST_F(CurrentNetworkPanelTest, IdleLinkShowsTheFastestSupportedRate) {
  const std::vector<std::uint8_t> rates = {0x82, 0x84, 0x0B, 0x16, 0x6C};
  const struct {
    const char* name;
    int autoShowMax;
    bool idle;
    int ratesResult;
    std::vector<std::uint8_t> rates;
    const char16_t* shown;
  } cases[] = {
      {"idle", 1, true, 0, rates, u"54 Mbps"},
      {"basic rate is the fastest", 1, true, 0, {0x82, 0x8B, 0x96}, u"11 Mbps"},
      {"busy link", 1, false, 0, rates, u"1 Mbps"},
      {"switched off", 0, true, 0, rates, u"1 Mbps"},
      {"rates unreadable", 1, true, -1, rates, u"before"},
      {"no rate known", 1, true, 0, {}, u"before"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    product.txRateAutoShowMax = c.autoShowMax;
    driver.Answer("QueryWL_CurrentLinkSpeed", 1000);
    driver.Answer("QueryWL_SupportedRate", c.ratesResult);
    driver.AnswerBytes("QueryWL_SupportedRate", c.rates);
    // Connected with frames counted: the second tick sees no traffic and marks the link idle.
    driver.Answer("QueryWL_ConnectState", 0);
    driver.Answer("QueryWL_NetworkType", 1);
    driver.AnswerFrameCounts(c.idle ? 0 : 5, 0);
    RunInDialog([&](Dialog& d) {
      d.SetText(id::PanelValue4, u"before");
      LinkStatusView link(d, Services());
      CurrentNetworkPanel panel(d, Services(), link);
      driver.AnswerNext("GetTxRxFrameCount", 0, std::vector<std::uint8_t>(8, 0));
      link.RefreshLinkStatus(false);
      (void)link.TakeIdleRate();
      link.RefreshLinkStatus(false);
      const bool wasIdle = link.IdleRate();
      panel.RefreshCurrentNetwork();
      EXPECT_EQ(d.GetText(id::PanelValue4), c.shown);
      // Consumed only where it changed the rate.
      EXPECT_EQ(link.IdleRate(), wasIdle && c.autoShowMax != 1);
    });
  }
}

TEST_F(CurrentNetworkPanelTest, EncryptionTexts) {
  const struct {
    int status;
    int debugMode;
    const char16_t* stored;  // "WEPStatus"; null for none
    const char16_t* shown;
  } cases[] = {
      {0, 0, nullptr, u"WEP"},     {2, 0, nullptr, u"WEP"},    {1, 0, nullptr, u"NONE"},
      {4, 0, nullptr, u"TKIP"},    {5, 0, nullptr, u"TKIP"},   {6, 0, nullptr, u"AES"},
      {7, 0, nullptr, u"AES"},     {3, 0, nullptr, u"Unknown"}, {8, 0, nullptr, u"Unknown"},
      {-1, 0, nullptr, u"before"}, {-3, 1, u"1", u"before"},
      {4, 1, u"1", u"Q:? S:D"},    {0, 1, u"0", u"Q:E S:E"},   {1, 1, nullptr, u"Q:D S:?"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.status);
    product.debugMode = c.debugMode;
    driver.Answer("QueryWL_WEPStatus", c.status);
    ASSERT_EQ(store.WriteSetting(config::key::WEPStatus, c.stored ? c.stored : u""), 0);
    Refresh([&](Dialog& d) { EXPECT_EQ(d.GetText(id::PanelValue5), c.shown); });
  }
}

}  // namespace
}  // namespace ui::testing
