#pragma once

#include "model/core/XmlBase.h"

// A processor script: its children are the steps, in the order they run.
class XmlProcessor final : public XmlBase {
public:
    explicit XmlProcessor(Key key);

    static std::shared_ptr<XmlProcessor> create();
    static XmlProcessor* cast(XmlBase* object) { return dynamic_cast<XmlProcessor*>(object); }

    QString elementName() const override;
    // Steps only: any other element met in a script is read and dropped.
    bool canYouBeMyParent(XmlBase* child) override;
};
