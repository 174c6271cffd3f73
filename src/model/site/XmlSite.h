#pragma once

#include "model/core/XmlBase.h"

#include <functional>

class XmlFiles;
class XmlHomePage;
class XmlTrash;

// The root of "site.xmlbase": holds the home page with the page tree, the
// mirror of the document's "files" folder, the node of the photo library and
// the trash; keeps the document folder and the counters that number pages,
// pictures and widgets; and passes every change in its tree on to its
// document.
class XmlSite final : public XmlBase {
public:
    explicit XmlSite(Key key);
    ~XmlSite() override;

    static std::shared_ptr<XmlSite> create();
    static XmlSite* cast(XmlBase* object) { return dynamic_cast<XmlSite*>(object); }

    // Appends a new home page, files tree and trash, then sets them up.
    void newDocument() override;
    QString elementName() const override;
    // "QZlocation" (where 1.0 documents kept the publishing settings) is
    // read into the site's own location, never attached.
    XmlBasePtr createChildFromTag(const QString& tag) override;
    // The home page and the trash; the files tree and the photo-library node
    // are added by the site itself, never read.
    bool canYouBeMyParent(XmlBase* child) override;
    // "imageseq", "pageseq", "widgetseq" and "disableImageWell"; the rest goes to the base.
    void setAttributeTo(const QString& key, const QString& value) override;
    // The base's, then the three counters and the switch.
    void appendAttributes(QString& xml) override;
    void falseAlarm(bool suppress) override;
    // Takes a new tree revision, then tells the document.
    void docChanged() override;
    // A number that changes with every change in the site's tree, suppressed
    // ones and those made without a change notice included, and that no
    // other site ever has: what is worked out from the tree (a menu's page
    // list) stays good while it stays the same.
    quint64 treeRevision() const { return _treeRevision; }
    // A change in the tree that the document is not told of (a page's file
    // name or navigation flag): only a new tree revision.
    void noteQuietChange();
    // The document folder. When it is set but nothing exists at that path,
    // logs "Can't find <path>" and shows the fatal-error alert, on every call;
    // answers the path all the same.
    QString rootDir() override;
    // A change.
    void setRootDir(const QString& path) override;
    XmlSite* siteRoot() override { return this; }
    // The first child whose class is exactly XmlHomePage, or nothing.
    XmlHomePage* homepage() override;
    // Adds the files tree after the home page when there is none, a new
    // photo-library node after the files tree (the node lives with the
    // editors, which fill the services' iPhotoNodeFactory; without one the
    // site has no such node; the node writes nothing) and, when the site has
    // none, the trash as its last child, then finishes the children.
    void postload() override;

    // --- Counters: each answers its current value, then advances it; no change notice.
    int imageSeqNumber() { return image_sequence_number++; }
    int pageSeqNumber() { return page_sequence_number++; }
    int widgetSeqNumber() { return widget_sequence_number++; }
    // The picture counter's current value, without advancing it.
    int imageSeqTest() const { return image_sequence_number; }
    // Each a change.
    void setImageSeqNumber(int value);
    void setPageSeqNumber(int value);
    void setWidgetSeqNumber(int value);
    // 1: web images are made from the pictures' originals instead of their
    // edited full-size images. The setter is a change.
    int disableImageWell() const { return _disableImageWell; }
    void setDisableImageWell(int value);

    // --- Document -------------------------------------------------------------
    // The owning document, not owned; until it is set changes go nowhere.
    void setDocument(DocumentBase* document) { _myDocument = document; }
    DocumentBase* document() const { return _myDocument; }
    // The publishing settings (an XmlLocation) read from a 1.0 site text, or nothing.
    const XmlBasePtr& location() const { return _location; }
    bool uploadToolkit() const { return true; }

    // --- Children -------------------------------------------------------------
    // The first child of exactly that class, or nothing.
    XmlFiles* files() const;
    XmlTrash* trash() const;
    // The trash, made as the last child when the site has none: what is
    // deleted always has a place to go.
    XmlTrash* ensureTrash();

    // --- Page tree queries ----------------------------------------------------
    // The first page of the home page that is an album or a group, or nothing.
    XmlBasePtr defaultAlbum();
    // Every page a link can point at: the home page's page list.
    XmlBaseList linkItems();
    // The names of the picture files under "pictures" the site still uses:
    // the home page's, then the trash's. Names may repeat (it is used as a set).
    QStringList picturesInSite();
    // Binds the pages to the template of the number (or, for -1, every page),
    // those of the home page and those in the trash.
    void setTemplateForUUID(int number, const QString& uuid);

    // --- Build ----------------------------------------------------------------
    // Sidebar widgets write nothing of their own.
    void createWidgetProcessor(const QString& widgetUUID) { (void)widgetUUID; }

    // --- Files tree -----------------------------------------------------------
    // Adds the contents of "<rootDir>/files" to the files tree: a regular
    // file as an XmlFile, a folder as an XmlFolder filled the same way, hidden
    // files included (see DirectoryWalk).
    void refreshFiles();

protected:
    DocumentBase* fileRootDocument() override;
    // The home page's page list.
    XmlBaseList sitePages() override;

private:
    QString _rootDir;
    int image_sequence_number = 1;
    int page_sequence_number = 1;
    int widget_sequence_number = 1;
    XmlBasePtr _location;
    DocumentBase* _myDocument = nullptr;
    quint64 _treeRevision;
    int _disableImageWell = 0;
};
