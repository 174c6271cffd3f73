#pragma once

class XmlSite;
class XmlStyleSheet;

// What the model asks of the open site document. The site document of the
// application shell implements it; tests use a recording fake. The model
// never reaches the document in any other way.
class DocumentBase {
public:
    // The kinds of change that updateChangeCount takes.
    enum ChangeKind { ChangeDone = 0 };

    virtual ~DocumentBase() = default;

    // A change was made to one of the document's element trees. The document
    // drops the mark while its count of suppressed changes is not zero.
    virtual void updateChangeCount(int changeKind) = 0;

    // YES raises the count of suppressed changes by one, NO lowers it by one.
    virtual void falseAlarm(bool suppress) = 0;

    // YES while the document's pages are shown as they will be published (the
    // content or preview tab), NO while the page layout is being edited.
    // Pictures show their colour filters only then.
    virtual bool testMode() = 0;

    // The document's site root, or nothing while there is none.
    virtual XmlSite* site() = 0;

    // The first child of the document's theme when it is a page template,
    // else nothing. New pages are bound to it.
    virtual XmlStyleSheet* defaultTemplate() = 0;

    // In-place editing of a page element on the layout canvas has ended: the
    // document reloads the current editor panel.
    virtual void layoutDidContentEditing() = 0;
};
