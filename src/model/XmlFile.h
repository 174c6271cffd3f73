#pragma once

#include "model/XmlBase.h"

// One file of a file tree: mirrors a file of the folder its tree stands for.
class XmlFile : public XmlBase {
public:
    explicit XmlFile(Key key);

    static std::shared_ptr<XmlFile> create();
    static XmlFile* cast(XmlBase* object) { return dynamic_cast<XmlFile*>(object); }

    QString elementName() const override;
    // Nothing is ever read under a file element.
    XmlBasePtr createChildFromTag(const QString& tag) override;
};
