#pragma once
// The dialog base class. A dialog class (the main window, each settings dialog) derives from it,
// handles events, and changes its controls only through calls on control ids. The state of
// every control lives here, in memory, whatever backend shows it: the headless backend shows
// nothing, the Qt backend mirrors it into widgets and feeds the user's changes back through the
// same User* calls that tests and the automation mode use.

#include <chrono>
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/process/process.h"
#include "platform/window/dialog_template.h"

namespace platform::window {

class Backend;
class DialogView;

// Notification codes of OnCommand, named after their Win32 counterparts.
enum class CommandCode {
  Clicked,     // BN_CLICKED: button, check box, radio button
  SelChange,   // CBN_SELCHANGE: drop-down list or combo box
  EditChange,  // EN_CHANGE: edit box or combo edit field changed by the user
  Menu,        // a command posted by a menu or another window (no control)
};

// List view notifications of OnNotify.
enum class ListEvent { Click, DoubleClick };

// System commands of OnSysCommand (the low four bits cleared).
inline constexpr unsigned ScMinimize = 0xF020;
inline constexpr unsigned ScClose = 0xF060;

inline constexpr int IdOk = 1;
inline constexpr int IdCancel = 2;

enum class MessageButtons { Ok, YesNo };
enum class MessageIcon { None, Question, Information, Exclamation };
enum class MessageResult { Ok = 1, Yes = 6, No = 7 };

struct ListColumn {
  std::u16string title;
  int width = 0;  // pixels
};

// Everything a control shows; the headless dump prints exactly this.
struct ControlState {
  int id = 0;
  ControlKind kind = ControlKind::Label;
  std::u16string text;  // label, button, edit, combo edit field, group title
  bool enabled = true;
  bool visible = true;
  bool password = false;
  int limit = 0;                      // edit: 0 for no limit
  int caret = 0;                      // edit: caret position
  std::vector<std::u16string> items;  // combo entries
  int selection = -1;                 // combo: selected entry; list view: selection mark
  bool checked = false;               // check box, radio button
  std::vector<ListColumn> columns;    // list view
  std::vector<std::vector<std::u16string>> rows;  // list view: one text per column
  bool fullRowSelect = false;
  int rangeMin = 0, rangeMax = 100;  // track bar, progress bar
  int position = 0;                  // track bar, progress bar
  int tickFrequency = 0, pageSize = 0;
  int icon = 0;  // picture
};

class Dialog {
 public:
  Dialog(int templateId);
  virtual ~Dialog();
  Dialog(const Dialog&) = delete;
  Dialog& operator=(const Dialog&) = delete;

  // Creates the controls from the template, runs OnInitDialog and then the backend's modal loop
  // until EndDialog; returns its result. Nested calls nest.
  int DoModal();
  void EndDialog(int result);
  bool IsOpen() const { return open_; }
  // True once EndDialog was called on the open dialog: its loop ends when the handler returns.
  bool Ending() const { return open_ && result_.has_value(); }
  int TemplateId() const { return templateId_; }

  // ---- events; the defaults do what the platform's dialog class does
  virtual bool OnInitDialog() { return true; }
  virtual void OnCommand(int id, CommandCode code);  // IdOk/IdCancel end the dialog
  virtual int OnNotify(int id, ListEvent event, int row);
  virtual void OnTimer(int timerId);
  virtual void OnHScroll(int id, int position);
  virtual void OnSysCommand(unsigned command, int position);  // ScClose -> OnClose
  virtual void OnClose();  // close box: EndDialog(IdCancel)
  virtual void OnDestroy() {}
  // Key presses before the dialog sees them; true swallows the key. Enter presses the default
  // button, Escape closes, unless swallowed here.
  virtual bool PreTranslateKey(int virtualKey);
  // The desktop's notification area was re-created.
  virtual void OnTaskbarCreated() {}

  // ---- the window
  void SetCaption(std::u16string_view caption);
  const std::u16string& Caption() const { return caption_; }
  void ShowWindow(bool visible);
  bool IsWindowVisible() const { return visible_; }
  void MoveWindow(int x, int y);  // screen position of the top-left corner
  void CenterWindow();
  void BringToForeground();
  void SetBigIcon(int iconResource);

  // ---- controls by id; calls on an id the template lacks do nothing and read as empty
  void SetText(int id, std::u16string_view text);
  std::u16string GetText(int id) const;
  void Enable(int id, bool enabled);
  bool IsEnabled(int id) const;
  void Show(int id, bool visible);
  bool IsVisible(int id) const;

