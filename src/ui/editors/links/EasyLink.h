#pragma once
#include "ui/editors/links/PickOnlyOutline.h"
#include "ui/editors/text/EasyLinkOpener.h"

#include <QDialog>
#include <QLineEdit>
#include <QObject>
#include <QPointer>
#include <QVariant>

class EditorHost;
class MyPopUpButton;
class MyTextField;
class QGroupBox;
class QZTextEditor;
class XmlOutlineView;

// The link sheet: picks the target of a link without typing it. It edits
// the link of a rich-text editor's selection (the editor's link, answered
// through setEasyLink) or the text of a link field, and offers three kinds
// of target:
// - a page of the site: the editor gets the page's number, a field the
//   page's address (its external link, or its file name);
// - a file of the site's files folder: its path below that folder
//   ("pics/logo.png");
// - an e-mail address: "javascript:clickLink('<code>')", where the code is
//   "mailto:<address>" in the letter encoding that the site script's
//   clickLink reads back (encrypt), so the address is not plain in the page.
//
// The sheet opens on what the current link names: the page of a page
// number, the address of an e-mail link, the file of a path that leads to a
// file of the site, the page whose address a field holds; anything else
// opens on the site's default album page.
// It keeps nothing between runs.
class EasyLink : public QObject, public EasyLinkOpener, public PickOnlyOutline {
    Q_OBJECT
public:
    // The kinds of target, as the items of the kind pop-up.
    enum LinkKind { PageLink = 0, FileLink = 1, EmailLink = 2 };

    explicit EasyLink(EditorHost& document, QObject* parent = nullptr);
    ~EasyLink() override;

    // Runs the sheet on the document window for the editor's link and, when
    // the user confirms, applies the chosen link before it returns.
    void easyLink(QZTextEditor* editor) override;
    // The same for a link field: the sheet opens on the field's text, and a
    // confirmed choice becomes the field's text (setText: the caller stores
    // it afterwards).
    void easyLink(QLineEdit* field);

    // --- The sheet's actions ------------------------------------------------------------
    // OK: gives the chosen link to the editor or the field, then ends the sheet.
    void createLink();
    // Cancel: ends the sheet, changing nothing.
    void cancelLink();
    // The kind pop-up chose an item.
    void linkType(int index);
    // Shows the tree of pages or of files, or the e-mail field, for the kind.
    void updateLinkList();

    // --- The letter encoding of e-mail links -------------------------------------------
    // Each UTF-16 code of the text as base-25 digits, the most significant
    // first, without leading zeros ("b" for 0 up to "z" for 24), closed by
    // "a": "abc" is "exaeyaeza".
    static QString encrypt(const QString& text);
    // Reads the groups back, each into one character of its full code (a
    // last group without its "a" counts too). A null string when the text is
    // no encoding: a letter other than "a" to "z", or a group beyond 16 bits.
    static QString decrypt(const QString& text);

    // --- What the sheet shows while it runs (for whoever plays the user) ----------------
    QDialog* sheet() const { return _sheet; }
    XmlOutlineView* linkList() const { return LinkList; }
    MyPopUpButton* linkTypePopUp() const { return LinkType; }
    MyTextField* emailAddress() const { return _emailAddress; }
    int currentLinkType() const { return _linkType; }

    // --- The tree's controller -----------------------------------------------------------
    // Album pages are leaves (their photos are not link targets).
    std::optional<bool> outlineViewIsItemExpandable(XmlOutlineView& view, XmlBase& item) override;
    std::optional<int> outlineViewNumberOfChildrenOfItem(XmlOutlineView& view, XmlBase& item) override;

private:
    // Where the sheet opens for a current link.
    struct Preset {
        int linkType = PageLink;
        XmlBasePtr selected;
        QString email;
    };
    Preset presetFor(const QVariant& link);
    // The file of the site that the path names, part by part from the files root.
    XmlBasePtr siteFileAtPath(const QString& path);
    // The link the sheet's choice gives the editor (a page number) or a
    // field (a page's address); an invalid value when the choice gives none.
    QVariant chosenLink(bool forEditor) const;
    void buildSheet();
    void closeSheet();
    void run(const QVariant& current);

    EditorHost& _document;
    QPointer<QZTextEditor> _textEditor;
    QPointer<QLineEdit> _textField;
    int _linkType = PageLink;
    // The sheet and its parts, made for each run.
    QPointer<QDialog> _sheet;
    XmlOutlineView* LinkList = nullptr;
    MyPopUpButton* LinkType = nullptr;
    QGroupBox* emailBox = nullptr;
    MyTextField* _emailAddress = nullptr;
};
