#pragma once

#include "build/XmlRun.h"

// The step that writes the web copy of a background picture.
class XmlCreateWebBitmap final : public XmlRun {
public:
    explicit XmlCreateWebBitmap(Key key);

    static std::shared_ptr<XmlCreateWebBitmap> create();
    static XmlCreateWebBitmap* cast(XmlBase* object) { return dynamic_cast<XmlCreateWebBitmap*>(object); }

    QString elementName() const override;
};
