#pragma once
// Pictures of windows as they would show, for the docs and for tests.

#include <QImage>
#include <QString>

class QWidget;

namespace ui {

class Form;
class QtHost;

// The widget with its children; a widget not shown yet is laid out first.
QImage GrabWindow(QWidget* widget);
// A form's whole window; an MDI child with its title bar.
QImage GrabForm(const QtHost& host, const Form& form);
// The main window with its menu bar and the tool windows inside it.
QImage GrabMainWindow(const QtHost& host);

bool SaveScreenshot(const QImage& image, const QString& png_path);

}  // namespace ui
