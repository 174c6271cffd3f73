#pragma once

#include "model/imaging/XmlDrawObject.h"

// A speech-balloon callout: a rounded box with a tail to its anchor.
class XmlDrawBalloon final : public XmlDrawObject {
public:
    explicit XmlDrawBalloon(Key key);

    static std::shared_ptr<XmlDrawBalloon> create();
    static XmlDrawBalloon* cast(XmlBase* object) { return dynamic_cast<XmlDrawBalloon*>(object); }

    QString elementName() const override;
    bool hasAnchorPoint() const override { return true; }
    bool hasTextbox() const override { return true; }
    // The body inset by a sixteenth of its smaller side.
    lq::Rect textRect() const override;
    void draw() override;
};
