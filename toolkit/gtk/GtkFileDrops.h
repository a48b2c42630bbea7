#pragma once

#include <functional>
#include <string>
#include <vector>

typedef struct _GtkWidget GtkWidget;

namespace qd3 {

class IGraphics;

// Files dropped on the canvas: local files as paths, anything the desktop cannot name as
// a local file as its address (for the editor to refuse by name), and the drop point in
// design units of the canvas.
using FileDropHandler =
    std::function<void(const std::vector<std::string>& paths, float x, float y)>;

// Makes `canvas` (a widget of CreateGraphicsWidget showing `graphics`) a drop destination
// for text/uri-list. The handler runs after the drag has finished, from the main loop, so
// a message box it opens does not hold the dragging application; it is dropped when the
// widget is destroyed.
void AcceptFileDrops(GtkWidget* canvas, const IGraphics& graphics, FileDropHandler handler);

// What the canvas does with a text/uri-list drop at window pixel (wx, wy), at once (the
// "drag-data-received" handler defers the same work).
void DeliverUriListDrop(GtkWidget* canvas, const std::string& uriList, double wx, double wy);

}  // namespace qd3
