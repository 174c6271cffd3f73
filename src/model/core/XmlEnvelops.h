#pragma once

#include "model/core/XmlBase.h"

// A checkable group node of the check-list dialogs: stands for the real
// element whose UUID it keeps.
class XmlEnvelops final : public XmlBase {
public:
    explicit XmlEnvelops(Key key);

    static std::shared_ptr<XmlEnvelops> create();
    static XmlEnvelops* cast(XmlBase* object) { return dynamic_cast<XmlEnvelops*>(object); }

    bool canYouBeMyParent(XmlBase* child) override;

    const QString& xmlUUID() const { return _xmlUUID; }
    void setXmlUUID(const QString& uuid) { _xmlUUID = uuid; }

private:
    QString _xmlUUID;
};
