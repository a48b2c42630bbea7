#pragma once

#include <functional>

typedef struct _GtkWidget GtkWidget;

namespace qd3 {

class IGraphics;
struct IKeyPress;

// A GtkDrawingArea that shows an IGraphics at its window size: it forwards mouse,
// wheel and keyboard input in window pixels, runs the frame clock with a GLib
// timeout at the canvas's frame rate (only painted areas are queued for redraw),
// follows the canvas's size when it changes (the corner resizer), and shows the
// canvas's tooltips. The widget refers to `graphics`, which must outlive it.
// `onResized` (optional) is told the new window size after each resize, so that
// the window holding the widget can follow. `onWake` (optional) runs whenever the
// idle canvas gets something to paint (an input or a change woke it).
GtkWidget* CreateGraphicsWidget(
    IGraphics& graphics, std::function<void(int windowW, int windowH, float scale)> onResized = {},
    std::function<void()> onWake = {});

// The key press for a GDK key value and modifier state (exposed for tests).
IKeyPress KeyPressFromGdk(unsigned int keyval, unsigned int state);

}  // namespace qd3
