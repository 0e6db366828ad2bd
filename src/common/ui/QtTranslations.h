#pragma once
// Qt's own texts (the buttons of its message boxes, the print and file dialogs) in the program's
// language: Qt's Simplified Chinese translation while the language is Chinese, Qt's built-in
// English otherwise.
#include "common/Language.h"

namespace korvan::QtTranslations {

// Installs or removes Qt's translation for the language. False when the Chinese translation was
// wanted but could not be loaded (Qt's dialogs then stay English).
bool follow(Lang lang);

} // namespace korvan::QtTranslations
