#pragma once
// TintSpeedButton: a tool button with a caption and hint per language.
#include <QToolButton>

#include "text/IntCaptions.h"

namespace karvena {

using TintSpeedButton = TIntLanguageButton<QToolButton>;

} // namespace karvena
