#pragma once

namespace lq {

// Makes the element names of photo canvases known to the element factory:
// the canvas, its image, drawing objects, watermark and shapes (and the file
// trees below them); doing it again changes nothing.
void registerImagingElements();

} // namespace lq
