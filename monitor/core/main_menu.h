#pragma once

#include "ui/menu.h"

// "MAINMENU"
const ui::MenuTemplate& MainMenuTemplate();
