#pragma once
// Images from the programs' Qt resources: the status lights and the icons
// that templates name (":/icons/<name>.png").

#include <QIcon>
#include <QPixmap>

#include <string_view>

#include "ui/form.h"

namespace ui {

QPixmap LightPixmap(LightColour colour);
// "BLACK", "GREEN" or "RED".
const char* LightImageName(LightColour colour);

// What a screen reader says for a light: "LOS: red", "AIS: off".
QString LightAccessibleName(const QString& caption, LightColour colour);

// A null icon when no such resource exists.
QIcon ResourceIcon(std::string_view name);

}  // namespace ui
