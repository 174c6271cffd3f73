#pragma once

#include "model/core/XmlBase.h"

// The base of every step of a processor script.
class XmlRun : public XmlBase {
public:
    explicit XmlRun(Key key);

    static std::shared_ptr<XmlRun> create();
    static XmlRun* cast(XmlBase* object) { return dynamic_cast<XmlRun*>(object); }
};
