#pragma once

#include "model/core/XmlBase.h"

// A checkable leaf of the check-list dialogs: stands for the real element
// whose UUID it keeps.
class XmlEnvelop final : public XmlBase {
public:
    explicit XmlEnvelop(Key key);

    static std::shared_ptr<XmlEnvelop> create();
    static XmlEnvelop* cast(XmlBase* object) { return dynamic_cast<XmlEnvelop*>(object); }

    const QString& xmlUUID() const { return _xmlUUID; }
    void setXmlUUID(const QString& uuid) { _xmlUUID = uuid; }

private:
    QString _xmlUUID;
};
