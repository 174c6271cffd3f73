#pragma once

#include "model/imaging/XmlDraw.h"

// The callouts of a canvas; child order is the stacking order, bottom first.
class XmlDrawObjects final : public XmlDraw {
public:
    explicit XmlDrawObjects(Key key);

    static std::shared_ptr<XmlDrawObjects> create();
    static XmlDrawObjects* cast(XmlBase* object) { return dynamic_cast<XmlDrawObjects*>(object); }

    QString elementName() const override;
    bool canYouBeMyParent(XmlBase* child) override;
};
