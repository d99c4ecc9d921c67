#include "ui/qt/qt_form.h"

#include "ui/qt/graph_widget.h"

#include <QAbstractItemView>
#include <QButtonGroup>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDialog>
#include <QGuiApplication>
#include <QInputMethodEvent>
#include <QGroupBox>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTextCharFormat>
#include <QTimer>

#include <algorithm>

#include "ui/form_copy.h"
#include "ui/qt/control_widgets.h"
#include "ui/qt/form_fonts.h"
#include "ui/qt/form_surface.h"
#include "ui/qt/images.h"
#include "ui/qt/tab_stop_delegate.h"
#include "ui/qt/text_conversion.h"

namespace ui {

class QtForm::Quiet {
 public:
  explicit Quiet(QtForm& form) : form_(form) { ++form_.quiet_; }
  ~Quiet() { --form_.quiet_; }
  Quiet(const Quiet&) = delete;
  Quiet& operator=(const Quiet&) = delete;

 private:
  QtForm& form_;
};

namespace {

bool Has(const ControlTemplate& c, uint32_t style) { return (c.style & style) != 0; }

// Room for two lines: the text may wrap.
bool IsMultiLineStatic(const ControlTemplate& c) { return Has(c, kMultiLine) || c.h >= 16; }

Qt::Alignment HorizontalAlignment(const ControlTemplate& c) {
  if (Has(c, kCentered)) return Qt::AlignHCenter;
  if (Has(c, kRightAlign)) return Qt::AlignRight;
  return Qt::AlignLeft;
}

QLabel* MakeStatic(const ControlTemplate& c, QWidget* parent) {
  auto* label = new QLabel(parent);
  label->setTextFormat(Qt::PlainText);
  const bool multi_line = IsMultiLineStatic(c);
  label->setWordWrap(multi_line && !Has(c, kVertical));
  Qt::Alignment vertical = multi_line ? Qt::AlignTop : Qt::AlignVCenter;
  label->setAlignment((Has(c, kVertical) ? Qt::AlignHCenter : HorizontalAlignment(c)) | vertical);
  if (Has(c, kSunken)) {
    label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    label->setIndent(3);
  }
  return label;
}

QAbstractButton* MakeCheckable(const ControlTemplate& c, QWidget* parent) {
  const bool manual = Has(c, kManualCheck);
  QAbstractButton* button;
  if (Has(c, kPushLike)) {
    button = manual ? new ManualCheck<QPushButton>(parent) : new QPushButton(parent);
    static_cast<QPushButton*>(button)->setAutoDefault(false);
  } else if (c.kind == ControlKind::CheckBox) {
    button = manual ? new ManualCheck<QCheckBox>(parent) : new QCheckBox(parent);
  } else {
    auto* radio = manual ? new ManualCheck<QRadioButton>(parent) : new QRadioButton(parent);
    // Groups follow the template, not the parent widget.
    radio->setAutoExclusive(false);
    button = radio;
  }
  button->setCheckable(true);
  return button;
}

QWidget* MakeEdit(const ControlTemplate& c, QWidget* parent) {
  if (Has(c, kMultiLine)) {
    auto* edit = new QPlainTextEdit(parent);
    edit->setReadOnly(Has(c, kReadOnly));
    edit->setVerticalScrollBarPolicy(Has(c, kVScroll) ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff);
    edit->setLineWrapMode(QPlainTextEdit::NoWrap);
    return edit;
  }
  auto* edit = new QLineEdit(parent);
  edit->setReadOnly(Has(c, kReadOnly));
  edit->setAlignment(HorizontalAlignment(c) | Qt::AlignVCenter);
  if (Has(c, kDigitsOnly) || c.max_length > 0)
    edit->setValidator(new EditValidator(edit, Has(c, kDigitsOnly), c.max_length));
  return edit;
}

QListWidget* MakeList(const ControlTemplate& c, QWidget* parent) {
  auto* list = new QListWidget(parent);
  list->setSelectionMode(Has(c, kNoSelection) ? QAbstractItemView::NoSelection
                                              : QAbstractItemView::SingleSelection);
  list->setVerticalScrollBarPolicy(Has(c, kVScroll) ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff);
  list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  list->setUniformItemSizes(true);
  if (Has(c, kTabStops)) list->setItemDelegate(new TabStopDelegate(list));
  // A list that only shows text (a terminal's lines) stays readable when disabled.
  QPalette palette = list->palette();
  for (auto role : {QPalette::Text, QPalette::HighlightedText, QPalette::Highlight, QPalette::Base})
    palette.setColor(QPalette::Disabled, role, palette.color(QPalette::Active, role));
  list->setPalette(palette);
  return list;
}

QLabel* MakeIcon(const ControlTemplate& c, const DialogUnits& du, QWidget* parent) {
  auto* label = new QLabel(parent);
  label->setAlignment(Qt::AlignCenter);
  const QSize box = du.size(c.w, c.h);
  const int side = std::min({box.width(), box.height(), 32});
  label->setPixmap(ResourceIcon(c.text).pixmap(QSize(side, side)));
  return label;
}

// Lists and combo boxes alike.
struct Lines {
  QListWidget* list;
  QComboBox* combo;

