#include "platform/window/qt/tests/qt_test_env.h"

#include <gtest/gtest.h>

#include <QByteArray>
#include <memory>

namespace platform::window::testing {
namespace {

int g_argc = 1;
char g_program[] = "platform_window_qt_test";
char* g_argv[] = {g_program, nullptr};
QtBackend* g_backend = nullptr;

class QtEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    // Tests never open windows on a real desktop.
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    backend_ = std::make_unique<QtBackend>(g_argc, g_argv);
    g_backend = backend_.get();
    SetCurrentBackend(g_backend);
  }
  void TearDown() override {
    SetCurrentBackend(nullptr);
    g_backend = nullptr;
    backend_.reset();
  }

 private:
  std::unique_ptr<QtBackend> backend_;
};

[[maybe_unused]] ::testing::Environment* const g_environment =
    ::testing::AddGlobalTestEnvironment(new QtEnvironment);

}  // namespace

QtBackend& TestBackend() { return *g_backend; }

}  // namespace platform::window::testing
