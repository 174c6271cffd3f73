#pragma once

#include "model/core/DocumentBase.h"
#include "pipeline/XmlRun.h"
#include "platform/Geometry.h"

class XmlProcessor;

// The in-memory step that makes a photo's thumbnail again at a new size,
// queued when a thumbnail is drawn at a size it does not have yet. It has no
// element of its own in processor scripts.
class XmlResizeThumbnail : public XmlRun {
public:
    explicit XmlResizeThumbnail(Key key);

    static std::shared_ptr<XmlResizeThumbnail> create();
    static XmlResizeThumbnail* cast(XmlBase* object) { return dynamic_cast<XmlResizeThumbnail*>(object); }
    // A step for the photo of the UUID and the thumbnail size.
    static std::shared_ptr<XmlResizeThumbnail> createForUUIDSize(const QString& photo, const lq::Size& size);
    // The script "Resizing Thumbnails..." of one step per thumbnail, in order.
    static std::shared_ptr<XmlProcessor> createProcessorForThumbnails(const QList<ThumbnailResize>& thumbnails);

    const QString& photo() const { return _photo; }
    const lq::Size& size() const { return _size; }

    // The photo, when it is still there, makes its thumbnail at the size.
    // Always true.
    bool run() override;
    // "<status> resize thumbnail:<picture number>" and a line feed; "" when
    // the photo is gone or the parent is no processor.
    QString statusMessage() override;

private:
    QString _photo;
    lq::Size _size;
};
