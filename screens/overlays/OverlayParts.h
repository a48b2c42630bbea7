#pragma once

// Pieces the overlay screens share.

#include <string_view>

#include "screens/ScreenBuild.h"
#include "screens/ScreenPictures.h"
#include "toolkit/controls/IVButtonControl.h"

namespace qd3 {

// The picture behind the settings and map pages: 1920 x 1080 from the top left.
inline constexpr FrameSize kOverlayPictureSize{1920.f, 1080.f};

// An invisible button over the whole canvas: a click no later control of the screen
// takes runs `action`.
IVButtonControl* AttachClickCatcher(ScreenBuild& s, IActionFunction action, std::string_view group);

// The window's dark background over the whole canvas, below an overlay's 1920 x 1080
// picture: the canvas is taller, and the main screen must not show in the strip below.
void AttachOverlayBackdrop(ScreenBuild& s, std::string_view group);

// Row `row` of `area` divided into `rows` equal rows, shrunk by 3 units on every side.
IRECT GridRow(const IRECT& area, int rows, int row);

}  // namespace qd3
