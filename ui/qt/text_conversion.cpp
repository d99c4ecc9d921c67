#include "ui/qt/text_conversion.h"

namespace ui {

QString ToQString(std::string_view utf8) {
  return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

std::string ToUtf8(const QString& text) { return text.toStdString(); }

QString WithQtLineEnds(QString text) {
  text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
  return text;
}

QString WithoutMnemonic(const QString& text) {
  QString out;
  out.reserve(text.size());
  for (qsizetype i = 0; i < text.size(); ++i) {
    if (text[i] == QLatin1Char('&') && ++i == text.size()) break;
    out += text[i];
  }
  return out;
}

QString Stacked(const QString& text) {
  QString out;
  for (qsizetype i = 0; i < text.size(); ++i) {
    if (!out.isEmpty()) out += QLatin1Char('\n');
    out += text[i];
    if (text[i].isHighSurrogate() && i + 1 < text.size()) out += text[++i];
  }
  return out;
}

}  // namespace ui
