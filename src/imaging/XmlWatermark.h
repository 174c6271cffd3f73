#pragma once

#include "imaging/XmlDraw.h"

// A line of text laid over a photo; the text is the element's content.
class XmlWatermark final : public XmlDraw {
public:
    explicit XmlWatermark(Key key);

    static std::shared_ptr<XmlWatermark> create();
    static XmlWatermark* cast(XmlBase* object) { return dynamic_cast<XmlWatermark*>(object); }

    QString elementName() const override;
};
