#pragma once

#include "model/XmlBase.h"

// The site's trash: deleted pages, groups and photos wait here, whole,
// until the trash is emptied or they are moved back.
class XmlTrash : public XmlBase {
public:
    explicit XmlTrash(Key key);

    static std::shared_ptr<XmlTrash> create();
    static XmlTrash* cast(XmlBase* object) { return dynamic_cast<XmlTrash*>(object); }

    QString elementName() const override;
    bool canYouBeMyParent(XmlBase* child) override;
};
