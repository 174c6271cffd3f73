#pragma once

#include "model/XmlBase.h"

class XmlHomePage;

// The root of "site.xmlbase": holds the home page, the files tree and the
// trash, and passes change notices on to its document.
class XmlSite : public XmlBase {
public:
    explicit XmlSite(Key key);

    static std::shared_ptr<XmlSite> create();
    static XmlSite* cast(XmlBase* object) { return dynamic_cast<XmlSite*>(object); }

    QString elementName() const override;
    // The home page and the trash; the files tree and the iPhoto node are
    // added by the site itself, never read.
    bool canYouBeMyParent(XmlBase* child) override;

    void setDocument(DocumentBase* document) { _myDocument = document; }
    DocumentBase* myDocument() override;
    void docChanged() override;
    void falseAlarm(bool suppress) override;

    // The first child whose class is exactly XmlHomePage, or nothing.
    XmlHomePage* homepage() override;

private:
    DocumentBase* _myDocument = nullptr;
};
