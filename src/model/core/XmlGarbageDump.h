#pragma once

#include "model/core/XmlBase.h"

// Swallows an element that nobody knows while XML text is read: the dump takes
// the element's attributes, content and whole subtree (every tag inside
// becomes a further dump, which it accepts), and is never attached to the
// tree being read, so none of it reaches the document.
class XmlGarbageDump final : public XmlBase {
public:
    explicit XmlGarbageDump(Key key);

    static std::shared_ptr<XmlGarbageDump> create();
    static XmlGarbageDump* cast(XmlBase* object) { return dynamic_cast<XmlGarbageDump*>(object); }

    XmlBasePtr createChildFromTag(const QString& tag) override;
    bool canYouBeMyParent(XmlBase* child) override;
};
