#include "ui/common/dialog_chain.h"

#include <gtest/gtest.h>

#include <optional>
#include <vector>

#include "platform/clock/clock.h"
#include "platform/window/headless/scripted_driver.h"

namespace ui {
namespace {

using platform::window::Dialog;
using platform::window::DialogTemplate;
using platform::window::TemplateRegistry;

constexpr int kTestTemplate = 9300;

// A dialog that joins the chain under its number while it is open.
class ChainedDialog final : public Dialog {
 public:
  ChainedDialog(DialogChain& chain, int number, int opener)
      : Dialog(kTestTemplate), chain_(chain), number_(number), opener_(opener) {}
  bool OnInitDialog() override {
    if (number_ == dialog_number::Main) {
      chain_.SetMainWindow(this);
    } else {
      registration_.emplace(chain_, number_, *this, opener_);
    }
    return true;
  }
  void OnDestroy() override { registration_.reset(); }

 private:
  DialogChain& chain_;
  int number_;
  int opener_;
  std::optional<DialogChain::Registration> registration_;
};

class DialogChainTest : public ::testing::Test {
 protected:
  DialogChainTest() {
    DialogTemplate t;
    t.id = kTestTemplate;
    t.width = 100;
    t.height = 50;
    TemplateRegistry::Instance().Add(t);
  }

  // Opens the main window and the dialogs of `numbers` nested in that order (each opened by the
  // one before), runs `innermost` inside the last, and records every result, innermost first.
  void RunNested(const std::vector<int>& numbers, std::function<void()> innermost) {
    ChainedDialog main(chain, dialog_number::Main, dialog_number::Main);
    std::function<void(std::size_t)> open = [&](std::size_t level) {
      if (level == numbers.size()) {
        innermost();
        return;
      }
      const int opener = level == 0 ? dialog_number::Main : numbers[level - 1];
      ChainedDialog dialog(chain, numbers[level], opener);
      session.driver.OnOpen(kTestTemplate, [&, level](Dialog&) { open(level + 1); });
      results.push_back(dialog.DoModal());
    };
    session.driver.OnOpen(kTestTemplate, [&](Dialog& d) {
      open(0);
      mainVisibleAfterChildren = d.IsWindowVisible();
    });
    mainResult = main.DoModal();
  }

  platform::VirtualClock clock;
  platform::window::headless::ScriptedSession session{clock};
  DialogChain chain;
  std::vector<int> results;
  int mainResult = -1;
  bool mainVisibleAfterChildren = true;
};

TEST_F(DialogChainTest, EndVariantEndsEveryDialogAndTheMainWindowWithZero) {
  RunNested({dialog_number::MoreSettings, dialog_number::WepKeys,
             dialog_number::WepKeyInformation},
            [&] {
              EXPECT_EQ(chain.ActiveDialogNumber(), dialog_number::WepKeyInformation);
              chain.CloseDialogChain(ChainClose::End);
            });
  EXPECT_EQ(results, (std::vector<int>{0, 0, 0}));
  EXPECT_EQ(mainResult, 0);
}

TEST_F(DialogChainTest, HideVariantEndsTheDialogsAndKeepsTheMainWindowHidden) {
  RunNested({dialog_number::AccessPoint, dialog_number::MacFilter}, [&] {
    chain.CloseDialogChain(ChainClose::Hide);
    EXPECT_EQ(chain.ActiveDialogNumber(), dialog_number::Main);
  });
  EXPECT_EQ(results, (std::vector<int>{0, 0}));
  EXPECT_FALSE(mainVisibleAfterChildren);
  // Not ended by the walk: the backend closed it afterwards.
  EXPECT_EQ(mainResult, platform::window::IdCancel);
  EXPECT_EQ(chain.ActiveDialogNumber(), dialog_number::Main);
  EXPECT_EQ(chain.Registered(dialog_number::AccessPoint), nullptr);
}

TEST_F(DialogChainTest, WalkStopsAtANumberWithoutARegisteredDialog) {
  // The WPA dialog never registers: a walk starting there ends nothing.
  RunNested({dialog_number::MoreSettings}, [&] {
    chain.SetActiveDialogNumber(dialog_number::Wpa);
    chain.CloseDialogChain(ChainClose::End);
    chain.SetActiveDialogNumber(dialog_number::MoreSettings);
  });
  // Nothing ended them: the backend closed both with the close box.
  EXPECT_EQ(results, (std::vector<int>{platform::window::IdCancel}));
  EXPECT_EQ(mainResult, platform::window::IdCancel);
}

TEST_F(DialogChainTest, ClosingADialogMakesItsOpenerActiveAgain) {
  RunNested({dialog_number::MoreSettings, dialog_number::Advanced}, [&] {
    EXPECT_NE(chain.Registered(dialog_number::Advanced), nullptr);
  });
  EXPECT_EQ(chain.ActiveDialogNumber(), dialog_number::Main);
  EXPECT_EQ(chain.Registered(dialog_number::MoreSettings), nullptr);
}

TEST(DialogChainRegistration, RefusesNumbersOutsideTheChain) {
  platform::VirtualClock clock;
  platform::window::headless::ScriptedSession session{clock};
  DialogChain chain;
  ChainedDialog dialog(chain, 1, 0);
  for (int number : {dialog_number::Main, dialog_number::Wpa, 9, -1}) {
    EXPECT_THROW(DialogChain::Registration(chain, number, dialog, 0), std::logic_error) << number;
  }
}

}  // namespace
}  // namespace ui
