#pragma once

#include "templates/XmlCSSBackground.h"

// A page template: the page geometry, its page elements and its fonts.
class XmlStyleSheet : public XmlCSSBackground {
public:
    explicit XmlStyleSheet(Key key);

    static std::shared_ptr<XmlStyleSheet> create();
    static XmlStyleSheet* cast(XmlBase* object) { return dynamic_cast<XmlStyleSheet*>(object); }

    QString elementName() const override;
    bool canYouBeMyParent(XmlBase* child) override;

    // The view being laid out or written: 0 the page, 1 the page's slideshow page.
    int view() const { return _page; }
    // The first child whose name is the text, or nothing.
    XmlBasePtr getElementWithName(const QString& name) const;

protected:
    int _page = 0;
};