  explicit Lines(QWidget* w)
      : list(qobject_cast<QListWidget*>(w)), combo(qobject_cast<QComboBox*>(w)) {}
  bool valid() const { return list != nullptr || combo != nullptr; }
  int count() const { return list ? list->count() : combo->count(); }
  QString at(int i) const { return list ? list->item(i)->text() : combo->itemText(i); }
  // A combo box selects nothing by itself, as a list does not.
  void insert(int i, const QString& s) {
    if (list) {
      list->insertItem(i, s);
      return;
    }
    const bool none = combo->currentIndex() < 0;
    combo->insertItem(i, s);
    if (none) combo->setCurrentIndex(-1);
  }
  void remove(int i) {
    if (list) {
      delete list->takeItem(i);
      return;
    }
    const int selected = combo->currentIndex();
    combo->removeItem(i);
    combo->setCurrentIndex(selected == i ? -1 : selected > i ? selected - 1 : selected);
  }
  void clear() {
    if (list) list->clear();
    else combo->clear();
  }
};

}  // namespace

QtForm::QtForm(const FormTemplate& form, FormHandler& handler)
    : template_(form), handler_(&handler), title_(form.title) {
  surface_ = new FormSurface(*this, template_.raw_keys, template_.context_menu,
                             template_.copy != CopyKind::None);
  build();
  // The copied control leaves its context menu to the window's, which copies it whole.
  if (QWidget* copied = control(template_.copy_control)) copied->setContextMenuPolicy(Qt::NoContextMenu);
}

QtForm::~QtForm() {
  detach();
  if (frame_) delete frame_.data();
  else if (surface_) delete surface_.data();
}

void QtForm::build() {
  const QFont font = template_.fixed_font ? FixedFormFont() : FormFont();
  const DialogUnits du(font);
  surface_->setFont(font);
  surface_->setFixedSize(du.size(template_.w, template_.h));
  surface_->setAccessibleName(ToQString(template_.title));

  std::vector<QGroupBox*> group_boxes;
  for (const ControlTemplate& c : template_.controls) {
    QWidget* widget = c.kind == ControlKind::Icon ? MakeIcon(c, du, surface_) : makeWidget(c);
    if (Has(c, kFixedFont)) widget->setFont(FixedFormFont());
    QRect geometry = du.rect(c.x, c.y, c.w, c.h);
    if (auto* combo = qobject_cast<QComboBox*>(widget)) {
      // The template's height includes the dropped-down list.
      const int line = combo->fontMetrics().height();
      combo->setMaxVisibleItems(std::max(1, (geometry.height() - combo->sizeHint().height()) / line));
      geometry.setHeight(combo->sizeHint().height());
    }
    widget->setGeometry(geometry);
    if (Has(c, kHidden)) widget->hide();
    if (Has(c, kDisabled)) widget->setEnabled(false);
    if (auto* box = qobject_cast<QGroupBox*>(widget)) group_boxes.push_back(box);

    Control control;
    control.definition = &c;
    control.widget = widget;
    control.text = c.text;
    if (c.kind != ControlKind::Icon) showText(control);
    if (c.id != kNoId && !controls_.count(c.id)) {
      connectEvents(c.id, widget);
      controls_[c.id] = control;
    } else if (c.kind == ControlKind::Label) {
      unnamed_labels_.push_back(control);
    }
  }
  // Frames are drawn behind the controls they surround.
  for (QGroupBox* box : group_boxes) box->lower();
  for (auto& [id, control] : controls_)
    if (control.definition->kind == ControlKind::Label) linkLabel(control);
  for (Control& label : unnamed_labels_) linkLabel(label);
  groupRadioButtons();
  for (auto& [id, control] : controls_) nameControl(control);
  for (Control& label : unnamed_labels_) nameControl(label);
  surface_->watchMousePresses();
}

QWidget* QtForm::makeWidget(const ControlTemplate& c) {
  switch (c.kind) {
    case ControlKind::Label:
    case ControlKind::Text: return MakeStatic(c, surface_);
    case ControlKind::GroupBox: return new QGroupBox(surface_);
    case ControlKind::Edit: return MakeEdit(c, surface_);
    case ControlKind::Button: {
      auto* button = new QPushButton(surface_);
      button->setAutoDefault(false);
      button->setDefault(Has(c, kDefaultButton));
      return button;
    }
    case ControlKind::CheckBox:
    case ControlKind::RadioButton: return MakeCheckable(c, surface_);
    case ControlKind::ListBox: return MakeList(c, surface_);
    case ControlKind::ComboBox: return new QComboBox(surface_);
    case ControlKind::Light: {
      auto* light = new QLabel(surface_);
      light->setAlignment(Qt::AlignCenter);
      light->setPixmap(LightPixmap(LightColour::Off));
      light->setAccessibleDescription(QLatin1String(LightImageName(LightColour::Off)));
      return light;
    }
    case ControlKind::Graph: return new GraphWidget(QString::fromStdString(c.text), surface_);
    case ControlKind::Icon: break;
  }
  return new QWidget(surface_);
}

void QtForm::connectEvents(int id, QWidget* widget) {
  if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
    connectButton(id, button);
  } else if (auto* list = qobject_cast<QListWidget*>(widget)) {
    connect(list, &QListWidget::itemSelectionChanged, this, [this, id] {
      if (quiet_ == 0) deliverCommand(id, Notify::SelectionChanged);
    });
    connect(list, &QListWidget::itemDoubleClicked, this,
            [this, id] { deliverCommand(id, Notify::DoubleClicked); });
  } else if (auto* line = qobject_cast<QLineEdit*>(widget)) {
    if (Has(*template_.find(id), kNotifyEdits))
      connect(line, &QLineEdit::textEdited, this, [this, id] { deliverCommand(id, Notify::Edited); });
  } else if (auto* combo = qobject_cast<QComboBox*>(widget)) {
    // Keys, the drop-down list and assistive technology all change the index.
    connect(combo, &QComboBox::currentIndexChanged, this, [this, id] {
      if (quiet_ == 0) deliverCommand(id, Notify::SelectionChanged);
    });
    // Assistive technology chooses a line of the closed drop-down list by
    // selecting it; the pointer moving over the open list does not choose.
    connect(combo->view()->selectionModel(), &QItemSelectionModel::selectionChanged, this, [this, combo] {
      const QModelIndexList chosen = combo->view()->selectionModel()->selectedRows();
      if (quiet_ == 0 && !combo->view()->isVisible() && chosen.size() == 1)
        combo->setCurrentIndex(chosen.front().row());
    });
  }
}

