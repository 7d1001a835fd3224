#pragma once
// Qt's own texts (the Yes, No, OK and Cancel of message boxes and dialogs) in the trainer's
// language, from the translations Qt ships.
#include "text/Texts.h"

namespace karvena {

// Loads Qt's translation for the language into the application, replacing the one loaded before
// (English needs none); false when it is not installed, in which case Qt's texts stay English.
bool InstallQtTranslations(TLanguage language);

} // namespace karvena
