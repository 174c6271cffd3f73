#pragma once

#include "model/XmlBase.h"

// The root of a file tree: stands for a folder on disk whose files and
// subfolders are its children.
class XmlFiles : public XmlBase {
public:
    explicit XmlFiles(Key key);

    static std::shared_ptr<XmlFiles> create();
    static XmlFiles* cast(XmlBase* object) { return dynamic_cast<XmlFiles*>(object); }

    QString elementName() const override;
};
