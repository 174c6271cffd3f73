#pragma once

#include "model/core/XmlBase.h"
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
class XmlTheme : public XmlBase, public TemplateHolder {
public:
    explicit XmlTheme(Key key);

    static std::shared_ptr<XmlTheme> create();
    static XmlTheme* cast(XmlBase* object) { return dynamic_cast<XmlTheme*>(object); }

    QString elementName() const override;
    // Only page templates.
    bool canYouBeMyParent(XmlBase* child) override;
    // "tseq", "xseq" and "autoAdd" as integers (text that is no number gives 0).
    void setAttributeTo(const QString& key, const QString& value) override;
    // The name, then ` tseq="%d" xseq="%d"`; writing advances no counter.
    void appendAttributes(QString& xml) override;

    void setDocument(DocumentBase* document) { _myDocument = document; }
    void docChanged() override;
    void falseAlarm(bool suppress) override;

    // --- Numbers ------------------------------------------------------------------
    // Numbers the template from the counter and appends it as the last template.
    void addTemplate(const std::shared_ptr<XmlStyleSheet>& sheet);
    // The next template number; the counter advances.
    int templateSeqNumber();
    // The next Vorn Box number; the counter advances.
    int vornboxSeqNumber() override;
    // Plain stores, without change notices.
    void setTemplateSeqNumber(int number) { template_sequence_number = number; }
    void setVornboxSeqNumber(int number) { vornbox_sequence_number = number; }
    int autoAdd() const { return _autoAdd; }
    void setAutoAdd(int autoAdd) { _autoAdd = autoAdd; }
    // The counters as they stand, without taking a number.
    int peekTemplateSeqNumber() const { return template_sequence_number; }
    int peekVornboxSeqNumber() const { return vornbox_sequence_number; }

    // The background bitmap names of every template.
    void listOfBitmaps(QStringList& names);

    // --- Document folder --------------------------------------------------------------
    // The folder; when it is set but missing, the user is told (every time)
    // and the path is answered all the same.
    QString rootDir() override;
    void setRootDir(const QString& path) override;

    // --- Reconciling with the site ---------------------------------------------------
    // Makes the template numbers unique: the first template becomes 0, and the
    // later template of a clashing pair takes the next number, until nothing clashes.
    void checkTemplateSeqNums();
    // Makes the numbers unique, then tells the site each template's number and UUID.
    void crossReferenceXmlSite(XmlSite* site);

protected:
    DocumentBase* fileRootDocument() override;

private:
    QString _rootDir;
    int template_sequence_number = 0;
    int vornbox_sequence_number = 0;
    DocumentBase* _myDocument = nullptr;
    int _autoAdd = 0;
};
