#pragma once
// A Form without a display: keeps every control's state and lets a test act
// as the user (click, type, select) and read what the logic wrote.

#include <map>
#include <string>
#include <vector>

#include "ui/form.h"

namespace fake {

struct ControlState {
  std::string text;
  bool checked = false;
  bool enabled = true;
  bool visible = true;
  ui::LightColour light = ui::LightColour::Off;
  std::vector<std::string> lines;
  int selection = -1;
  std::vector<ui::GraphSeries> graph;
  std::vector<ui::TextMark> marks;
};

class FakeForm : public ui::Form {
 public:
  FakeForm(const ui::FormTemplate& t, ui::FormHandler& handler);

  // ui::Form
  const ui::FormTemplate& formTemplate() const override { return template_; }
  void setText(int id, std::string_view text) override;
  std::string text(int id) const override;
  void setChecked(int id, bool checked) override;
  bool isChecked(int id) const override;
  void setEnabled(int id, bool enabled) override;
  bool isEnabled(int id) const override;
  void setVisible(int id, bool visible) override;
  void setLight(int id, ui::LightColour colour) override;
  ui::LightColour light(int id) const override;
  void setGraph(int id, const std::vector<ui::GraphSeries>& series) override { state(id).graph = series; }
  void setMarks(int id, const std::vector<ui::TextMark>& marks) override { state(id).marks = marks; }
  std::vector<ui::TextMark> marks(int id) const override { return state(id).marks; }
  void setStale(bool stale) override { stale_ = stale; }
  bool isStale() const override { return stale_; }
  void listClear(int id) override;
  int listAdd(int id, std::string_view text) override;
  void listInsert(int id, int index, std::string_view text) override;
  void listDelete(int id, int index) override;
  int listCount(int id) const override;
  std::string listText(int id, int index) const override;
  void listSelect(int id, int index) override;
  int listSelection(int id) const override;
  void setTitle(std::string_view title) override { title_ = title; }
  std::string title() const override { return title_; }
  void bringToTop() override { ++raised_; }
  bool isMinimized() const override { return minimized_; }
  void minimize() override { minimized_ = true; }
  void restore() override { minimized_ = false; }
  void endDialog(int result) override;

  // Acting as the user. Each delivers the event the real control would.
  void click(int id);                          // button, check box, radio button
  void type(int id, std::string_view text);    // replaces an edit's text, no event
  void edit(int id, std::string_view text);    // replaces it as typing does, Edited when asked for
  void select(int id, int index);              // list or combo selection by the user
  void doubleClick(int id, int index);
  void closeBox();                             // title-bar close
  void pressEnter();                           // the default button, even a hidden one
  void typeChar(uint8_t ch);
  void mouseDown();

  // Inspection.
  std::vector<std::string> lines(int id) const;
  const std::vector<ui::GraphSeries>& graph(int id) const { return state(id).graph; }
  int raisedCount() const { return raised_; }
  bool ended() const { return ended_; }
  int result() const { return result_; }
  bool destroyed() const { return destroyed_; }
  void markDestroyed() { destroyed_ = true; }
  ui::FormHandler& handler() { return handler_; }

 private:
  ControlState& state(int id);
  const ControlState& state(int id) const;
  void touch() const;

  const ui::FormTemplate& template_;
  ui::FormHandler& handler_;
  std::map<int, ControlState> controls_;
  std::string title_;
  int raised_ = 0;
  bool minimized_ = false;
  bool stale_ = false;
  bool ended_ = false;
  int result_ = 0;
  bool destroyed_ = false;
};

}  // namespace fake
