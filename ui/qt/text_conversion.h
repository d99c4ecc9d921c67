#pragma once
// Texts cross between the logic (UTF-8 std::string) and Qt (QString) here.

#include <QString>

#include <string>
#include <string_view>

namespace ui {

QString ToQString(std::string_view utf8);
std::string ToUtf8(const QString& text);

// Widgets break lines at \n only; the logic's texts may use \r\n.
QString WithQtLineEnds(QString text);
// How a static control shows a label: the & before a mnemonic letter is not
// drawn and && stands for one &.
QString WithoutMnemonic(const QString& text);
// One letter under another.
QString Stacked(const QString& text);

}  // namespace ui
