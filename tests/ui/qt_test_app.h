#pragma once
// Shared by the offscreen UI tests: one application object for the run,
// waiting for the event loop, and pictures for the docs.

#include <QImage>
#include <QString>

class QMdiArea;
class QWidget;

#include <functional>
#include <ostream>

namespace uitest {

// Runs the event loop until done() holds or timeout_ms pass; returns done().
bool WaitUntil(const std::function<bool()>& done, int timeout_ms = 2000);
// Runs the event loop for about ms milliseconds.
void RunEventsFor(int ms);
// Writes the picture to $TALV_SCREENSHOT_DIR/<name> when that is set.
void SaveForDocs(const QImage& image, const char* name);

// A visible top-level window with this title, or null.
QWidget* TopLevelTitled(const QString& title);
// How many status lights of the window show the image (BLACK, GREEN, RED).
int LightsShowing(QWidget* window, const char* image);
// Clicks every button of the window labelled text.
void ClickButton(QWidget* window, const QString& text);
// The tool windows side by side in rows, for a picture.
void LayOutSideBySide(QMdiArea* area);

}  // namespace uitest

// Readable QString values in failure messages.
inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }
