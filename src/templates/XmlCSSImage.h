#pragma once

#include "model/XmlBase.h"

// The picture of a background, with the bitmaps made from it. Its name is
// never written.
class XmlCSSImage : public XmlBase {
public:
    explicit XmlCSSImage(Key key);

    static std::shared_ptr<XmlCSSImage> create();
    static XmlCSSImage* cast(XmlBase* object) { return dynamic_cast<XmlCSSImage*>(object); }

    QString elementName() const override;
};
