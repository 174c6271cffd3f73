#pragma once

#include "imaging/XmlDrawObject.h"

// A callout of bare text.
class XmlDrawLetter final : public XmlDrawObject {
public:
    explicit XmlDrawLetter(Key key);

    static std::shared_ptr<XmlDrawLetter> create();
    static XmlDrawLetter* cast(XmlBase* object) { return dynamic_cast<XmlDrawLetter*>(object); }

    QString elementName() const override;
};
