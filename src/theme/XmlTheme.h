#pragma once

#include "theme/XmlThemeRoot.h"
#include "templates/TemplateHolder.h"

class XmlSite;
class XmlStyleSheet;

// The root of "theme.xmlbase": its children are the site's page templates,
// the first being the site's default template.
//
// The theme hands out the numbers of templates and Vorn Boxes (asking for a
// counter takes a number and advances it), keeps the document folder for
// every element below it, passes change notices on to its document and, when
// a document adopts it, makes the template numbers unique and tells the site
// each template's number and UUID.
//
// Its start tag holds the name (when not empty), tseq and xseq; "autoAdd" is
// read but never written.
class XmlTheme : public XmlThemeRoot, public TemplateHolder {
public:
    explicit XmlTheme(Key key);

    static std::shared_ptr<XmlTheme> create();
    static XmlTheme* cast(XmlBase* object) { return dynamic_cast<XmlTheme*>(object); }

    // "autoAdd" as an integer; the rest goes to the base.
    void setAttributeTo(const QString& key, const QString& value) override;

    void setDocument(DocumentBase* document) { _myDocument = document; }
    void docChanged() override;
    void falseAlarm(bool suppress) override;

    // --- Numbers ------------------------------------------------------------------
    // Numbers the template from the counter and appends it as the last template.
    void addTemplate(const std::shared_ptr<XmlStyleSheet>& sheet);
    // The next Vorn Box number, for the templates; the counter advances.
    int vornboxSeqNumber() override;
    int autoAdd() const { return _autoAdd; }
    void setAutoAdd(int autoAdd) { _autoAdd = autoAdd; }

    // The background bitmap names of every template.
    void listOfBitmaps(QStringList& names);

    // --- Reconciling with the site ---------------------------------------------------
    // Makes the template numbers unique: the first template becomes 0, and the
    // later template of a clashing pair takes the next number, until nothing clashes.
    void checkTemplateSeqNums();
    // Makes the numbers unique, then tells the site each template's number and UUID.
    void crossReferenceXmlSite(XmlSite* site);

protected:
    DocumentBase* fileRootDocument() override;

private:
    DocumentBase* _myDocument = nullptr;
    int _autoAdd = 0;
};
