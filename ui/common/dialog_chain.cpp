#include "ui/common/dialog_chain.h"

#include <stdexcept>

namespace ui {

bool DialogChain::Registrable(int number) {
  return number >= 1 && number <= kMaxNumber && number != dialog_number::Wpa;
}

DialogChain::Registration::Registration(DialogChain& chain, int number,
                                        platform::window::Dialog& dialog, int opener)
    : chain_(chain), number_(number), opener_(opener) {
  if (!Registrable(number)) throw std::logic_error("dialog number cannot join the chain");
  chain_.entries_[static_cast<std::size_t>(number)] = Entry{&dialog, opener};
  chain_.active_ = number;
}

DialogChain::Registration::~Registration() {
  chain_.entries_[static_cast<std::size_t>(number_)] = Entry{};
  if (chain_.active_ == number_) chain_.active_ = opener_;
}

platform::window::Dialog* DialogChain::Registered(int number) const {
  if (number == dialog_number::Main) return main_;
  if (!Registrable(number)) return nullptr;
  return entries_[static_cast<std::size_t>(number)].dialog;
}

void DialogChain::CloseDialogChain(ChainClose variant) {
  int n = active_;
  // Each step moves to an opener; a malformed chain (a dialog naming itself or a loop) must not
  // spin forever, and no chain is longer than every number once.
  for (int steps = 0; steps <= kMaxNumber + 1; ++steps) {
    if (n == dialog_number::Main) {
      if (!main_) return;
      switch (variant) {
        case ChainClose::End:
          main_->EndDialog(0);
          break;
        case ChainClose::Hide:
          main_->ShowWindow(false);
          active_ = dialog_number::Main;
          break;
      }
      return;
    }
    if (!Registrable(n)) return;
    const Entry entry = entries_[static_cast<std::size_t>(n)];
    if (!entry.dialog) return;
    entry.dialog->EndDialog(0);
    n = entry.opener;
  }
}

}  // namespace ui
