#pragma once

#include "model/core/XmlBase.h"

#include <QVariant>

namespace lq {
class Scanner;
}

// The caption of one photo: stored rich text (paragraphs with bold, italic,
// underlined and link runs) as the element's content, plus the photo's click
// link, which is either the number of a page of the site or an address (or a
// page's UUID), and whether the link opens a new window.
class XmlCaption final : public XmlBase {
public:
    explicit XmlCaption(Key key);

    static std::shared_ptr<XmlCaption> create();
    static XmlCaption* cast(XmlBase* object) { return dynamic_cast<XmlCaption*>(object); }

    QString elementName() const override;
    // "isblank" (marks a 1.0 caption), "linkType", "link" (read with the type
    // of the same element: a page number when it is 0 or missing), "window".
    void setAttributeTo(const QString& key, const QString& value) override;
    // The base's, then linkType, link and window.
    void appendAttributes(QString& xml) override;
    // Converts a caption read from a 1.0 document, whose link stood at the end
    // of its plain text. A caption has no children to pass the walk on to.
    void postload() override;

    // The content up to the first "http://", else up to the first "link:",
    // else the whole content.
    QString captionOnly() const;

    // The link: a number (a page number, see isPageNumber), a string (an
    // address or the UUID of a page), or nothing. Starts as "".
    const QVariant& embeddedLink() const { return _embeddedLink; }
    void setEmbeddedLink(const QVariant& link);
    // True when the link is a number, which names a page by its page number.
    static bool isPageNumber(const QVariant& link);
    // 1: the link opens a new window.
    int newWindow() const { return _newWindow; }
    void setNewWindow(int newWindow);
    // The kind of link the text last carried: 0 a page number, else a string.
    int linkType() const { return _linkType; }
    bool isOld1_0Caption() const { return old1_0caption; }

    // The address the photo links to in the generated pages: the page's
    // externalLink for the UUID of a page or a page number that a page of the
    // site carries; the address itself; "#" for no link or no such page.
    QString href();
    // "_blank" or "_self".
    QString target() const;

    // Plain text of the first paragraph and of all paragraphs (each followed
    // by one blank). Only the text of bold, italic, underlined and link runs
    // is kept inside a paragraph; other elements are dropped with their text.
    QString shortCaption() const;
    QString longCaption() const;

    // Appends the text of the element whose opening tag was just read, up to
    // and including its closing tag (or to the end of the text).
    void addStrippedTextInString(lq::Scanner& scanner, QString& result) const;
    // Passes over the element whose opening tag was just read, with its whole
    // content, up to and including its closing tag (or to the end of the text).
    void skip(lq::Scanner& scanner) const;

private:
    // Walks the element whose opening tag was just read, up to and including
    // its closing tag; with a result, its text is collected there.
    void walkElement(lq::Scanner& scanner, QString* result) const;

    bool old1_0caption = false;
    QVariant _embeddedLink = QStringLiteral("");
    int _newWindow = 0;
    int _linkType = 0;
};
