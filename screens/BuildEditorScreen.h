#pragma once

namespace qd3 {

class IGraphics;
class QD3Control;

// Fills a window's drawing context with the editor's screens and hands the editor
// the controls it writes to: the main screen (preset list, name entry, file
// buttons, status lines, the pedal face and the graph area) and the detail pages,
// then opens the screen to the editor and fills the lists from the cache. Does
// nothing when the context already holds controls, so it runs once per window.
void BuildEditorScreen(IGraphics& graphics, QD3Control& editor);

}  // namespace qd3
