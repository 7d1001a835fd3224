#pragma once
// TintButton: a push button with a caption and hint per language.
#include <QPushButton>

#include "text/IntCaptions.h"

namespace karvena {

using TintButton = TIntLanguageButton<QPushButton>;

} // namespace karvena
