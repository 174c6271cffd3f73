#pragma once

#include "build/XmlRun.h"

// The step that writes the slices of a sliced background picture.
class XmlCreateBitmapSlice final : public XmlRun {
public:
    explicit XmlCreateBitmapSlice(Key key);

    static std::shared_ptr<XmlCreateBitmapSlice> create();
    static XmlCreateBitmapSlice* cast(XmlBase* object) { return dynamic_cast<XmlCreateBitmapSlice*>(object); }

    QString elementName() const override;
};
