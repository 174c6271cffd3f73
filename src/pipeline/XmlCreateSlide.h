#pragma once

#include "pipeline/XmlRun.h"
#include "platform/Geometry.h"

// The step that writes a photo's slideshow image at a size.
class XmlCreateSlide final : public XmlRun {
public:
    explicit XmlCreateSlide(Key key);

    static std::shared_ptr<XmlCreateSlide> create();
    static XmlCreateSlide* cast(XmlBase* object) { return dynamic_cast<XmlCreateSlide*>(object); }

    QString elementName() const override;
    // "photo" and "size"; the rest goes to the base.
    void setAttributeTo(const QString& key, const QString& value) override;

    const QString& photo() const { return _photo; }
    const lq::Size& size() const { return _size; }

    // The photo writes its slide image; a photo that is gone is noted in the
    // log file ("no photo!"). Answers false.
    bool run() override;
    // "<status> create slide:<picture number> <photo UUID>" and a line feed;
    // "" when the photo is gone or the parent is no processor.
    QString statusMessage() override;

private:
    QString _photo = QStringLiteral("");
    lq::Size _size;
};
