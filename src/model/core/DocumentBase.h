#pragma once

#include "platform/Geometry.h"
#include "platform/ImageFiles.h"

#include <QList>
#include <QString>

#include <memory>
#include <optional>

class XmlAlbum;
class XmlBase;
class XmlD;
class XmlProcessor;
class XmlRSS;
class XmlSite;
class XmlStyleSheet;
class PageTemplate;
class XmlTheme;
class TextEditorBase;
namespace lq {
class ConfinedFolder;
class PreviewView;
}

// A file of a listed folder: its name and the MD5 digest of its bytes
// (hexadecimal).
struct FileDigest {
    QString name;
    QString md5;
};

// A photo's thumbnail to make again at a new size: the photo's UUID and the size.
struct ThumbnailResize {
    QString photo;
    lq::Size size;
};

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

    // How many changes of its element trees the document was told of since
    // it was made, counted or suppressed: the number moves whenever anything
    // in them changed. Nothing from a document that does not keep it.
    virtual std::optional<quint64> changesSeen() const { return std::nullopt; }

    // YES while the document's pages are shown as they will be published (the
    // content or preview tab), NO while the page layout is being edited.
    // Pictures show their colour filters only then.
    virtual bool testMode() = 0;

    // The document's site root, or nothing while there is none.
    virtual XmlSite* site() = 0;

    // The first child of the document's theme when it is a page template,
    // else nothing. New pages are bound to it.
    virtual XmlStyleSheet* defaultTemplate() = 0;
    // The same template as the page knows it.
    virtual PageTemplate* defaultPageTemplate() = 0;

    // In-place editing of a page element on the layout canvas has ended: the
    // document reloads the current editor panel.
    virtual void layoutDidContentEditing() = 0;
    // The document's rich-text editor, which the content box and the footer
    // hand their text to while the user edits it in place; nothing when the
    // document has none (the text is then stored as the view left it).
    virtual TextEditorBase* getTextEditorController() { return nullptr; }

    // --- Click areas of the layout canvas -------------------------------------
    // Keeps the rectangle (page coordinates) with a copy of the data under the
    // element's UUID: a later click in it reaches the element's mouseClick
    // with the data.
    virtual void addTrackingDataForObjectDataRect(const QString& uuid, const QString& data, const lq::Rect& rect) = 0;
    // Forgets every click area registered under the element's UUID.
    virtual void clearTrackingDataForObject(const QString& uuid) = 0;
    // Forgets every click area.
    virtual void clearTrackingData() = 0;
    // Marks the rectangle (page coordinates) of the layout canvas for
    // drawing again (nothing without a canvas).
    virtual void redisplayRect(const lq::Rect& rect) {}
    // The layout canvas refreshes the selected element and its inspector
    // (nothing without a canvas).
    virtual void layoutViewSelectedObjectRefresh() {}
    // The live preview view that the layout canvas made for the Vorn Box of
    // that number, or nothing.
    virtual lq::PreviewView* getWidgetView(int number) { return nullptr; }

    // Shows the page on the layout canvas; nothing stands for the site's
    // default album. The index picks a photo of it (-1: none).
    virtual void selectWebPageIndex(XmlAlbum* page, int index) = 0;
    // The site's pages in order (the home page's page list).
    virtual QList<std::shared_ptr<XmlBase>> webItems() = 0;
    // The index of the photo selected in the editor, -1 for none.
    virtual int globalIndex() { return -1; }

    // --- Processor queue --------------------------------------------------------
    // Appends the line and a line feed to the document's "Activity" log.
    // A document without a log drops it.
    virtual void addActivityString(const QString& line) { (void)line; }
    // Queues a processor script behind every script queued before it. A
    // document without a queue drops it.
    virtual void startProcessor(const std::shared_ptr<XmlProcessor>& processor) { (void)processor; }
    // Queues a processor script ahead of every other, so that its steps run
    // right after the step under way: a step that makes a page's script has
    // it run (and the page written and released) before the next page is
    // made. A document without a queue drops it.
    virtual void startProcessorNext(const std::shared_ptr<XmlProcessor>& processor) { (void)processor; }
    // An import of `given` files has ended and left these out, each with why
    // (in the order they were met): the document tells the user once. A
    // document that cannot show it drops it (each file is in the Activity
    // log already).
    virtual void picturesNotImported(const QList<lq::RefusedPicture>& refused, int given) { (void)refused, (void)given; }
    // Queues the script "Resizing Thumbnails..." that makes each photo's
    // thumbnail again at its size. A document without a queue drops it.
    virtual void resizeThumbnails(const QList<ThumbnailResize>& thumbnails) { (void)thumbnails; }

    // --- Build ----------------------------------------------------------------
    // The document's theme root (its children are the page templates), or nothing.
    virtual XmlTheme* theme() const { return nullptr; }
    // The document's feed settings, or nothing.
    virtual XmlRSS* rss() const { return nullptr; }
    // Queues the script that writes the feed file "rss.xml" when the feed
    // settings give a feed text; nothing otherwise.
    virtual void createRSSProcessor() {}

    // --- The document folder -------------------------------------------------------
    // The one way to the files below the document folder: every read of a
    // file the site names and every change below the folder goes through
    // it. Nothing while the document has no folder (the model then opens
    // one on its tree's root folder, see lq::rootFolder).
    virtual std::shared_ptr<lq::ConfinedFolder> siteFolder() { return nullptr; }

    // --- Digest trees -------------------------------------------------------------
    // The digest tree of the folder (a path ending with "/"; "" for the
    // site's generated "homepage" folder), or nothing when it cannot be
    // listed. A document without a folder answers nothing.
    virtual std::shared_ptr<XmlD> createXmlD(const QString& path) { (void)path; return nullptr; }
    // The files right inside the folder (a path ending with "/") with their
    // digests, in listing order; nothing when it cannot be listed. A
    // document without a folder answers nothing.
    virtual QList<FileDigest> fileDigests(const QString& folder) { (void)folder; return {}; }
    // The tree of what the server holds ("lastbom.xmlbase"), or nothing when
    // nothing was published yet or the stored tree was refused (then the
    // reason goes to *refusal when asked).
    virtual std::shared_ptr<XmlD> lastXmlD(QString* refusal = nullptr) { (void)refusal; return nullptr; }
    // Stores the tree as what the server holds (nothing: the stored one stays).
    virtual void setLastXmlD(XmlD* tree) { (void)tree; }
};
