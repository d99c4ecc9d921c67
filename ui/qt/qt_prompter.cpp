#include "ui/qt/qt_prompter.h"

#include <cstdio>

#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>

#include "ui/qt/qt_form.h"
#include "ui/qt/qt_host.h"
#include "ui/qt/text_conversion.h"

namespace ui {

namespace {

QMessageBox::Icon BoxIcon(Icon icon) {
  switch (icon) {
    case Icon::Information: return QMessageBox::Information;
    case Icon::Warning: return QMessageBox::Warning;
    case Icon::Error: return QMessageBox::Critical;
    case Icon::Question: return QMessageBox::Question;
    case Icon::None: break;
  }
  return QMessageBox::NoIcon;
}

// What a screen reader says for the box's icon.
QString IconName(Icon icon) {
  switch (icon) {
    case Icon::Information: return QStringLiteral("Information");
    case Icon::Warning: return QStringLiteral("Warning");
    case Icon::Error: return QStringLiteral("Error");
    case Icon::Question: return QStringLiteral("Question");
    case Icon::None: break;
  }
  return {};
}

}  // namespace

Answer QtPrompter::show(const Prompt& prompt) {
  if (unattended_) {
    std::fprintf(stderr, "%s: %s\n", prompt.caption.c_str(), prompt.text.c_str());
    return prompt.buttons == Buttons::RetryCancel ? Answer::Cancel : Answer::Ok;
  }
  QWidget* owner = nullptr;
  if (prompt.owner == Owner::MainWindow) owner = host_.mainWindow();
  if (prompt.owner == Owner::Form && prompt.owner_form != nullptr)
    if (QtForm* form = host_.qtForm(*prompt.owner_form)) owner = form->frame();

  const QString caption = ToQString(prompt.caption);
  QMessageBox box(BoxIcon(prompt.icon), caption, ToQString(prompt.text), QMessageBox::NoButton, owner);
  box.setTextFormat(Qt::PlainText);
  box.setAccessibleName(caption);
  if (auto* icon = box.findChild<QLabel*>(QStringLiteral("qt_msgboxex_icon_label")))
    icon->setAccessibleName(IconName(prompt.icon));
  if (prompt.buttons == Buttons::RetryCancel) {
    box.setStandardButtons(QMessageBox::Retry | QMessageBox::Cancel);
    box.setDefaultButton(QMessageBox::Retry);
    box.setEscapeButton(QMessageBox::Cancel);
  } else {
    box.setStandardButtons(QMessageBox::Ok);
    box.setEscapeButton(QMessageBox::Ok);
  }
  box.exec();
  switch (box.standardButton(box.clickedButton())) {
    case QMessageBox::Retry: return Answer::Retry;
    case QMessageBox::Cancel: return Answer::Cancel;
    default: break;
  }
  return prompt.buttons == Buttons::RetryCancel ? Answer::Cancel : Answer::Ok;
}

std::optional<std::string> QtPrompter::askSavePath(const SavePathPrompt& prompt) {
  if (unattended_) return std::nullopt;
  QWidget* owner = host_.mainWindow();
  if (prompt.owner_form != nullptr)
    if (QtForm* form = host_.qtForm(*prompt.owner_form)) owner = form->frame();
  const QString path =
      QFileDialog::getSaveFileName(owner, ToQString(prompt.caption), QString(), ToQString(prompt.filter));
  if (path.isEmpty()) return std::nullopt;
  // The file system's own encoding, so any name the dialog offers opens.
  return QFile::encodeName(path).toStdString();
}

}  // namespace ui
