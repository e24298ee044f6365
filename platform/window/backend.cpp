#include "platform/window/backend.h"

#include <stdexcept>

namespace platform::window {

namespace {
Backend* g_backend = nullptr;
platform::WindowTitles* g_titles = nullptr;
}  // namespace

Backend& CurrentBackend() {
  if (g_backend == nullptr) throw std::logic_error("no window backend has been set");
  return *g_backend;
}

void SetCurrentBackend(Backend* backend) { g_backend = backend; }

void SetWindowTitles(platform::WindowTitles* titles) { g_titles = titles; }

platform::WindowTitles* CurrentWindowTitles() { return g_titles; }

void Backend::AttachView(Dialog& dialog, std::unique_ptr<DialogView> view) {
  dialog.view_ = std::move(view);
}

bool Backend::EndRequested(const Dialog& dialog) { return dialog.result_.has_value(); }

}  // namespace platform::window
