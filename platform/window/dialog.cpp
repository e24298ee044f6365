#include "platform/window/dialog.h"

#include <algorithm>

#include "platform/text/text.h"
#include "platform/window/backend.h"

namespace platform::window {

namespace {

constexpr int kEnterKey = 13;
constexpr int kEscapeKey = 27;

std::u16string CutToLimit(std::u16string_view text, int limit) {
  if (limit <= 0) return std::u16string(text);
  return std::u16string(platform::CutUtf16(text, static_cast<std::size_t>(limit)));
}

// Upper case for ASCII and Latin-1 letters, as the platform's list searches compare.
char16_t FoldCase(char16_t c) {
  if (c >= u'a' && c <= u'z') return static_cast<char16_t>(c - 0x20);
  if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return static_cast<char16_t>(c - 0x20);
  return c;
}

bool StartsWithIgnoringCase(std::u16string_view text, std::u16string_view prefix) {
  if (prefix.size() > text.size()) return false;
  for (std::size_t i = 0; i < prefix.size(); ++i) {
    if (FoldCase(text[i]) != FoldCase(prefix[i])) return false;
  }
  return true;
}

bool IsCombo(ControlKind kind) {
  return kind == ControlKind::DropDownList || kind == ControlKind::ComboBox;
}

int ClampToRange(const ControlState& c, int position) {
  return std::clamp(position, c.rangeMin, std::max(c.rangeMin, c.rangeMax));
}

ControlState StateFromTemplate(const ControlTemplate& t) {
  ControlState c;
  c.id = t.id;
  c.kind = t.kind;
  c.enabled = (t.style & style::Disabled) == 0;
  c.visible = (t.style & style::Hidden) == 0;
  c.password = (t.style & style::Password) != 0;
  c.limit = t.limit;
  c.icon = t.icon;
  // A drop-down list has no edit field, so its template text shows nowhere.
  if (t.kind != ControlKind::DropDownList) c.text = CutToLimit(t.text, t.limit);
  return c;
}

}  // namespace

Dialog::Dialog(int templateId) : templateId_(templateId) {}

Dialog::~Dialog() = default;

int Dialog::DoModal() {
  const DialogTemplate* tmpl = TemplateRegistry::Instance().Find(templateId_);
  if (tmpl == nullptr || open_) return -1;
  Backend& backend = CurrentBackend();

  controls_.clear();
  for (const ControlTemplate& t : tmpl->controls) controls_.push_back(StateFromTemplate(t));
  caption_ = tmpl->caption;
  visible_ = true;
  result_.reset();
  timers_.clear();
  backend_ = &backend;
  open_ = true;
  backend.open_.push_back(this);
  view_ = backend.CreateView(*this);
  AnnounceCaption();

  // The backend must never keep a dialog that is gone, even when a handler throws.
  auto close = [&] {
    if (!timers_.empty()) {
      timers_.clear();
      backend.TimersChanged(*this);
    }
    std::erase(backend.open_, this);
    open_ = false;
    backend.DialogClosed(*this);
    view_.reset();
    titleClaim_.reset();
    backend_ = nullptr;
  };
  try {
    OnInitDialog();
    if (!result_) backend.RunModal(*this);
    OnDestroy();
  } catch (...) {
    close();
    throw;
  }
  close();
  return *result_;
}

void Dialog::EndDialog(int result) {
  if (!open_) return;
  result_ = result;
  backend_->DialogEnded(*this);
}

// ---- default event handlers

void Dialog::OnCommand(int id, CommandCode /*code*/) {
  if (id == IdOk || id == IdCancel) EndDialog(id);
}

int Dialog::OnNotify(int /*id*/, ListEvent /*event*/, int /*row*/) { return 0; }

void Dialog::OnTimer(int /*timerId*/) {}

void Dialog::OnHScroll(int /*id*/, int /*position*/) {}

void Dialog::OnSysCommand(unsigned command, int /*position*/) {
  if ((command & 0xFFF0u) == ScClose) OnClose();
}

void Dialog::OnClose() { EndDialog(IdCancel); }

bool Dialog::PreTranslateKey(int /*virtualKey*/) { return false; }

// ---- the window

void Dialog::AnnounceCaption() {
  titleClaim_.reset();
  platform::WindowTitles* titles = CurrentWindowTitles();
  if (open_ && titles != nullptr && !caption_.empty()) titleClaim_ = titles->Announce(caption_);
}

void Dialog::SetCaption(std::u16string_view caption) {
  if (caption_ == caption) return;
  caption_ = caption;
  AnnounceCaption();
  if (view_) view_->WindowChanged();
}

void Dialog::ShowWindow(bool visible) {
  visible_ = visible;
  if (view_) view_->WindowChanged();
}

void Dialog::MoveWindow(int x, int y) {
  x_ = x;
  y_ = y;
  if (view_) view_->WindowChanged();
}

void Dialog::CenterWindow() {
  if (view_) view_->Center();
}

void Dialog::BringToForeground() {
  if (view_) view_->Raise();
}

void Dialog::SetBigIcon(int iconResource) {
  bigIcon_ = iconResource;
  if (view_) view_->WindowChanged();
}

// ---- controls

ControlState* Dialog::Find(int id) {
  if (id <= 0) return nullptr;
  for (ControlState& c : controls_) {
    if (c.id == id) return &c;
  }
  return nullptr;
}

const ControlState* Dialog::Control(int id) const { return const_cast<Dialog*>(this)->Find(id); }

void Dialog::Changed(int id) {
  if (view_) view_->ControlChanged(id);
}

void Dialog::SetText(int id, std::u16string_view text) {
  ControlState* c = Find(id);
  if (c == nullptr) return;
  c->text = text;
  c->caret = std::min(c->caret, static_cast<int>(c->text.size()));
  Changed(id);
}

std::u16string Dialog::GetText(int id) const {
  const ControlState* c = Control(id);
  return c ? c->text : std::u16string();
}

void Dialog::Enable(int id, bool enabled) {
  ControlState* c = Find(id);
  if (c == nullptr) return;
  c->enabled = enabled;
  Changed(id);
}

bool Dialog::IsEnabled(int id) const {
  const ControlState* c = Control(id);
  return c && c->enabled;
}

void Dialog::Show(int id, bool visible) {
  ControlState* c = Find(id);
  if (c == nullptr) return;
  c->visible = visible;
  Changed(id);
}

bool Dialog::IsVisible(int id) const {
  const ControlState* c = Control(id);
  return c && c->visible;
}

void Dialog::LimitText(int id, int maxChars) {
  ControlState* c = Find(id);
  if (c == nullptr) return;
  c->limit = std::max(0, maxChars);
  c->text = CutToLimit(c->text, c->limit);
  c->caret = std::min(c->caret, static_cast<int>(c->text.size()));
  Changed(id);
}

void Dialog::SetCaret(int id, int position) {
  ControlState* c = Find(id);
  if (c == nullptr) return;
  c->caret = std::clamp(position, 0, static_cast<int>(c->text.size()));
  Changed(id);
}

int Dialog::Caret(int id) const {
  const ControlState* c = Control(id);
  return c ? c->caret : 0;
}

void Dialog::SetCheck(int id, bool checked) {
  ControlState* c = Find(id);
  if (c == nullptr) return;
  c->checked = checked;
  Changed(id);
}

bool Dialog::GetCheck(int id) const {
  const ControlState* c = Control(id);
  return c && c->checked;
}

void Dialog::CheckRadioButton(int firstId, int lastId, int checkId) {
  for (ControlState& c : controls_) {
    if (c.id < firstId || c.id > lastId || c.id <= 0) continue;
    if (c.kind != ControlKind::RadioButton && c.kind != ControlKind::CheckBox) continue;
    const bool checked = c.id == checkId;
    if (c.checked == checked) continue;
    c.checked = checked;
    Changed(c.id);
  }
}

void Dialog::ComboReset(int id) {
  ControlState* c = Find(id);
  if (c == nullptr) return;
  c->items.clear();
  c->selection = -1;
  c->text.clear();
  c->caret = 0;
  Changed(id);
}

int Dialog::ComboAdd(int id, std::u16string_view text) { return ComboInsert(id, -1, text); }

int Dialog::ComboInsert(int id, int index, std::u16string_view text) {
  ControlState* c = Find(id);
  if (c == nullptr) return -1;
  const int count = static_cast<int>(c->items.size());
  if (index < 0) index = count;
  if (index > count) return -1;
  c->items.insert(c->items.begin() + index, std::u16string(text));
  if (c->selection >= index) ++c->selection;  // the selected entry stays selected
  Changed(id);
  return index;
}

int Dialog::ComboCount(int id) const {
  const ControlState* c = Control(id);
  return c ? static_cast<int>(c->items.size()) : 0;
}

std::u16string Dialog::ComboItem(int id, int index) const {
  const ControlState* c = Control(id);
  if (c == nullptr || index < 0 || index >= static_cast<int>(c->items.size())) return {};
  return c->items[static_cast<std::size_t>(index)];
}

int Dialog::ComboSelection(int id) const {
  const ControlState* c = Control(id);
  return c ? c->selection : -1;
}

void Dialog::ComboSelect(int id, int index) {
  ControlState* c = Find(id);
  if (c == nullptr) return;
  // An index outside the entries clears the selection, as -1 does.
  if (index < 0 || index >= static_cast<int>(c->items.size())) {
    c->selection = -1;
    c->text.clear();
  } else {
    c->selection = index;
    c->text = c->items[static_cast<std::size_t>(index)];
  }
  c->caret = 0;
  Changed(id);
}

int Dialog::ComboFindPrefix(int id, std::u16string_view prefix, int after) const {
  const ControlState* c = Control(id);
  if (c == nullptr || c->items.empty()) return -1;
  const int count = static_cast<int>(c->items.size());
  // The search wraps around to the top and ends at `after`, as the platform's does.
  const int start = (after < 0 || after >= count) ? 0 : after + 1;
  for (int i = 0; i < count; ++i) {
    const int index = (start + i) % count;
    if (StartsWithIgnoringCase(c->items[static_cast<std::size_t>(index)], prefix)) return index;
  }
  return -1;
}

void Dialog::ListDeleteAllColumns(int id) {
  ControlState* c = Find(id);
  if (c == nullptr) return;
  c->columns.clear();
  Changed(id);
}

void Dialog::ListInsertColumn(int id, int column, std::u16string_view title, int widthPixels) {
  ControlState* c = Find(id);
  if (c == nullptr) return;
  const int count = static_cast<int>(c->columns.size());
  column = std::clamp(column, 0, count);
  c->columns.insert(c->columns.begin() + column, ListColumn{std::u16string(title), widthPixels});
  // Cells move with their columns; rows that already have cells beyond the new one shift.
  for (auto& row : c->rows) {
    if (static_cast<int>(row.size()) > column) row.insert(row.begin() + column, std::u16string());
  }
  Changed(id);
}

void Dialog::ListDeleteAllItems(int id) {
  ControlState* c = Find(id);
  if (c == nullptr) return;
  c->rows.clear();
  c->selection = -1;
  Changed(id);
}

int Dialog::ListInsertItem(int id, int row, std::u16string_view text) {
  ControlState* c = Find(id);
  if (c == nullptr) return -1;
  const int count = static_cast<int>(c->rows.size());
  if (row < 0 || row > count) row = count;
  std::vector<std::u16string> cells(std::max<std::size_t>(1, c->columns.size()));
  cells[0] = text;
  c->rows.insert(c->rows.begin() + row, std::move(cells));
  if (c->selection >= row) ++c->selection;  // the mark stays on its row
  Changed(id);
  return row;
}

void Dialog::ListSetItemText(int id, int row, int column, std::u16string_view text) {
  ControlState* c = Find(id);
  if (c == nullptr || row < 0 || row >= static_cast<int>(c->rows.size()) || column < 0) return;
  if (column >= static_cast<int>(std::max<std::size_t>(1, c->columns.size()))) return;
  auto& cells = c->rows[static_cast<std::size_t>(row)];
  if (static_cast<int>(cells.size()) <= column) cells.resize(static_cast<std::size_t>(column) + 1);
  cells[static_cast<std::size_t>(column)] = text;
  Changed(id);
}

int Dialog::ListItemCount(int id) const {
  const ControlState* c = Control(id);
  return c ? static_cast<int>(c->rows.size()) : 0;
}

std::u16string Dialog::ListItemText(int id, int row, int column) const {
  const ControlState* c = Control(id);
  if (c == nullptr || row < 0 || row >= static_cast<int>(c->rows.size()) || column < 0) return {};
  const auto& cells = c->rows[static_cast<std::size_t>(row)];
  return column < static_cast<int>(cells.size()) ? cells[static_cast<std::size_t>(column)]
                                                 : std::u16string();
}

int Dialog::ListSelectionMark(int id) const {
  const ControlState* c = Control(id);
  return c ? c->selection : -1;
}

void Dialog::ListSetSelectionMark(int id, int row) {
  ControlState* c = Find(id);
  if (c == nullptr) return;
  c->selection = (row >= 0 && row < static_cast<int>(c->rows.size())) ? row : -1;
  Changed(id);
}

void Dialog::ListSetFullRowSelect(int id, bool on) {
  ControlState* c = Find(id);
  if (c == nullptr) return;
  c->fullRowSelect = on;
  Changed(id);
}

void Dialog::TrackSetRange(int id, int min, int max) {
  ControlState* c = Find(id);
  if (c == nullptr) return;
  c->rangeMin = min;
  c->rangeMax = max;
  c->position = ClampToRange(*c, c->position);
  Changed(id);
}

void Dialog::TrackSetTickFrequency(int id, int frequency) {
  ControlState* c = Find(id);
  if (c == nullptr) return;
  c->tickFrequency = frequency;
  Changed(id);
}

void Dialog::TrackSetPageSize(int id, int pageSize) {
  ControlState* c = Find(id);
  if (c == nullptr) return;
  c->pageSize = pageSize;
  Changed(id);
}

void Dialog::TrackSetPosition(int id, int position) {
  ControlState* c = Find(id);
  if (c == nullptr) return;
  c->position = ClampToRange(*c, position);
  Changed(id);
}

int Dialog::TrackPosition(int id) const {
  const ControlState* c = Control(id);
  return c ? c->position : 0;
}

void Dialog::ProgressSetRange(int id, int min, int max) { TrackSetRange(id, min, max); }

void Dialog::ProgressSetPosition(int id, int position) { TrackSetPosition(id, position); }

void Dialog::SetPictureIcon(int id, int iconResource) {
  ControlState* c = Find(id);
  if (c == nullptr) return;
  c->icon = iconResource;
  Changed(id);
}

// ---- timers, posted commands, message boxes

void Dialog::SetTimer(int timerId, std::chrono::milliseconds period) {
  if (!open_) return;  // a timer belongs to a window that exists
  // Setting a running timer again restarts it: the backend sees it go and come back.
  if (timers_.erase(timerId) != 0) backend_->TimersChanged(*this);
  timers_[timerId] = std::max(period, std::chrono::milliseconds(1));
  backend_->TimersChanged(*this);
}

void Dialog::KillTimer(int timerId) {
  if (timers_.erase(timerId) != 0 && open_) backend_->TimersChanged(*this);
}

void Dialog::PostCommand(int commandId) {
  if (open_) backend_->Post(*this, commandId);
}

MessageResult Dialog::MessageBox(std::u16string_view text, std::u16string_view caption,
                                 MessageButtons buttons, MessageIcon icon) {
  Backend& backend = open_ ? *backend_ : CurrentBackend();
  return backend.ShowMessageBox(open_ ? this : nullptr, text, caption, buttons, icon);
}

// ---- what a user does

bool Dialog::Reachable() const { return open_ && !result_ && visible_; }

bool Dialog::Actionable(const ControlState* c) const {
  return Reachable() && c != nullptr && c->enabled && c->visible;
}

void Dialog::CheckInGroup(int id) {
  // The group is the run of radio buttons around `id`, bounded by a GroupStart radio (which
  // belongs to the group it starts) or by any control that is not a radio button.
  const DialogTemplate* tmpl = TemplateRegistry::Instance().Find(templateId_);
  auto startsGroup = [&](std::size_t i) {
    return tmpl != nullptr && i < tmpl->controls.size() &&
           (tmpl->controls[i].style & style::GroupStart) != 0;
  };
  std::size_t at = 0;
  while (at < controls_.size() && controls_[at].id != id) ++at;
  if (at == controls_.size()) return;
  std::size_t first = at;
  while (first > 0 && !startsGroup(first) && controls_[first - 1].kind == ControlKind::RadioButton)
    --first;
  std::size_t last = at;
  while (last + 1 < controls_.size() && controls_[last + 1].kind == ControlKind::RadioButton &&
         !startsGroup(last + 1))
    ++last;
  for (std::size_t i = first; i <= last; ++i) {
    const bool checked = i == at;
    if (controls_[i].checked == checked) continue;
    controls_[i].checked = checked;
    Changed(controls_[i].id);
  }
}

void Dialog::UserClick(int id) {
  ControlState* c = Find(id);
  if (!Actionable(c)) return;
  switch (c->kind) {
    case ControlKind::Button:
      break;
    case ControlKind::CheckBox:
      c->checked = !c->checked;
      Changed(id);
      break;
    case ControlKind::RadioButton:
      CheckInGroup(id);
      break;
    case ControlKind::Label:
    case ControlKind::Edit:
    case ControlKind::DropDownList:
    case ControlKind::ComboBox:
    case ControlKind::ListView:
    case ControlKind::TrackBar:
    case ControlKind::ProgressBar:
    case ControlKind::GroupBox:
    case ControlKind::Picture:
      return;  // no click notification from these
  }
  OnCommand(id, CommandCode::Clicked);
}

void Dialog::UserSelect(int id, int index) {
  ControlState* c = Find(id);
  if (!Actionable(c)) return;
  if (IsCombo(c->kind)) {
    if (index < 0 || index >= static_cast<int>(c->items.size())) return;
    c->selection = index;
    c->text = c->items[static_cast<std::size_t>(index)];
    c->caret = 0;
    Changed(id);
    OnCommand(id, CommandCode::SelChange);
  } else if (c->kind == ControlKind::ListView) {
    if (index < 0 || index >= static_cast<int>(c->rows.size())) return;
    c->selection = index;
    Changed(id);
    OnNotify(id, ListEvent::Click, index);
  }
}

void Dialog::UserDoubleClick(int id, int row) {
  ControlState* c = Find(id);
  if (!Actionable(c) || c->kind != ControlKind::ListView) return;
  if (row < 0 || row >= static_cast<int>(c->rows.size())) return;
  c->selection = row;
  Changed(id);
  OnNotify(id, ListEvent::DoubleClick, row);
}

void Dialog::UserType(int id, std::u16string_view text) {
  ControlState* c = Find(id);
  if (!Actionable(c) || (c->kind != ControlKind::Edit && c->kind != ControlKind::ComboBox)) return;
  c->text = CutToLimit(text, c->limit);
  c->caret = static_cast<int>(c->text.size());
  Changed(id);
  OnCommand(id, CommandCode::EditChange);
}

void Dialog::UserScroll(int id, int position) {
  ControlState* c = Find(id);
  if (!Actionable(c) || c->kind != ControlKind::TrackBar) return;
  c->position = ClampToRange(*c, position);
  Changed(id);
  OnHScroll(id, c->position);
}

void Dialog::UserKey(int virtualKey) {
  if (!Reachable() || PreTranslateKey(virtualKey)) return;
  int target = IdCancel;
  if (virtualKey == kEnterKey) {
    // The default push button takes Enter; without one the platform sends IdOk.
    target = IdOk;
    if (const DialogTemplate* tmpl = TemplateRegistry::Instance().Find(templateId_)) {
      for (const ControlTemplate& t : tmpl->controls) {
        if (t.kind == ControlKind::Button && (t.style & style::Default) != 0 && t.id > 0) {
          target = t.id;
          break;
        }
      }
    }
  } else if (virtualKey != kEscapeKey) {
    return;
  }
  // A disabled or hidden button of that id ignores its key.
  if (const ControlState* c = Find(target); c != nullptr && !Actionable(c)) return;
  OnCommand(target, CommandCode::Clicked);
}

int Dialog::TitleBarPosition() const {
  // A point just inside the window's top-left corner stands for the box that was clicked.
  const unsigned x = static_cast<unsigned>(x_ + 8) & 0xFFFFu;
  const unsigned y = static_cast<unsigned>(y_ + 8) & 0xFFFFu;
  const int packed = static_cast<int>(x | (y << 16));
  return packed != 0 ? packed : 1;
}

void Dialog::UserClose() {
  if (!Reachable()) return;
  OnSysCommand(ScClose, TitleBarPosition());
}

void Dialog::UserMinimize() {
  if (!Reachable()) return;
  OnSysCommand(ScMinimize, TitleBarPosition());
}

}  // namespace platform::window
