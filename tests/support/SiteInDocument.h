#pragma once

// Site documents for the model tests: a new site in a recording document, a
// site stored in a temporary folder, and the check that setters mark the
// document edited.
#include "application/MyApplication.h"
#include "model/site/XmlAlbum.h"
#include "model/site/XmlHomePage.h"
#include "model/site/XmlSite.h"
#include "support/FakeDocument.h"
#include "support/TestFiles.h"
#include "support/TestPictures.h"

#include <QDir>
#include <QString>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <utility>
#include <vector>

// A new site in a recording document for as long as it lives.
struct SiteInDocument {
    SiteInDocument()
    {
        site->newDocument();
        site->setDocument(&document);
    }
    ~SiteInDocument() { site->setDocument(nullptr); }
    SiteInDocument(const SiteInDocument&) = delete;
    SiteInDocument& operator=(const SiteInDocument&) = delete;

    std::shared_ptr<XmlSite> site = XmlSite::create();
    FakeDocument document;
};

// Named edits, each of which must mark the document edited exactly once.
using DocumentChanges = std::vector<std::pair<const char*, std::function<void()>>>;

inline void expectEachMarksTheDocumentOnce(const FakeDocument& document, const DocumentChanges& changes)
{
    for (const auto& [what, change] : changes) {
        const int before = document.changes;
        change();
        EXPECT_EQ(document.changes, before + 1) << what;
    }
}

// A site document in a temporary folder, with a "pictures" folder and an
// album page on its home page, for the operations that number and store
// pictures. Source pictures are written to a second folder, outside the
// document.
class SiteInFolderTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(folder.isValid());
        site->newDocument();
        site->setRootDir(folder.path());
        document.siteRoot = site.get();
        site->setDocument(&document);
        site->homepage()->addChild(album);
        ASSERT_TRUE(QDir(folder.path()).mkpath("pictures"));
    }
    void TearDown() override { site->setDocument(nullptr); }

    // Writes a source picture outside the document folder; answers its path.
    QString source(const QString& name, const QByteArray& bytes = jpegBytes(40, 30))
    {
        const QString path = sources.filePath(name);
        writeAll(path, bytes);
        return path;
    }
    // The stored picture of that number.
    QString stored(int number) const
    {
        return folder.path() + QStringLiteral("/pictures/image") + QString::number(number) + QStringLiteral(".jpg");
    }

    // The document folder's name holds "%1" and "%2": paths must never be
    // built by filling placeholders one after another.
    QTemporaryDir folder { QDir::tempPath() + QStringLiteral("/lq %1 %2-XXXXXX") };
    QTemporaryDir sources;
    FakeDocument document;
    std::shared_ptr<XmlSite> site = XmlSite::create();
    std::shared_ptr<XmlAlbum> album = XmlAlbum::create();
};

// Sets the application's picture limits while it lives.
class PictureLimits {
public:
    PictureLimits(int width, int height)
        : _width(MyApplication::shared().maxPictureWidth())
        , _height(MyApplication::shared().maxPictureHeight())
    {
        MyApplication::shared().setMaxPictureWidth(width);
        MyApplication::shared().setMaxPictureHeight(height);
    }
    ~PictureLimits()
    {
        MyApplication::shared().setMaxPictureWidth(_width);
        MyApplication::shared().setMaxPictureHeight(_height);
    }

private:
    int _width;
    int _height;
};
