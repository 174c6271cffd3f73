#pragma once

#include "document/ExportPreparation.h"
#include "document/SiteLock.h"
#include "pipeline/ProcessorQueue.h"
#include "model/core/DocumentBase.h"

#include <QDateTime>
#include <QSet>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

class LayoutControllerBase;
class XmlAlbum;
class XmlLocation;
class XmlRSS;
class XmlSite;
class XmlStandAloneFiles;
class XmlTheme;
class SiteJournal;
class ThemeArchive;
namespace lq {
class ConfinedFolder;
}

// One open website: the document folder "<name>.lqxl" with its four element
// trees (site, theme, publishing destination, feed settings), the queue of
// processor scripts with its Activity log, and the dated snapshots in
// "revert". This is the document without its window: a window wraps it and
// shows what it keeps.
//
// The folder holds "site.xmlbase", "theme.xmlbase", "location.xmlbase",
// "rss.xmlbase" and the folders "pictures", "temp", "bitmaps2", "revert",
// "homepage" (with "pictures" and "bitmaps") and "files". Each save adds a
// snapshot "revert/<date>.qvzip" holding the site, the theme and "bitmaps2",
// with the save's comment as the archive comment (see Snapshots).
//
// A save, a revert or a theme import changes the folder all or nothing
// (SiteJournal): killed at any moment, the folder opens as it was before or
// as it was meant to be after. While a document has its folder, no other
// program can open it (SiteLock).
//
// The open document holds the gateway to its folder (siteFolder): every
// file below the folder is read, written, moved and removed through it, by
// the document and by the model, so no link or ".." in the folder leads
// anything outside.
class MyDocument : public DocumentBase {
public:
    MyDocument();
    ~MyDocument() override;
    MyDocument(const MyDocument&) = delete;
    MyDocument& operator=(const MyDocument&) = delete;

    // --- What the model asks of its document ---------------------------------
    void updateChangeCount(int changeKind) override;
    void falseAlarm(bool suppress) override;
    std::optional<quint64> changesSeen() const override { return _changesSeen; }
    bool testMode() override { return _testMode; }
    XmlSite* site() override { return _site.get(); }
    XmlStyleSheet* defaultTemplate() override;
    PageTemplate* defaultPageTemplate() override;
    void layoutDidContentEditing() override;
    TextEditorBase* getTextEditorController() override { return _textEditor; }
    void addTrackingDataForObjectDataRect(const QString& uuid, const QString& data, const lq::Rect& rect) override;
    void clearTrackingDataForObject(const QString& uuid) override;
    void clearTrackingData() override;
    void redisplayRect(const lq::Rect& rect) override;
    void layoutViewSelectedObjectRefresh() override;
    lq::PreviewView* getWidgetView(int number) override;
    int globalIndex() override;
    void setGlobalIndex(int index);
    // Shows the page (nothing: the site's default album) on the layout
    // canvas; the index picks a picture of its slideshow (-1: the page).
    void selectWebPageIndex(XmlAlbum* page, int index) override;
    QList<std::shared_ptr<XmlBase>> webItems() override;
    void addActivityString(const QString& line) override { _queue.addActivityString(line); }
    void startProcessor(const std::shared_ptr<XmlProcessor>& processor) override { _queue.startProcessor(processor); }
    void startProcessorNext(const std::shared_ptr<XmlProcessor>& processor) override { _queue.startProcessorNext(processor); }
    // Handed to the handler the window sets (setNotImportedHandler).
    void picturesNotImported(const QList<lq::RefusedPicture>& refused, int given) override;
    void resizeThumbnails(const QList<ThumbnailResize>& thumbnails) override;
    std::shared_ptr<XmlD> createXmlD(const QString& path) override;
    QList<FileDigest> fileDigests(const QString& folder) override;
    std::shared_ptr<XmlD> lastXmlD(QString* refusal = nullptr) override;
    void setLastXmlD(XmlD* tree) override;
    // Queues the script whose one step writes "homepage/rss.xml" from the
    // feed settings' text; nothing when the feed is not published.
    void createRSSProcessor() override;
    // The gateway to the document folder, once the document has one.
    std::shared_ptr<lq::ConfinedFolder> siteFolder() override { return _folder; }
    // Tells the user what was refused below the document folder and why:
    // a line in the Activity log (and the log).
    void reportRefusal(const QString& why);

    void setTestMode(bool testMode) { _testMode = testMode; }
    // The rich-text editor of the document's window (not owned; nothing
    // while there is no window).
    void setTextEditorController(TextEditorBase* editor) { _textEditor = editor; }
    bool isDocumentEdited() const { return _changeCount != 0; }
    // The changes since the document was opened or last saved.
    int changeCount() const { return _changeCount; }
    // Forgets the edits (after a save).
    void clearChangeCount()
    {
        _changeCount = 0;
        if (_edited)
            _edited(false);
    }
    // Told whenever a change reaches the edited mark (its window shows it).
    void setEditedHandler(std::function<void(bool edited)> handler) { _edited = std::move(handler); }
    // Told when an import has ended that left files out (its window shows
    // them in a sheet).
    using NotImportedHandler = std::function<void(const QList<lq::RefusedPicture>& refused, int given)>;
    void setNotImportedHandler(NotImportedHandler handler) { _notImported = std::move(handler); }

