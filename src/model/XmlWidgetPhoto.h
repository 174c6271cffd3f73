#pragma once

#include "model/XmlPhoto.h"

// A photo with link, tool-tip, click and resize settings.
class XmlWidgetPhoto : public XmlPhoto {
public:
    explicit XmlWidgetPhoto(Key key);

    static std::shared_ptr<XmlWidgetPhoto> create();
    static XmlWidgetPhoto* cast(XmlBase* object) { return dynamic_cast<XmlWidgetPhoto*>(object); }

    QString elementName() const override;
};
