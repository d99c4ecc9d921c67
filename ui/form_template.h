#pragma once
// Declarative description of a window or dialog: its controls with ids,
// kinds, texts and positions in dialog units, like a dialog resource.

#include <cstdint>
#include <string>
#include <vector>

#include "ui/menu.h"

namespace ui {

inline constexpr int kNoId = -1;

enum class ControlKind {
  Label,      // static text naming its buddy control
  Text,       // static text showing a value
  GroupBox,
  Edit,
  Button,
  CheckBox,
  RadioButton,
  ListBox,
  ComboBox,   // drop-down list without free text
  Light,      // status light showing the BLACK, GREEN or RED image
  Icon,       // the icon resource named by the control's text
  Graph,      // line chart of a few series over time, newest at the right; its text is the unit
};

enum Style : uint32_t {
  kDefaultButton = 1u << 0,
  kHidden = 1u << 1,
  kDisabled = 1u << 2,
  kReadOnly = 1u << 3,
  kMultiLine = 1u << 4,
  kVScroll = 1u << 5,
  kSorted = 1u << 6,       // list keeps its lines sorted
  kNoSelection = 1u << 7,  // list shows lines but never selects one
  kSunken = 1u << 8,
  kRightAlign = 1u << 9,
  kDigitsOnly = 1u << 10,
  kGroupStart = 1u << 11,  // first radio button of a group
  kVertical = 1u << 12,    // text written one letter under another
  kPushLike = 1u << 13,
  kManualCheck = 1u << 14, // check state changes only when the program sets it
  kFixedFont = 1u << 15,
  kTabStops = 1u << 16,    // tabs in list lines align columns
  kCentered = 1u << 17,
  kNotifyEdits = 1u << 18, // each change the user makes is reported as Notify::Edited
};

// What the window's "Copy" (Ctrl+C and context menu) puts on the clipboard.
enum class CopyKind {
  None,
  Values,       // "caption<TAB>value" for each labelled value
  ControlText,  // the text of one control: a list's lines or an edit's text
};

struct ControlTemplate {
  int id = kNoId;
  ControlKind kind = ControlKind::Text;
  std::string text;
  int x = 0, y = 0, w = 0, h = 0;  // dialog units
  uint32_t style = 0;
  int buddy = kNoId;  // for a Label: the control it names
  int max_length = 0; // for an Edit: 0 means no limit

  ControlTemplate with(uint32_t more) const {
    ControlTemplate c = *this;
    c.style |= more;
    return c;
  }
};

struct FormTemplate {
  std::string name;          // template name, e.g. "LSTAT"
  std::string window_class;  // e.g. "TVMN_LINKS"; empty for plain dialogs
  std::string title;
  int x = 0, y = 0;          // initial position inside the main window, dialog units
  int w = 0, h = 0;          // dialog units
  std::vector<ControlTemplate> controls;
  std::string icon;          // icon resource name, may be empty
  bool fixed_font = false;
  bool minimize_box = false;
  // Every key goes to the handler's onChar, Tab, Enter and Esc included,
  // instead of moving the focus or pressing a button.
  bool raw_keys = false;
  // Entries of the window's context menu; choosing one delivers
  // onCommand(id, Notify::Clicked).
  std::vector<MenuItem> context_menu;
  CopyKind copy = CopyKind::None;
  int copy_control = kNoId;  // with CopyKind::ControlText

  const ControlTemplate* find(int id) const {
    for (const auto& c : controls)
      if (c.id == id) return &c;
    return nullptr;
  }
};

// Builders that keep templates short and readable.
inline ControlTemplate Label(std::string text, int x, int y, int w, int h, int buddy = kNoId) {
  return {kNoId, ControlKind::Label, std::move(text), x, y, w, h, 0, buddy};
}
inline ControlTemplate Text(int id, std::string text, int x, int y, int w, int h) {
  return {id, ControlKind::Text, std::move(text), x, y, w, h};
}
inline ControlTemplate GroupBox(int id, std::string text, int x, int y, int w, int h) {
  return {id, ControlKind::GroupBox, std::move(text), x, y, w, h};
}
inline ControlTemplate Edit(int id, int x, int y, int w, int h, int max_length = 0) {
  return {id, ControlKind::Edit, "", x, y, w, h, 0, kNoId, max_length};
}
inline ControlTemplate Button(int id, std::string text, int x, int y, int w, int h) {
  return {id, ControlKind::Button, std::move(text), x, y, w, h};
}
inline ControlTemplate CheckBox(int id, std::string text, int x, int y, int w, int h) {
  return {id, ControlKind::CheckBox, std::move(text), x, y, w, h};
}
inline ControlTemplate RadioButton(int id, std::string text, int x, int y, int w, int h) {
  return {id, ControlKind::RadioButton, std::move(text), x, y, w, h};
}
inline ControlTemplate ListBox(int id, int x, int y, int w, int h) {
  return {id, ControlKind::ListBox, "", x, y, w, h};
}
inline ControlTemplate ComboBox(int id, int x, int y, int w, int h) {
  return {id, ControlKind::ComboBox, "", x, y, w, h};
}
inline ControlTemplate Light(int id, int x, int y, int w, int h) {
  return {id, ControlKind::Light, "", x, y, w, h};
}
inline ControlTemplate Graph(int id, std::string unit, int x, int y, int w, int h) {
  return {id, ControlKind::Graph, std::move(unit), x, y, w, h};
}
inline ControlTemplate IconImage(std::string icon, int x, int y, int w, int h) {
  return {kNoId, ControlKind::Icon, std::move(icon), x, y, w, h};
}

}  // namespace ui
