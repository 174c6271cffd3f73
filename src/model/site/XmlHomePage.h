#pragma once

#include "model/core/XmlBase.h"

class XmlBodyHTML;
class XmlDescription;
class XmlFooter;
class XmlHeadHTML;
class XmlMasthead;
class XmlPayPalCommon;
class XmlSearchTags;
class XmlStyleSheet;

// The site's home page: the top of the page tree, shown as "Website". It owns
// the site-wide parts every page draws on (masthead, footer, HTML for the
// page head and body, meta description and keywords, PayPal settings) and
// the texts of the password page; its children are the site's pages in navigation order.
class XmlHomePage final : public XmlBase {
public:
    explicit XmlHomePage(Key key);
    ~XmlHomePage() override;

    static std::shared_ptr<XmlHomePage> create();
    static XmlHomePage* cast(XmlBase* object) { return dynamic_cast<XmlHomePage*>(object); }

    QImage iconImage() override;
    QString elementName() const override;
    QString name() const override;
    // "lc", "passPhrase" and "submitLabel"; the rest goes to the base.
    void setAttributeTo(const QString& key, const QString& value) override;
    // The base's, then lc, passPhrase and submitLabel.
    void appendAttributes(QString& xml) override;
    // The fixed parts are filled in place and a 1.0 page template is kept;
    // none of them is attached.
    XmlBasePtr createChildFromTag(const QString& tag) override;
    // Pages: album and group pages, never the trash.
    bool canYouBeMyParent(XmlBase* child) override;
    // The fixed parts in their fixed order. The 1.0 template is never written.
    QString writeXmlVorns() override;
    // The fixed parts, then the 1.0 template when there is one.
    XmlBaseList ownedParts() const override;
    // Every page of the site, depth first in navigation order, each group before its pages.
    XmlBaseList webItems() override;
    XmlHomePage* homepage() override;

    const std::shared_ptr<XmlMasthead>& masthead() const { return _masthead; }
    const std::shared_ptr<XmlFooter>& footer() const { return _footer; }
    const std::shared_ptr<XmlHeadHTML>& headHTML() const { return _headHTML; }
    const std::shared_ptr<XmlBodyHTML>& bodyHTML() const { return _bodyHTML; }
    const std::shared_ptr<XmlDescription>& description() const { return _description; }
    const std::shared_ptr<XmlSearchTags>& searchTags() const { return _searchTags; }
    // The site-wide PayPal settings.
    const std::shared_ptr<XmlPayPalCommon>& paypal() const { return _paypal; }
    // The 1.0 page template read with the home page, or nothing.
    const XmlBasePtr& legacyStyleSheet() const { return _styleSheet; }
    // Reserved for widgets; always empty.
    const XmlBaseList& widgets() const { return _widgets; }

    int langcode() const { return _langcode; }
    void setLangcode(int langcode);
    // What a protected page asks its visitor, and the label of the button
    // that sends the password. While the pass phrase is the standard one, it
    // names the button by its label, and follows a new label: relabelled
    // "Enter", the button is asked for as "click Enter".
    const QString& passPhrase() const { return _passPhrase; }
    void setPassPhrase(const QString& passPhrase);
    const QString& submitLabel() const { return _submitLabel; }
    void setSubmitLabel(const QString& submitLabel);
    // The standard pass phrase for a button of the label.
    static QString standardPassPhrase(const QString& submitLabel);

    // The pictures of every page of webItems, in order. Pages inside a group
    // appear twice (through the page and through the group): it is a set.
    QStringList picturesInSite();
    // Passes the binding to every page it holds (groups pass it on).
    void setTemplateForUUID(int number, const QString& uuid);

    // The file name to store for the page when the user proposes the name:
    // ".html" added when it names neither HTML nor PHP, characters outside
    // letters, digits, "." and "-" dropped; the page's default file name for
    // an empty name or for a name another page already uses (as its file name
    // or its default file name). Other items get the name unchanged.
    QString validatedFileNameForItem(const QString& proposed, XmlBase* item);

private:
    std::shared_ptr<XmlMasthead> _masthead;
    std::shared_ptr<XmlFooter> _footer;
    std::shared_ptr<XmlHeadHTML> _headHTML;
    std::shared_ptr<XmlBodyHTML> _bodyHTML;
    std::shared_ptr<XmlDescription> _description;
    std::shared_ptr<XmlSearchTags> _searchTags;
    std::shared_ptr<XmlPayPalCommon> _paypal;
    int _langcode = 0;
    XmlBaseList _widgets;
    QString _passPhrase = QStringLiteral("Enter your Password below and click Submit");
    QString _submitLabel = QStringLiteral("Submit");
    XmlBasePtr _styleSheet;
};
