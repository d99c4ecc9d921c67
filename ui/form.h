#pragma once
// A window or dialog as the logic sees it: controls addressed by id.

#include <string>
#include <string_view>
#include <vector>

#include "ui/form_template.h"

namespace ui {

enum class LightColour { Off, Green, Red };

// One line of a graph: its name and its values, oldest first.
struct GraphSeries {
  std::string name;
  std::vector<double> values;
};

enum class Notify {
  Clicked,           // button press, check box or radio button toggled by the user
  DoubleClicked,     // list line double-clicked
  SelectionChanged,  // list or combo box selection changed by the user
  Edited,            // the user changed an edit's text (only edits styled kNotifyEdits)
};

// A stretch of an edit's text to underline, with what it means. Offsets are
// bytes of the UTF-8 text.
struct TextMark {
  size_t start = 0;
  size_t length = 0;
  std::string tip;
};

class Form {
 public:
  virtual ~Form() = default;

  virtual const FormTemplate& formTemplate() const = 0;

  // Static texts, edits, buttons, check boxes, group boxes. Texts are UTF-8
  // and always shown as plain text.
  virtual void setText(int id, std::string_view text) = 0;
  virtual std::string text(int id) const = 0;
  virtual void setChecked(int id, bool checked) = 0;
  virtual bool isChecked(int id) const = 0;
  virtual void setEnabled(int id, bool enabled) = 0;
  virtual bool isEnabled(int id) const = 0;
  virtual void setVisible(int id, bool visible) = 0;
  virtual void setLight(int id, LightColour colour) = 0;
  virtual LightColour light(int id) const = 0;
  // Replaces what a graph shows.
  virtual void setGraph(int id, const std::vector<GraphSeries>& series) = 0;
  // Replaces the marks under an edit's text.
  virtual void setMarks(int id, const std::vector<TextMark>& marks) = 0;
  virtual std::vector<TextMark> marks(int id) const = 0;

  // List boxes and combo boxes.
  virtual void listClear(int id) = 0;
  // Appends, or inserts in order for a sorted list; returns the line's index.
  virtual int listAdd(int id, std::string_view text) = 0;
  virtual void listInsert(int id, int index, std::string_view text) = 0;
  virtual void listDelete(int id, int index) = 0;
  virtual int listCount(int id) const = 0;
  virtual std::string listText(int id, int index) const = 0;
  // Selects a line and scrolls it into view; -1 clears the selection.
  virtual void listSelect(int id, int index) = 0;
  virtual int listSelection(int id) const = 0;

  // The window itself.
  // Stale values are shown greyed: the last ones read, no longer current.
  virtual void setStale(bool stale) = 0;
  virtual bool isStale() const = 0;
  virtual void setTitle(std::string_view title) = 0;
  virtual std::string title() const = 0;
  virtual void bringToTop() = 0;
  virtual bool isMinimized() const = 0;
  virtual void minimize() = 0;
  virtual void restore() = 0;
  // Ends a modal dialog with the given result; the dialog closes once the
  // current event has been handled.
  virtual void endDialog(int result) = 0;
};

// What a window or dialog reacts to. Each handler serves one form.
class FormHandler {
 public:
  virtual ~FormHandler() = default;
  // The form exists with the template's controls, before it is shown.
  virtual void onInit(Form& form) = 0;
  virtual void onCommand(int id, Notify notify) { (void)id, (void)notify; }
  virtual void onTimer(int timer_id) { (void)timer_id; }
  // The private polling tick message.
  virtual void onPollTick() {}
  // Title-bar close box, system-menu Close, or a posted close request.
  virtual void onCloseRequest() {}
  // A character typed while the window has the focus (Tab, Enter, Esc included).
  virtual void onChar(uint8_t ch) { (void)ch; }
  virtual void onMouseDown() {}
};

}  // namespace ui
