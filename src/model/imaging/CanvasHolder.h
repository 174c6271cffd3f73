#pragma once

class XmlWatermark;

// What a canvas asks of the element that holds it. A photo answers it; a
// canvas held by anything else (or by nothing) fills its background as
// stored, draws no page watermark and keeps its callouts out of thumbnails.
class CanvasHolder {
public:
    // The watermark of the page the picture lies on, or nothing.
    virtual XmlWatermark* pageWatermark() const = 0;
    // The canvas's callouts count as part of the picture for the thumbnail.
    virtual bool showObjects() const = 0;

protected:
    ~CanvasHolder() = default;
};