  void LimitText(int id, int maxChars);  // also cuts the current text
  void SetCaret(int id, int position);
  int Caret(int id) const;

  void SetCheck(int id, bool checked);
  bool GetCheck(int id) const;
  // Checks `checkId` and clears the other radio buttons with ids first..last.
  void CheckRadioButton(int firstId, int lastId, int checkId);

  void ComboReset(int id);  // removes entries, selection and edit text
  int ComboAdd(int id, std::u16string_view text);  // returns the new index
  int ComboInsert(int id, int index, std::u16string_view text);
  int ComboCount(int id) const;
  std::u16string ComboItem(int id, int index) const;
  int ComboSelection(int id) const;         // -1 when none
  void ComboSelect(int id, int index);      // -1 clears; also sets the edit text
  // First entry starting with `prefix` without letter case, from index `after` + 1; -1 when none.
  int ComboFindPrefix(int id, std::u16string_view prefix, int after = -1) const;

  void ListDeleteAllColumns(int id);
  void ListInsertColumn(int id, int column, std::u16string_view title, int widthPixels);
  void ListDeleteAllItems(int id);
  int ListInsertItem(int id, int row, std::u16string_view text);  // returns the row
  void ListSetItemText(int id, int row, int column, std::u16string_view text);
  int ListItemCount(int id) const;
  std::u16string ListItemText(int id, int row, int column) const;
  int ListSelectionMark(int id) const;  // -1 when none
  void ListSetSelectionMark(int id, int row);
  void ListSetFullRowSelect(int id, bool on);

  void TrackSetRange(int id, int min, int max);
  void TrackSetTickFrequency(int id, int frequency);
  void TrackSetPageSize(int id, int pageSize);
  void TrackSetPosition(int id, int position);  // clamped into the range
  int TrackPosition(int id) const;

  void ProgressSetRange(int id, int min, int max);
  void ProgressSetPosition(int id, int position);

  void SetPictureIcon(int id, int iconResource);

  // ---- timers, posted commands, message boxes
  void SetTimer(int timerId, std::chrono::milliseconds period);
  void KillTimer(int timerId);
  // Delivered as OnCommand(commandId, CommandCode::Menu) by the modal loop once the current
  // handler has returned.
  void PostCommand(int commandId);
  MessageResult MessageBox(std::u16string_view text, std::u16string_view caption,
                           MessageButtons buttons, MessageIcon icon);

  // ---- what a user does; each acts only on an enabled, visible control of a shown, open
  // dialog and sends the notification the platform would send. Backends and the automation
  // mode drive dialogs through these.
  void UserClick(int id);                          // button, check box (toggles), radio (checks)
  void UserSelect(int id, int index);              // combo entry or list row (click)
  void UserDoubleClick(int id, int row);           // list row
  void UserType(int id, std::u16string_view text); // replaces the text, cut to the limit
  void UserScroll(int id, int position);           // track bar
  void UserKey(int virtualKey);                    // Enter 13, Escape 27
  // The close and minimise boxes send OnSysCommand with the cursor's screen position packed
  // as the platform packs it (x in the low 16 bits, y in the high ones), which is never 0: a
  // position of 0 means the command came from the keyboard.
  void UserClose();                                // the close box
  void UserMinimize();                             // the minimise box

  // ---- state for backends and tests
  const ControlState* Control(int id) const;
  const std::vector<ControlState>& Controls() const { return controls_; }
  const std::map<int, std::chrono::milliseconds>& Timers() const { return timers_; }
  int WindowX() const { return x_; }
  int WindowY() const { return y_; }
  int BigIcon() const { return bigIcon_; }

 private:
  ControlState* Find(int id);
  void Changed(int id);  // tells the view that a control changed
  void AnnounceCaption();
  bool Reachable() const;  // the user can reach the window: open, not ending, shown
  int TitleBarPosition() const;  // where the mouse is when it clicks a box of the title bar
  bool Actionable(const ControlState* c) const;
  void CheckInGroup(int id);  // a radio checks itself and clears the rest of its group

  int templateId_;
  std::vector<ControlState> controls_;
  std::u16string caption_;
  bool visible_ = true;
  bool open_ = false;
  int x_ = 0, y_ = 0;
  int bigIcon_ = 0;
  std::optional<int> result_;
  std::map<int, std::chrono::milliseconds> timers_;
  std::unique_ptr<DialogView> view_;
  Backend* backend_ = nullptr;  // the backend that runs the dialog while it is open
  std::unique_ptr<platform::WindowTitles::Claim> titleClaim_;
  friend class Backend;
};

}  // namespace platform::window