// A click toggles a check box before it reports the click; assistive
// technology toggles it without any click. Either way the logic hears of it
// once, and never of the program's own setChecked.
void QtForm::connectButton(int id, QAbstractButton* button) {
  connect(button, &QAbstractButton::pressed, this, [this, id] { pressed_ = id; });
  connect(button, &QAbstractButton::released, this, [this] { pressed_ = kNoId; });
  connect(button, &QAbstractButton::clicked, this, [this, id] { deliverCommand(id, Notify::Clicked); });
  if (!button->isCheckable()) return;
  const bool manual = Has(*template_.find(id), kManualCheck);
  const bool radio = qobject_cast<QRadioButton*>(button) != nullptr;
  connect(button, &QAbstractButton::toggled, this, [this, id, button, manual, radio](bool checked) {
    if (quiet_ != 0 || pressed_ == id) return;
    if (manual) {
      Quiet quiet(*this);
      button->setChecked(!checked);
    } else if (radio && !checked) {
      return;  // the other half of a group's change
    }
    deliverCommand(id, Notify::Clicked);
  });
}

void QtForm::linkLabel(Control& label) {
  Control* buddy = find(label.definition->buddy);
  if (buddy == nullptr) return;
  buddy->label = &label;
  static_cast<QLabel*>(label.widget)->setBuddy(buddy->widget);
  showText(label);
}

