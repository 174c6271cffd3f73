#pragma once

#include "elements/XmlWebContent.h"

// The footer box at the foot of every page of a template.
class XmlWebFooter : public XmlWebContent {
public:
    explicit XmlWebFooter(Key key);

    static std::shared_ptr<XmlWebFooter> create();
    static XmlWebFooter* cast(XmlBase* object) { return dynamic_cast<XmlWebFooter*>(object); }

    QString elementName() const override;
    // The footer places itself below the page's text: its top is never stored.
    bool storesTop() const override { return false; }
};
