#pragma once

#include "model/core/XmlBase.h"

class XmlPhotoRep;

// The base of every page of the site's page tree: the page's persistent
// identity, its HTML file name, whether it shows in navigation menus, whether
// it only links to an address elsewhere, its password and its representative
// picture.
//
// The representative picture is an owned part, not a child: it is written
// inside the page's element ("QZphotoRep") and read back into the same picture.
class XmlWebItem : public XmlBase {
public:
    explicit XmlWebItem(Key key);
    ~XmlWebItem() override;

    static std::shared_ptr<XmlWebItem> create();
    static XmlWebItem* cast(XmlBase* object) { return dynamic_cast<XmlWebItem*>(object); }

    void setAttributeTo(const QString& key, const QString& value) override;
    void appendAttributes(QString& xml) override;
    // "QZphotoRep" is the page's own representative picture.
    XmlBasePtr createChildFromTag(const QString& tag) override;
    // The representative picture's element. The picture is no part of the
    // walks (ownedParts): it stands for one of the page's photos and is no
    // photo of the page itself.
    QString writeXmlVorns() override;

    // The page's identity that is saved with it, unlike the element's UUID,
    // which is drawn afresh at every read. No change notice.
    QString pageUUID() const override { return _pageUUID; }
    void setPageUUID(const QString& uuid) { _pageUUID = uuid; }
    // No change notice; the site's tree revision changes.
    bool showInNav() const { return _showInNav; }
    void setShowInNav(bool show);
    // The address the page stands for when it is an external link. No change
    // notice; the site's tree revision changes.
    QString externalLink() override;
    void setExternalLink(const QString& link);
    // The address a link to the page takes in the built site: an external
    // link as it stands, else the page's file as a URL path segment (a page
    // named "#a.html" or "%41.html" is reached by that name). Escape it
    // further for where it lands (an attribute, a script string).
    QString linkAddress() override;
    bool canEditLink() const { return _canEditLink; }

    // The name of the page's HTML file under "homepage". No change notice;
    // the site's tree revision changes.
    virtual QString fileName();
    void setFileName(const QString& fileName);
    bool canEditFileName() const { return _canEditFileName; }
    bool hasFileName() const { return _hasFileName; }

    // Never set for a page that cannot be an external link.
    bool isExternalLink() const override { return _canEditLink && _isExternalLink; }
    // Ignored (and no change notice) for a page that cannot be an external link.
    void setIsExternalLink(bool isExternal);

    bool isPassword() const { return _isPassword; }
    void setIsPassword(bool isPassword);
    const QString& password() const { return _password; }
    void setPassword(const QString& password);

    virtual bool isDynamic() const { return false; }
    // "<fileName less its extension>.php".
    QString scriptFile();

    // The parent's home page: nothing for a page in the trash.
    XmlHomePage* homepage() override;
    // The page's entry when it shows in the navigation.
    std::optional<MenuItem> menuEntry() override;
    // The page's entry in a navigation menu: its name, link and the page itself.
    virtual MenuItem menuItem();

    // The page's representative picture (album pages answer nothing while
    // it has no picture).
    virtual std::shared_ptr<XmlPhotoRep> rep();
    // The no-picture placeholder, made on first use.
    std::shared_ptr<XmlPhotoRep> norep();

protected:
    // A new tree revision for the site the page is in, if any.
    void noteQuietChange();

    bool _showInNav = true;
    QString _externalLink = QStringLiteral("");
    bool _canEditLink = true;
    QString _fileName = QStringLiteral("");
    bool _canEditFileName = false;
    bool _hasFileName = false;
    bool _isExternalLink = false;
    bool _isPassword = false;
    QString _password = QStringLiteral("");
    // Never nothing.
    std::shared_ptr<XmlPhotoRep> _rep;
    std::shared_ptr<XmlPhotoRep> _norep;
    QString _pageUUID;
};
