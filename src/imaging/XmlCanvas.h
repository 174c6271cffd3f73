#pragma once

#include "imaging/XmlDraw.h"

// A photo's editable picture: the picture, its callouts and its watermark.
class XmlCanvas : public XmlDraw {
public:
    explicit XmlCanvas(Key key);

    static std::shared_ptr<XmlCanvas> create();
    static XmlCanvas* cast(XmlBase* object) { return dynamic_cast<XmlCanvas*>(object); }

    QString elementName() const override;
    bool canYouBeMyParent(XmlBase* child) override;
};