    // --- The window's layout editor ----------------------------------------------
    // The layout controller of the document's window, which the page
    // elements' canvas requests are passed on to; none without a window.
    void setLayout(LayoutControllerBase* layout) { _layout = layout; }
    LayoutControllerBase* layout() const { return _layout; }
    // Told when in-place editing on the layout canvas has ended (the window
    // reloads its current panel).
    void setContentEditingHandler(std::function<void()> handler) { _contentEditingEnded = std::move(handler); }

    // --- The four trees ---------------------------------------------------------
    XmlTheme* theme() const override { return _theme.get(); }
    // Puts the theme in the place of the current one (a theme import): it
    // gets the document and the document folder, and its template numbers
    // are made unique. The pages keep their template numbers.
    void replaceTheme(const std::shared_ptr<XmlTheme>& theme);
    XmlLocation* location() const { return _location.get(); }
    XmlRSS* rss() const override { return _rss.get(); }
    // The document folder (the site's root folder), or "" before one is set.
    QString fileName() const;
    // The theme library of the support folder, its folders only: made and
    // read at the first call, kept while the document lives (its window's
    // "Themes" tab reloads it).
    XmlStandAloneFiles* themeLibrary();

    // --- Processor queue and Activity log -----------------------------------
    ProcessorQueue& queue() { return _queue; }
    const QString& activityText() const { return _queue.activityText(); }

    // --- Package ------------------------------------------------------------------
    // A new site in the folder, made from the starter archive
    // "styles/default.qvzip" of the resources, then saved. A folder (or
    // anything) already at the path is refused: nothing there is overwritten.
    // When the starter cannot be unpacked (a full disk) or the new site not
    // saved, the folder goes again and lastError tells why.
    bool newDocument(const QString& folder);
    // The same from another starter archive.
    bool newDocumentFromArchive(const QString& folder, const QString& archive);
    // Opens the document folder; converts the older layouts ("index.xml",
    // "site.xml" with "theme.xml"). False when the site or the theme cannot
    // be read, or when another program has the folder open (lastError names
    // it; nothing in the folder is touched). A save or revert that a killed
    // program left half done is finished first, and what it left behind
    // removed, pictures that neither the saved site nor a snapshot uses
    // included (an import that a killed program never saved).
    bool readFromFile(const QString& folder);
    // Every save ends here: saveFileWithComment with an empty comment.
    bool writeWithBackupToFile(const QString& folder);
    // Writes the four files and a snapshot carrying the comment, all or
    // nothing: the snapshot holds exactly what the save wrote. Every write
    // is checked: when one fails, nothing is replaced, no snapshot is made,
    // the document stays edited and lastError tells why.
    bool saveFileWithComment(const QString& folder, const QString& comment);
    // The user closes the site without saving its changes: the queue stops,
    // and the pictures that only those changes used (an import, an Empty
    // Trash not saved) go; what the saved site or a snapshot uses stays
    // (SitePictures::removeUnusedPictures).
    void closeWithoutSaving();
    // The save before a publication: written like any save, with the comment
    // publications carry (Snapshots::publicationComment), except that a
    // version is added only when the site or its theme differ from what the
    // newest version holds: publishing an unchanged site adds none. A site
    // not edited since the save that made its version adds none either when
    // only what a build fills in by itself differs.
    bool saveForPublication();
    // Copies the document folder to the new path, then saves there; refuses
    // a path where anything exists.
    bool saveAs(const QString& path);
    // Takes the site, the theme and the theme's pictures of the snapshot: it
    // is unpacked into a private folder and read there, and the document's
    // files are replaced only once both trees read, all in one change.
    // Nothing else in the snapshot is ever taken (not the destination, not
    // files for the site). A refused snapshot leaves the document and its
    // folder as they were.
    bool revertFromFile(const QString& snapshot);
    // Brings the theme of the archive into the saved site, in one change of
    // the document folder: adds the archive's templates after the site's
    // own, or, with replace, puts its theme in place of the site's with every
    // page on the new first template; its pictures and files come in the same
    // save, with the comment. Killed at any moment, the site opens with the
    // new templates and their pictures, or with neither. The theme's files
    // the site has already stay as they are and are named in `kept`. When
    // anything fails, the document and its folder are as they were and
    // lastError tells why.
    bool importTheme(const ThemeArchive& archive, bool replace, const QString& comment, QStringList* kept = nullptr);
    // Adds the site, theme, "bitmaps2", "pictures" and "files" to the zip
    // archive, under one top folder named like the document folder.
    bool archiveDocument(const QString& archive);
    // True when the path is the document folder, exactly.
    bool compareDocPath(const QString& path) const;
    // True when a folder is at the name below the folder; a file in the way
    // is deleted and the folder made (without parents). A link there is
    // neither followed nor removed: false, and why.
    static bool ensureFolder(lq::ConfinedFolder& folder, const QString& name, QString* error = nullptr);