// A group runs from a button marked as its start, or from the first of a
// run of radio buttons, to the next start.
void QtForm::groupRadioButtons() {
  QButtonGroup* group = nullptr;
  for (const ControlTemplate& c : template_.controls) {
    const bool automatic = c.kind == ControlKind::RadioButton && !Has(c, kManualCheck);
    Control* control = find(c.id);
    if (!automatic || control == nullptr || control->definition != &c) {
      group = nullptr;
      continue;
    }
    if (group == nullptr || Has(c, kGroupStart)) {
      group = new QButtonGroup(this);
      group->setExclusive(true);
    }
    group->addButton(static_cast<QAbstractButton*>(control->widget));
    control->group = group;
  }
}

void QtForm::showText(Control& control) {
  const ControlTemplate& c = *control.definition;
  QString text = ToQString(control.text);
  switch (c.kind) {
    case ControlKind::Label:
    case ControlKind::Text: {
      auto* label = static_cast<QLabel*>(control.widget);
      // A label shows its mnemonic only with a buddy to jump to.
      if (c.kind == ControlKind::Label && label->buddy() == nullptr) text = WithoutMnemonic(text);
      text = WithQtLineEnds(text);
      label->setText(Has(c, kVertical) ? Stacked(text) : text);
      break;
    }
    case ControlKind::GroupBox: static_cast<QGroupBox*>(control.widget)->setTitle(text); break;
    case ControlKind::Edit:
      if (auto* plain = qobject_cast<QPlainTextEdit*>(control.widget)) {
        plain->setPlainText(WithQtLineEnds(text));
        plain->document()->setModified(false);
      } else {
        static_cast<QLineEdit*>(control.widget)->setText(text);
      }
      break;
    case ControlKind::Button:
    case ControlKind::CheckBox:
    case ControlKind::RadioButton: static_cast<QAbstractButton*>(control.widget)->setText(text); break;
    case ControlKind::ComboBox: {
      auto* combo = static_cast<QComboBox*>(control.widget);
      combo->setCurrentIndex(combo->findText(text, Qt::MatchExactly));
      break;
    }
    case ControlKind::ListBox:
    case ControlKind::Light:
    case ControlKind::Graph:
    case ControlKind::Icon: break;
  }
}

// A control is named by its label, else by its own text. A value is named
// by itself, so that a screen reader reads it; its label stays reachable as
// the labelled-by relation. A light says which it is and what it shows.
void QtForm::nameControl(Control& control) {
  const QString caption = control.label != nullptr ? WithoutMnemonic(ToQString(control.label->text)) : QString();
  QString accessible;
  switch (control.definition->kind) {
    case ControlKind::Text: accessible = WithQtLineEnds(ToQString(control.text)); break;
    case ControlKind::Light: accessible = LightAccessibleName(caption, control.light); break;
    default: accessible = control.label != nullptr ? caption : WithoutMnemonic(ToQString(control.text)); break;
  }
  // A list with no label of its own (a terminal's lines) is what its window is about.
  if (accessible.isEmpty() && qobject_cast<QListWidget*>(control.widget)) accessible = ToQString(template_.title);
  // Renaming tells assistive technology, which announces the new state.
  if (control.widget->accessibleName() != accessible) control.widget->setAccessibleName(accessible);
  if (auto* combo = qobject_cast<QComboBox*>(control.widget)) combo->view()->setAccessibleName(accessible);
}

QtForm::Control* QtForm::find(int id) {
  if (id == kNoId) return nullptr;
  auto it = controls_.find(id);
  return it == controls_.end() ? nullptr : &it->second;
}

const QtForm::Control* QtForm::find(int id) const { return const_cast<QtForm*>(this)->find(id); }

void QtForm::setText(int id, std::string_view text) {
  Control* control = find(id);
  if (control == nullptr || !surface_) return;
  Quiet quiet(*this);
  control->text = text;
  showText(*control);
  if (control->definition->kind == ControlKind::Label) {
    for (auto& [other_id, other] : controls_)
      if (other.label == control) nameControl(other);
  }
  if (control->label == nullptr || control->definition->kind == ControlKind::Text) nameControl(*control);
}

