#pragma once
// The security dialogs on fakes: an in-memory setting store, a recording driver, a recording
// supplicant control and supplicant library, the built-in English texts and a scripted headless
// session on a virtual clock.

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

#include "adapter/testing/recording_adapter.h"
#include "config/setting_keys.h"
#include "platform/registry/memory_registry.h"
#include "platform/text/text.h"
#include "platform/window/headless/scripted_driver.h"
#include "security/testing/recording_supplicant.h"
#include "ui/security/security_dialog_ids.h"
#include "ui/security/security_dialog_services.h"

namespace ui::testing {

class SecurityDialogFixture {
 protected:
  SecurityDialogFixture() {
    store.SetAdapterInstance("0007");
    adapter.handle = adapter::testing::RecordingAdapterLibrary::kOpenHandle;
  }

  // Runs `dialog` with `body` inside its loop; the dialog is closed when the body returns.
  template <class DialogClass>
  int RunDialog(DialogClass& dialog, const std::function<void(DialogClass&)>& body) {
    session.driver.OnOpen(dialog.TemplateId(),
                          [&](platform::window::Dialog& d) { body(static_cast<DialogClass&>(d)); });
    return dialog.DoModal();
  }
  // What the next dialog of `templateId` does when it opens (it closes when `body` returns).
  void OnOpen(int templateId, std::function<void(platform::window::Dialog&)> body) {
    session.driver.OnOpen(templateId, std::move(body));
  }

  std::u16string Stored(std::u16string_view name) const { return store.ReadSettingString(name); }
  void StoreSetting(std::u16string_view name, std::u16string_view text) {
    ASSERT_EQ(store.WriteSetting(name, text), 0);
  }

  platform::VirtualClock clock;
  platform::window::headless::ScriptedSession session{clock};
  std::unique_ptr<platform::MemoryRegistry> registry = platform::CreateMemoryRegistry();
  config::SettingStore store{*registry};
  adapter::testing::RecordingAdapterLibrary driver;
  adapter::AdapterHandle adapter{};
  config::RadioState radio;
  config::RecordingSupplicantControl supplicant;
  security::testing::RecordingSupplicantLibrary certificates;
  lang::CMultiLanguage language;
  DialogChain chain;
  int reassociations = 0;
  SecurityDialogServices services{
      {driver, adapter, store, radio}, supplicant, language, chain, {1, 1}, &certificates,
      [this] { ++reassociations; }};
};

}  // namespace ui::testing
