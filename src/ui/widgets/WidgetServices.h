#pragma once

namespace lq {

struct Services;

// Fills what the widget kit answers for the layers below it: the model's
// alerts are shown by the modal handler (in the active window), and every
// in-place edit of a canvas text opens a CanvasTextEditor.
void registerWidgetServices(Services& services);

} // namespace lq