std::string QtForm::text(int id) const {
  const Control* control = find(id);
  if (control == nullptr || !surface_) return {};
  if (auto* line = qobject_cast<QLineEdit*>(control->widget)) return ToUtf8(line->text());
  if (auto* plain = qobject_cast<QPlainTextEdit*>(control->widget)) {
    // What the user typed comes back with the line ends the logic uses.
    if (!plain->document()->isModified()) return control->text;
    return ToUtf8(plain->toPlainText().replace(QLatin1Char('\n'), QStringLiteral("\r\n")));
  }
  if (auto* combo = qobject_cast<QComboBox*>(control->widget))
    return combo->currentIndex() < 0 ? std::string() : ToUtf8(combo->currentText());
  return control->text;
}

void QtForm::setChecked(int id, bool checked) {
  Control* control = find(id);
  if (control == nullptr || !surface_) return;
  auto* button = qobject_cast<QAbstractButton*>(control->widget);
  if (button == nullptr || !button->isCheckable()) return;
  Quiet quiet(*this);
  // An exclusive group never lets its last checked button go by itself.
  if (control->group != nullptr && !checked) control->group->setExclusive(false);
  button->setChecked(checked);
  if (control->group != nullptr) control->group->setExclusive(true);
}

bool QtForm::isChecked(int id) const {
  const Control* control = find(id);
  if (control == nullptr || !surface_) return false;
  auto* button = qobject_cast<QAbstractButton*>(control->widget);
  return button != nullptr && button->isChecked();
}

void QtForm::setEnabled(int id, bool enabled) {
  if (Control* control = find(id); control != nullptr && surface_) control->widget->setEnabled(enabled);
}

bool QtForm::isEnabled(int id) const {
  const Control* control = find(id);
  return control != nullptr && surface_ && control->widget->isEnabledTo(surface_);
}

void QtForm::setVisible(int id, bool visible) {
  if (Control* control = find(id); control != nullptr && surface_) control->widget->setVisible(visible);
}

void QtForm::setLight(int id, LightColour colour) {
  Control* control = find(id);
  if (control == nullptr || !surface_ || control->definition->kind != ControlKind::Light) return;
  if (control->light == colour) return;
  control->light = colour;
  auto* label = static_cast<QLabel*>(control->widget);
  label->setPixmap(LightPixmap(colour));
  label->setAccessibleDescription(QLatin1String(LightImageName(colour)));
  nameControl(*control);
}

void QtForm::setGraph(int id, const std::vector<GraphSeries>& series) {
  Control* control = find(id);
  if (control == nullptr || !surface_ || control->definition->kind != ControlKind::Graph) return;
  static_cast<GraphWidget*>(control->widget)->setSeries(series);
}

void QtForm::setMarks(int id, const std::vector<TextMark>& marks) {
  Control* control = find(id);
  if (control == nullptr || !surface_ || control->definition->kind != ControlKind::Edit) return;
  control->marks = marks;
  showMarks(*control);
}

std::vector<TextMark> QtForm::marks(int id) const {
  const Control* control = find(id);
  return control == nullptr ? std::vector<TextMark>() : control->marks;
}

// A line edit draws formats only for input-method text; such an event with
// no text of its own lays them over what is typed.
void QtForm::showMarks(const Control& control) {
  auto* edit = qobject_cast<QLineEdit*>(control.widget);
  if (edit == nullptr) return;
  const std::string text = ToUtf8(edit->text());
  QTextCharFormat underline;
  underline.setUnderlineStyle(QTextCharFormat::SingleUnderline);
  underline.setUnderlineColor(Qt::red);
  QList<QInputMethodEvent::Attribute> formats;
  QStringList tips;
  for (const TextMark& mark : control.marks) {
    if (mark.start > text.size()) continue;
    const qsizetype start = ToQString(std::string_view(text).substr(0, mark.start)).size();
    const qsizetype length = ToQString(std::string_view(text).substr(mark.start, mark.length)).size();
    formats.append({QInputMethodEvent::TextFormat, static_cast<int>(start - edit->cursorPosition()),
                    static_cast<int>(length), underline});
    tips.append(ToQString(mark.tip));
  }
  QInputMethodEvent event(QString(), formats);
  QCoreApplication::sendEvent(edit, &event);
  edit->setToolTip(tips.join(QLatin1Char('\n')));
}

