#pragma once

#include "pipeline/XmlPhotoStep.h"
#include "platform/Geometry.h"

// The step that writes a photo's web image and thumbnail into the generated
// site, optionally drawn inside a picture frame.
class XmlCreateWebImage final : public XmlPhotoStep {
public:
    explicit XmlCreateWebImage(Key key);

    static std::shared_ptr<XmlCreateWebImage> create();
    static XmlCreateWebImage* cast(XmlBase* object) { return dynamic_cast<XmlCreateWebImage*>(object); }

    QString elementName() const override;
    // "thumbSize", "fullSize", "frame", "frameRect", "thumbRect"; the rest
    // (the photo) goes to the base.
    void setAttributeTo(const QString& key, const QString& value) override;

    const lq::Size& thumbSize() const { return _thumbSize; }
    int fullSize() const { return _fullSize; }
    const QString& frame() const { return _frame; }
    const lq::Rect& frameRect() const { return _frameRect; }
    const lq::Rect& thumbRect() const { return _thumbRect; }

    // The photo, when it is still there, writes its images; answers false.
    bool run() override;

protected:
    // "create web image:<picture number>"
    QString activityLine(XmlPhoto& photo) const override;

private:
    lq::Size _thumbSize;
    int _fullSize = 0;
    QString _frame;
    lq::Rect _frameRect;
    lq::Rect _thumbRect;
};
