#pragma once

#include "build/XmlRun.h"

// The step that writes a bitmap for the Windows Internet Explorer style sheet.
class XmlCreateWinIEBitmap final : public XmlRun {
public:
    explicit XmlCreateWinIEBitmap(Key key);

    static std::shared_ptr<XmlCreateWinIEBitmap> create();
    static XmlCreateWinIEBitmap* cast(XmlBase* object) { return dynamic_cast<XmlCreateWinIEBitmap*>(object); }

    QString elementName() const override;
};