// Values read from the card are greyed, not disabled: they stay readable
// and the logic's view of the controls does not change.
void QtForm::setStale(bool stale) {
  if (stale_ == stale || !surface_) return;
  stale_ = stale;
  for (auto& [id, control] : controls_) {
    if (control.definition->kind != ControlKind::Text) continue;
    QPalette palette = control.widget->palette();
    if (stale) {
      const QColor grey = palette.color(QPalette::Disabled, QPalette::WindowText);
      palette.setColor(QPalette::Active, QPalette::WindowText, grey);
      palette.setColor(QPalette::Inactive, QPalette::WindowText, grey);
      control.widget->setPalette(palette);
    } else {
      control.widget->setPalette(QPalette());
    }
  }
}

void QtForm::copyToClipboard() {
  const std::string text = CopyText(*this);
  if (!text.empty()) QGuiApplication::clipboard()->setText(ToQString(text));
}

LightColour QtForm::light(int id) const {
  const Control* control = find(id);
  return control == nullptr ? LightColour::Off : control->light;
}

void QtForm::listClear(int id) {
  Control* control = find(id);
  if (control == nullptr || !surface_) return;
  Lines lines(control->widget);
  if (!lines.valid()) return;
  Quiet quiet(*this);
  lines.clear();
}

int QtForm::insertLine(Control& control, int index, std::string_view text) {
  Lines lines(control.widget);
  if (!lines.valid()) return -1;
  Quiet quiet(*this);
  const int count = lines.count();
  if (index < 0 || index > count) index = count;
  lines.insert(index, ToQString(text));
  return index;
}

int QtForm::listAdd(int id, std::string_view text) {
  Control* control = find(id);
  if (control == nullptr || !surface_) return -1;
  Lines lines(control->widget);
  if (!lines.valid()) return -1;
  int index = lines.count();
  if (Has(*control->definition, kSorted)) {
    // Byte order of the UTF-8 texts, after any equal lines.
    int lo = 0;
    while (lo < index) {
      int mid = (lo + index) / 2;
      if (ToUtf8(lines.at(mid)) <= text) lo = mid + 1;
      else index = mid;
    }
  }
  return insertLine(*control, index, text);
}

void QtForm::listInsert(int id, int index, std::string_view text) {
  if (Control* control = find(id); control != nullptr && surface_) insertLine(*control, index, text);
}

void QtForm::listDelete(int id, int index) {
  Control* control = find(id);
  if (control == nullptr || !surface_) return;
  Lines lines(control->widget);
  if (!lines.valid() || index < 0 || index >= lines.count()) return;
  Quiet quiet(*this);
  lines.remove(index);
}

int QtForm::listCount(int id) const {
  const Control* control = find(id);
  if (control == nullptr || !surface_) return 0;
  Lines lines(control->widget);
  return lines.valid() ? lines.count() : 0;
}

std::string QtForm::listText(int id, int index) const {
  const Control* control = find(id);
  if (control == nullptr || !surface_) return {};
  Lines lines(control->widget);
  if (!lines.valid() || index < 0 || index >= lines.count()) return {};
  return ToUtf8(lines.at(index));
}

void QtForm::listSelect(int id, int index) {
  Control* control = find(id);
  if (control == nullptr || !surface_) return;
  Lines lines(control->widget);
  if (!lines.valid()) return;
  Quiet quiet(*this);
  if (index < 0 || index >= lines.count()) index = -1;
  if (lines.combo != nullptr) {
    lines.combo->setCurrentIndex(index);
    return;
  }
  if (Has(*control->definition, kNoSelection)) return;
  if (index < 0) {
    lines.list->clearSelection();
    lines.list->setCurrentRow(-1);
    return;
  }
  lines.list->setCurrentRow(index);
  lines.list->scrollToItem(lines.list->item(index));
}

int QtForm::listSelection(int id) const {
  const Control* control = find(id);
  if (control == nullptr || !surface_) return -1;
  Lines lines(control->widget);
  if (lines.combo != nullptr) return lines.combo->currentIndex();
  if (lines.list == nullptr) return -1;
  const QList<QListWidgetItem*> selected = lines.list->selectedItems();
  return selected.isEmpty() ? -1 : lines.list->row(selected.front());
}

void QtForm::setTitle(std::string_view title) {
  title_ = title;
  const QString text = ToQString(title);
  if (surface_) surface_->setAccessibleName(text);
  if (frame_) {
    frame_->setWindowTitle(text);
    frame_->setAccessibleName(text);
  }
}

