#pragma once

#include "model/XmlBase.h"

// One photo of an album page: its picture, caption and PayPal item. Its name
// is never written.
class XmlPhoto : public XmlBase {
public:
    explicit XmlPhoto(Key key);

    static std::shared_ptr<XmlPhoto> create();
    static XmlPhoto* cast(XmlBase* object) { return dynamic_cast<XmlPhoto*>(object); }

    QString elementName() const override;
};
