#pragma once

#include "model/core/DocumentBase.h"
#include "pipeline/XmlPhotoStep.h"
#include "platform/Geometry.h"

class XmlProcessor;

// The in-memory step that makes a photo's thumbnail again at a new size,
// queued when a thumbnail is drawn at a size it does not have yet. It has no
// element of its own in processor scripts.
class XmlResizeThumbnail final : public XmlPhotoStep {
public:
    explicit XmlResizeThumbnail(Key key);

    static std::shared_ptr<XmlResizeThumbnail> create();
    static XmlResizeThumbnail* cast(XmlBase* object) { return dynamic_cast<XmlResizeThumbnail*>(object); }
    // A step for the photo of the UUID and the thumbnail size.
    static std::shared_ptr<XmlResizeThumbnail> createForUUIDSize(const QString& photo, const lq::Size& size);
    // The script "Resizing Thumbnails..." of one step per thumbnail, in order.
    static std::shared_ptr<XmlProcessor> createProcessorForThumbnails(const QList<ThumbnailResize>& thumbnails);

    const lq::Size& size() const { return _size; }

    // The photo, when it is still there, makes its thumbnail at the size.
    // Always true.
    bool run() override;

protected:
    // "resize thumbnail:<picture number>"
    QString activityLine(XmlPhoto& photo) const override;

private:
    lq::Size _size;
};
