#pragma once

#include "pipeline/XmlPhotoStep.h"
#include "platform/Geometry.h"

// The step that writes a photo's slideshow image at a size.
class XmlCreateSlide final : public XmlPhotoStep {
public:
    explicit XmlCreateSlide(Key key);

    static std::shared_ptr<XmlCreateSlide> create();
    static XmlCreateSlide* cast(XmlBase* object) { return dynamic_cast<XmlCreateSlide*>(object); }

    QString elementName() const override;
    // "size"; the rest (the photo) goes to the base.
    void setAttributeTo(const QString& key, const QString& value) override;

    const lq::Size& size() const { return _size; }

    // The photo writes its slide image; a photo that is gone is noted in the
    // log file ("no photo!"). Answers false.
    bool run() override;

protected:
    // "create slide:<picture number> <photo UUID>"
    QString activityLine(XmlPhoto& photo) const override;

private:
    lq::Size _size;
};
