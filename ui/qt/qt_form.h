#pragma once
// A form rendered as Qt widgets: the template's controls on a fixed-size
// surface, which the host puts into a dialog, an MDI sub-window or a
// separate window (the frame).

#include <QObject>
#include <QPointer>

#include <deque>
#include <map>
#include <string>

#include "ui/form.h"

class QAbstractButton;
class QButtonGroup;
class QTimer;
class QWidget;

namespace ui {

class FormSurface;

enum class FrameKind { Modal, MdiChild, OwnedPopup, TopLevel };

inline constexpr int kCancelId = 2;

// Shorter periods would keep the loop from ever sleeping.
inline constexpr unsigned kMinimumTimerPeriodMs = 10;

class QtForm : public QObject, public Form {
 public:
  QtForm(const FormTemplate& form, FormHandler& handler);
  ~QtForm() override;

  // Form
  const FormTemplate& formTemplate() const override { return template_; }
  void setText(int id, std::string_view text) override;
  std::string text(int id) const override;
  void setChecked(int id, bool checked) override;
  bool isChecked(int id) const override;
  void setEnabled(int id, bool enabled) override;
  bool isEnabled(int id) const override;
  void setVisible(int id, bool visible) override;
  void setLight(int id, LightColour colour) override;
  LightColour light(int id) const override;
  void setGraph(int id, const std::vector<GraphSeries>& series) override;
  void setMarks(int id, const std::vector<TextMark>& marks) override;
  std::vector<TextMark> marks(int id) const override;
  void setStale(bool stale) override;
  bool isStale() const override { return stale_; }
  void listClear(int id) override;
  int listAdd(int id, std::string_view text) override;
  void listInsert(int id, int index, std::string_view text) override;
  void listDelete(int id, int index) override;
  int listCount(int id) const override;
  std::string listText(int id, int index) const override;
  void listSelect(int id, int index) override;
  int listSelection(int id) const override;
  void setTitle(std::string_view title) override;
  std::string title() const override { return title_; }
  void bringToTop() override;
  bool isMinimized() const override;
  void minimize() override;
  void restore() override;
  void endDialog(int result) override;

  // The host's side.
  QWidget* surface() const;
  // Takes ownership of the frame, which already holds the surface.
  void attachFrame(QWidget* frame, FrameKind kind);
  QWidget* frame() const { return frame_; }
  FrameKind frameKind() const { return kind_; }
  // The widget of a control, or null.
  QWidget* control(int id) const;
  bool ended() const { return ended_; }
  int result() const { return result_; }
  // No event reaches the handler after this; timers stop.
  void detach();
  bool detached() const { return handler_ == nullptr; }
  bool startFormTimer(int timer_id, unsigned period_ms);
  void stopFormTimer(int timer_id);

  // Events from the widgets and the frame, passed to the handler.
  void deliverCommand(int id, Notify notify);
  void deliverCloseRequest();
  void deliverChar(uint8_t ch);
  void deliverMouseDown();
  // Enter: in a dialog the focused push button, else the default button.
  void pressDefaultButton();
  // Esc in a dialog: its Cancel button (id 2), else the button that says
  // Cancel or Close.
  void pressCancel();
  // The window's "Copy": its copy text onto the clipboard.
  void copyToClipboard();

 private:
  struct Control {
    const ControlTemplate* definition = nullptr;
    QWidget* widget = nullptr;
    const Control* label = nullptr;  // the label naming it, if any
    QButtonGroup* group = nullptr;
    std::string text;
    LightColour light = LightColour::Off;
    std::vector<TextMark> marks;
  };
  // Changes the program makes raise no notifications.
  class Quiet;

  void build();
  QWidget* makeWidget(const ControlTemplate& c);
  void connectEvents(int id, QWidget* widget);
  void connectButton(int id, QAbstractButton* button);
  void linkLabel(Control& label);
  void groupRadioButtons();
  void showText(Control& control);
  void showMarks(const Control& control);
  void nameControl(Control& control);
  Control* find(int id);
  const Control* find(int id) const;
  int insertLine(Control& control, int index, std::string_view text);

  FormTemplate template_;
  FormHandler* handler_;
  std::string title_;
  QPointer<FormSurface> surface_;
  QPointer<QWidget> frame_;
  FrameKind kind_ = FrameKind::TopLevel;
  std::map<int, Control> controls_;
  std::deque<Control> unnamed_labels_;  // labels without an id still name their buddy
  std::map<int, QTimer*> timers_;
  int quiet_ = 0;
  int pressed_ = kNoId;  // the button the user holds down
  bool stale_ = false;
  bool ended_ = false;
  int result_ = 0;
};

}  // namespace ui
