#pragma once

#include "imaging/XmlDrawObject.h"

// A speech-balloon callout.
class XmlDrawBalloon final : public XmlDrawObject {
public:
    explicit XmlDrawBalloon(Key key);

    static std::shared_ptr<XmlDrawBalloon> create();
    static XmlDrawBalloon* cast(XmlBase* object) { return dynamic_cast<XmlDrawBalloon*>(object); }

    QString elementName() const override;
};
