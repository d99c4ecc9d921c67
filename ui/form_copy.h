#pragma once
// The text a window's "Copy" puts on the clipboard, read from its form.

#include <string>

#include "ui/form.h"

namespace ui {

// Values: one "caption<TAB>value" line per label naming a shown value, the
// caption without its mnemonic and closing colon. ControlText: the lines of
// the chosen list, or the chosen edit's text. Lines end with "\n"; empty
// when the window copies nothing.
std::string CopyText(const Form& form);

}  // namespace ui
