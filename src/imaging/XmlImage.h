#pragma once

#include "imaging/XmlDrawObject.h"

// The picture of a photo's canvas: the bitmap with its crop, mask shape,
// border and drop shadow.
class XmlImage : public XmlDrawObject {
public:
    explicit XmlImage(Key key);

    static std::shared_ptr<XmlImage> create();
    static XmlImage* cast(XmlBase* object) { return dynamic_cast<XmlImage*>(object); }

    QString elementName() const override;
};
