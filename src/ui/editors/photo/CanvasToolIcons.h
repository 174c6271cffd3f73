#pragma once

#include <QIcon>
#include <QString>

// The pictures and names of the photo canvas's tools (IWCanvasView::Tool).
// The callout tools show a small callout of their kind, drawn by the
// callout itself; select and crop show a pointer and crop marks.
QIcon canvasToolIcon(int tool);
QString canvasToolName(int tool);
