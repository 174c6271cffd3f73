#pragma once

#include "model/core/DocumentBase.h"

#include <QString>

#include <memory>
#include <vector>

class XmlBase;
class XmlSite;

// A copy of an open site document's trees (the site, its theme and its
// feed settings) for a thread that writes pages ahead of the main one.
//
// The main thread takes a snapshot: the XML text of each tree and, in the
// order of the walks, the element name and UUID of each element. The
// worker thread makes the copy from it with a registry of its own
// (ElementRegistry::ThreadScope): each copied element takes the UUID of its
// original, so that what a page written from the copy names (a photo, a
// picture frame, a page) is found on the main thread. The copy answers the
// model as the open document answered when the snapshot was taken; anything
// the model asks of the document beyond questions (a script queued, an
// editor told, a change counted) is noted as a disturbance, so that the
// page written meanwhile is made again on the main thread instead.
class SiteCopy final : public DocumentBase {
public:
    struct Identity {
        QString name;
        QString uuid;
        int depth = 0;
    };
    struct Snapshot {
        QString rootDir;
        QString site;
        QString theme;
        QString feed;
        std::vector<Identity> siteElements;
        std::vector<Identity> themeElements;
        std::vector<Identity> feedElements;
        bool testMode = false;
        int globalIndex = -1;
    };

    // On the main thread: the snapshot of the document's trees. Every
    // element of them is given its UUID now if it had none.
    static Snapshot take(DocumentBase& document);
    // On the thread that will use it, inside its own registry: the copy, or
    // nothing when a tree does not read back as the same elements.
    static std::unique_ptr<SiteCopy> make(const Snapshot& snapshot);
    ~SiteCopy() override;

    // Whether the model asked for anything but answers since the last clear.
    bool disturbed() const { return _disturbed; }
    void clearDisturbed() { _disturbed = false; }

    // --- What the model asks of its document ---------------------------------------
    void updateChangeCount(int changeKind) override;
    void falseAlarm(bool suppress) override;
    bool testMode() override { return _testMode; }
    XmlSite* site() override;
    XmlStyleSheet* defaultTemplate() override;
    PageTemplate* defaultPageTemplate() override;
    void layoutDidContentEditing() override { _disturbed = true; }
    // Click areas belong to the canvas of the open document: a copy has none.
    void addTrackingDataForObjectDataRect(const QString&, const QString&, const lq::Rect&) override {}
    void clearTrackingDataForObject(const QString&) override {}
    void clearTrackingData() override {}
    void selectWebPageIndex(XmlAlbum*, int) override { _disturbed = true; }
    QList<std::shared_ptr<XmlBase>> webItems() override;
    int globalIndex() override { return _globalIndex; }
    void addActivityString(const QString&) override { _disturbed = true; }
    void startProcessor(const std::shared_ptr<XmlProcessor>&) override { _disturbed = true; }
    void startProcessorNext(const std::shared_ptr<XmlProcessor>&) override { _disturbed = true; }
    void resizeThumbnails(const QList<ThumbnailResize>&) override { _disturbed = true; }
    XmlTheme* theme() const override;
    XmlRSS* rss() const override;
    void createRSSProcessor() override { _disturbed = true; }
    std::shared_ptr<XmlD> createXmlD(const QString&) override;
    QList<FileDigest> fileDigests(const QString&) override;
    std::shared_ptr<XmlD> lastXmlD(QString*) override;
    void setLastXmlD(XmlD*) override { _disturbed = true; }

private:
    SiteCopy() = default;

    std::shared_ptr<XmlBase> _site;
    std::shared_ptr<XmlBase> _theme;
    std::shared_ptr<XmlBase> _feed;
    int _suppressedChanges = 0;
    bool _testMode = false;
    int _globalIndex = -1;
    bool _disturbed = false;
};
