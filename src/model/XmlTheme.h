#pragma once

#include "model/XmlBase.h"

// The root of "theme.xmlbase": its children are the site's page templates.
// Like the site root, it passes change notices on to its document.
class XmlTheme : public XmlBase {
public:
    explicit XmlTheme(Key key);

    static std::shared_ptr<XmlTheme> create();
    static XmlTheme* cast(XmlBase* object) { return dynamic_cast<XmlTheme*>(object); }

    QString elementName() const override;
    bool canYouBeMyParent(XmlBase* child) override;

    void setDocument(DocumentBase* document) { _myDocument = document; }
    DocumentBase* myDocument() override;
    void docChanged() override;
    void falseAlarm(bool suppress) override;

private:
    DocumentBase* _myDocument = nullptr;
};