QWidget* QtForm::surface() const { return surface_; }

void QtForm::attachFrame(QWidget* frame, FrameKind kind) {
  frame_ = frame;
  kind_ = kind;
  const QIcon icon = ResourceIcon(template_.icon);
  if (!icon.isNull()) frame->setWindowIcon(icon);
  setTitle(title_);
}

QWidget* QtForm::control(int id) const {
  const Control* control = find(id);
  return control == nullptr ? nullptr : control->widget;
}

void QtForm::bringToTop() {
  if (!frame_) return;
  if (auto* sub = qobject_cast<QMdiSubWindow*>(frame_.data())) {
    if (QMdiArea* area = sub->mdiArea()) area->setActiveSubWindow(sub);
    sub->raise();
    return;
  }
  frame_->raise();
  frame_->activateWindow();
}

bool QtForm::isMinimized() const { return frame_ && frame_->isMinimized(); }

void QtForm::minimize() {
  if (frame_ && kind_ != FrameKind::Modal) frame_->showMinimized();
}

void QtForm::restore() {
  if (frame_ && frame_->isMinimized()) frame_->showNormal();
}

void QtForm::endDialog(int result) {
  if (kind_ != FrameKind::Modal || ended_) return;
  ended_ = true;
  result_ = result;
  if (auto* dialog = qobject_cast<QDialog*>(frame_.data()); dialog != nullptr && dialog->isVisible())
    dialog->done(result);
}

void QtForm::detach() {
  handler_ = nullptr;
  for (auto& [id, timer] : timers_) timer->stop();
}

bool QtForm::startFormTimer(int timer_id, unsigned period_ms) {
  if (detached()) return false;
  QTimer*& timer = timers_[timer_id];
  if (timer == nullptr) {
    timer = new QTimer(this);
    connect(timer, &QTimer::timeout, this, [this, timer_id] {
      if (handler_ != nullptr) handler_->onTimer(timer_id);
    });
  }
  timer->start(static_cast<int>(std::max(period_ms, kMinimumTimerPeriodMs)));
  return true;
}

void QtForm::stopFormTimer(int timer_id) {
  if (auto it = timers_.find(timer_id); it != timers_.end()) it->second->stop();
}

void QtForm::deliverCommand(int id, Notify notify) {
  if (handler_ != nullptr) handler_->onCommand(id, notify);
}

void QtForm::deliverCloseRequest() {
  if (handler_ != nullptr) handler_->onCloseRequest();
}

void QtForm::deliverChar(uint8_t ch) {
  if (handler_ != nullptr) handler_->onChar(ch);
}

void QtForm::deliverMouseDown() {
  if (handler_ != nullptr) handler_->onMouseDown();
}

void QtForm::pressDefaultButton() {
  // In a dialog a focused button takes Enter; in a tool window Enter always
  // belongs to the default button (its other buttons answer Space).
  QWidget* focus = surface_ && kind_ == FrameKind::Modal ? surface_->focusWidget() : nullptr;
  auto* focused = qobject_cast<QPushButton*>(focus);
  if (focused != nullptr && !focused->isCheckable() && focused->isEnabled()) {
    focused->click();
    return;
  }
  // A hidden default button still answers Enter: some windows keep one
  // only for that.
  for (const auto& [id, control] : controls_) {
    if (!Has(*control.definition, kDefaultButton)) continue;
    auto* button = qobject_cast<QPushButton*>(control.widget);
    if (button == nullptr || !button->isEnabled()) continue;
    if (button->isVisibleTo(surface_)) button->click();
    else deliverCommand(id, Notify::Clicked);
    return;
  }
}

void QtForm::pressCancel() {
  if (find(kCancelId) != nullptr) {
    if (isEnabled(kCancelId)) deliverCommand(kCancelId, Notify::Clicked);
    return;
  }
  for (const auto& [id, control] : controls_) {
    if (control.definition->kind != ControlKind::Button) continue;
    const QString text = WithoutMnemonic(ToQString(control.text));
    const bool cancels = text.compare(QLatin1String("Cancel"), Qt::CaseInsensitive) == 0 ||
                         text.compare(QLatin1String("Close"), Qt::CaseInsensitive) == 0;
    auto* button = static_cast<QPushButton*>(control.widget);
    if (cancels && button->isEnabled()) {
      button->click();
      return;
    }
  }
}

}  // namespace ui
