#include "ui/qt/images.h"

#include <QFile>
#include <QImage>

#include <array>

#include "ui/qt/text_conversion.h"

static void InitLightResources() { Q_INIT_RESOURCE(ui_qt); }

namespace ui {

const char* LightImageName(LightColour colour) {
  switch (colour) {
    case LightColour::Green: return "GREEN";
    case LightColour::Red: return "RED";
    case LightColour::Off: break;
  }
  return "BLACK";
}

QPixmap LightPixmap(LightColour colour) {
  // Loaded once per process; kept as images so that they may outlive the
  // application object.
  static const std::array<QImage, 3> images = [] {
    InitLightResources();
    std::array<QImage, 3> loaded;
    for (LightColour c : {LightColour::Off, LightColour::Green, LightColour::Red})
      loaded[static_cast<size_t>(c)] =
          QImage(QStringLiteral(":/lights/%1.png").arg(QLatin1String(LightImageName(c))));
    return loaded;
  }();
  return QPixmap::fromImage(images[static_cast<size_t>(colour)]);
}

QString LightAccessibleName(const QString& caption, LightColour colour) {
  const char* state = colour == LightColour::Green ? "green" : colour == LightColour::Red ? "red" : "off";
  QString name = caption.trimmed();
  while (name.endsWith(QLatin1Char(':'))) name.chop(1);
  if (name.isEmpty()) return QLatin1String(state);
  return name + QLatin1String(": ") + QLatin1String(state);
}

QIcon ResourceIcon(std::string_view name) {
  if (name.empty()) return {};
  QString path = QStringLiteral(":/icons/%1.png").arg(ToQString(name));
  if (!QFile::exists(path)) return {};
  return QIcon(path);
}

}  // namespace ui