    // Why the last package operation failed ("" when it did not).
    const QString& lastError() const { return _lastError; }
    // Why the open site is not locked against other programs, its lock file
    // being impossible to make or write (a full disk), or "": the window
    // says so. The site is open for changes all the same: its saves are all
    // or nothing, and the next one takes the lock once it can be written.
    QString lockWarning() const { return _lock.unlocked(); }
    // Set by an open that found the caches missing or the picture counter
    // at or below a picture number in use: the window offers a rebuild.
    bool siteNeedsRebuild() const { return _siteNeedsRebuild; }

    // The snapshot's file name (without folder or extension) for a save at
    // that local time: "Mon Dec 07,2026 11_29_17 PM".
    static QString snapshotName(const QDateTime& time);
    // The user's own snapshots kept at open (those of publications are
    // counted apart: Snapshots).
    static constexpr int keptSnapshots = 50;
    // The file of the site folder that keeps the digests of the generated
    // site's last listing with the state of each file (see
    // lq::createXmlDWithCache); losing it only costs reading every file.
    static inline const QString generatedSiteDigests = QStringLiteral("homepage.digests");

    // --- Rebuild and export ------------------------------------------------------
    // The rebuilds of the site's pictures (see SitePictures).
    void rebuildEntireSite();
    void rebuildPhotoAlbum(XmlAlbum* page);
    // The bookends of the build before every preview, export or upload
    // (see ExportPreparation; DocumentSiteBuilder runs the build).
    ExportPreparation& exportPreparation() { return _exportPreparation; }
    void beginBuild() { _exportPreparation.beginBuild(); }
    bool buildMayBePublished() { return _exportPreparation.buildMayBePublished(); }

    // --- Editing state after a revert ------------------------------------------
    const QString& currentObject() const { return _currentObject; }
    int currentType() const { return _currentType; }
    const QString& currentAlbum() const { return _currentAlbum; }
    // Called when the editors must reload from new trees (after a revert).
    void setReloadHandler(std::function<void()> handler) { _reload = std::move(handler); }
    // Shows the warning about a document last edited by the older release
    // and answers the button: 0 "Continue", 1 "ReImport File", 2 "More Info
    // Please". Without a handler the answer is 0.
    using ChoiceHandler = std::function<int(const QString& title, const QString& message, const QStringList& buttons)>;
    void setChoiceHandler(ChoiceHandler handler) { _choice = std::move(handler); }
    // Clock of the snapshot names (tests set it back and forth).
    void setNow(std::function<QDateTime()> now) { _now = std::move(now); }
    QDateTime now() const { return _now(); }

    // Notes why an operation of the document failed: lastError tells it and
    // the log has it. Answers false.
    bool fail(const QString& why);

private:
    bool importLegacy(lq::ConfinedFolder& folder, bool layout12);
    void adopt(const std::shared_ptr<XmlSite>& site, const std::shared_ptr<XmlTheme>& theme);
    void release();
    // The save of saveFileWithComment; with a theme archive, its pictures
    // and files come in the same change (kept: those the site has already).
    // `versionOnlyIfChanged`: no snapshot when the site and theme are what
    // the newest version holds.
    bool save(const QString& folder, const QString& comment, const ThemeArchive* bringing, QStringList* kept,
        bool versionOnlyIfChanged = false);
    // A digest of the site's and the theme's texts, to tell one version from another.
    static QByteArray textsDigest(const QByteArray& site, const QByteArray& theme);

    std::shared_ptr<XmlSite> _site;
    std::shared_ptr<XmlTheme> _theme;
    std::shared_ptr<XmlLocation> _location;
    std::shared_ptr<XmlRSS> _rss;
    std::shared_ptr<XmlStandAloneFiles> _themeLibrary;
    std::shared_ptr<lq::ConfinedFolder> _folder;
    ProcessorQueue _queue;

    int _changeCount = 0;
    int _suppressedChanges = 0;
    quint64 _changesSeen = 0;
    bool _testMode = false;
    TextEditorBase* _textEditor = nullptr;
    bool _siteNeedsRebuild = false;
    QString _lastError;
    QString _currentObject;
    int _currentType = -1;
    QString _currentAlbum;
    std::function<void()> _reload;
    std::function<void(bool)> _edited;
    NotImportedHandler _notImported;
    std::function<void()> _contentEditingEnded;
    ChoiceHandler _choice;
    std::function<QDateTime()> _now;
    LayoutControllerBase* _layout = nullptr;
    // What the newest version holds of the site and its theme (textsDigest),
    // told by the saves that make one; "" while not known. After an open,
    // before any save, the saved files are what it holds.
    QByteArray _versionedTexts;
    bool _versionIsSavedFiles = false;
    // Whether the site as last saved or opened has its version: the newest
    // one holds it, but for what a build fills in by itself (a template's
    // measured width, a font record made on first use), which is no edit.
    // Not after a revert, nor after a save whose version could not be made.
    bool _savedHasVersion = false;
    SiteLock _lock;
    ExportPreparation _exportPreparation { *this };
};
