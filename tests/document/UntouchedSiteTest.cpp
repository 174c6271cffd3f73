// A site made from the shipped starter changes only when its user changes
// it: opening it, previewing, building and exporting it mark nothing; its
// trash is always there; and the open's picture-counter check counts every
// picture number the site hands out, so it raises no rebuild for a sound
// site and one for a counter that would reuse a number.
#include "document/MyDocument.h"
#include "model/site/XmlAlbum.h"
#include "model/site/XmlGroup.h"
#include "model/site/XmlHomePage.h"
#include "model/site/XmlPhoto.h"
#include "model/site/XmlPhotoRep.h"
#include "model/site/XmlSite.h"
#include "model/site/XmlTrash.h"
#include "support/SiteBuildRun.h"
#include "support/StarterSite.h"
#include "support/TestFiles.h"
#include "support/TestPictures.h"

#include <QFileInfo>
#include <QRegularExpression>

#include <gtest/gtest.h>

namespace {

class UntouchedSiteTest : public StarterSiteTest {
protected:
    UntouchedSiteTest()
        : StarterSiteTest(QStringLiteral("Garden.lqxl"))
    {
    }

    void SetUp() override
    {
        qputenv("LUMENQUILL_LIBEXEC", QByteArray(LQ_TEST_LIBEXEC));
        StarterSiteTest::SetUp();
    }

    // A real JPEG outside the document.
    QString picture(const QString& name, const QColor& colour)
    {
        const QString path = work.filePath(name + QStringLiteral(".jpg"));
        writeAll(path, jpegBytes(320, 240, colour, 85));
        return path;
    }

    // A group page holding an album page of three photos, and photos on the
    // starter's own photo page: what a user has after a first afternoon.
    void addGroupAndPhotos()
    {
        // The group shows its pages as an album of their pictures.
        const auto group = addGroup();
        group->setTemplate(templateNumbered(1));
        inGroup = addPage(*group, 1, QStringLiteral("Roses"));
        for (int i = 0; i < 3; ++i)
            ASSERT_NE(inGroup->importPhotoIndexCaption(picture(QStringLiteral("rose%1").arg(i), QColor::fromHsv(40 * i, 200, 200)), -1, QString()), nullptr);
        auto* photos = XmlAlbum::cast(home().childAtIndex(1).get());
        ASSERT_NE(photos, nullptr);
        for (int i = 0; i < 2; ++i)
            ASSERT_NE(photos->importPhotoIndexCaption(picture(QStringLiteral("tulip%1").arg(i), QColor::fromHsv(200 + 40 * i, 200, 200)), -1, QString()), nullptr);
    }

    bool save() { return document.saveFileWithComment(folder, QStringLiteral("saved")); }

    std::shared_ptr<XmlAlbum> inGroup;
};

TEST_F(UntouchedSiteTest, TheShippedStarterGivesEverySiteItsTrash)
{
    ASSERT_NE(site().trash(), nullptr);
    EXPECT_EQ(site().lastChild().get(), site().trash());
    EXPECT_TRUE(readAll(folder + QStringLiteral("/site.xmlbase")).contains("<QZtrash"));

    // A site saved without one (made before sites had it) gets it at open,
    // last, and the open is no edit; the next save writes it.
    QString text = QString::fromUtf8(readAll(folder + QStringLiteral("/site.xmlbase")));
    text.remove(QRegularExpression(QStringLiteral("<QZtrash\\s*/>|<QZtrash>\\s*</QZtrash>")));
    ASSERT_FALSE(text.contains(QStringLiteral("QZtrash"))) << text.toStdString();
    writeAll(folder + QStringLiteral("/site.xmlbase"), text.toUtf8());

    MyDocument reopened;
    ASSERT_TRUE(reopened.readFromFile(folder)) << reopened.lastError().toStdString();
    XmlSite& opened = *reopened.site();
    ASSERT_NE(opened.trash(), nullptr);
    EXPECT_EQ(opened.lastChild().get(), opened.trash());
    EXPECT_EQ(opened.indexOfChild(opened.homepage()), 0);
    EXPECT_FALSE(reopened.isDocumentEdited());
    EXPECT_FALSE(reopened.siteNeedsRebuild());
    ASSERT_TRUE(reopened.saveFileWithComment(folder, QStringLiteral("with its trash")));
    EXPECT_TRUE(readAll(folder + QStringLiteral("/site.xmlbase")).contains("<QZtrash"));
}

TEST_F(UntouchedSiteTest, OpeningPreviewingAndExportingMarkNothing)
{
    addGroupAndPhotos();
    ASSERT_TRUE(save()) << document.lastError().toStdString();
    ASSERT_FALSE(document.isDocumentEdited());

    // A preview, an export, another preview: each is the same build.
    for (int build = 0; build < 3; ++build) {
        SiteBuildRun run(document);
        ASSERT_TRUE(run.wait()) << run.why.toStdString();
        EXPECT_FALSE(document.isDocumentEdited()) << build << ": the build is no edit";
    }
    // What the build worked out for itself is made the same way again, so
    // the site saved before it is still the site.
    const QByteArray saved = readAll(folder + QStringLiteral("/site.xmlbase"));

    MyDocument reopened;
    ASSERT_TRUE(reopened.readFromFile(folder)) << reopened.lastError().toStdString();
    EXPECT_FALSE(reopened.siteNeedsRebuild()) << "no false \"Rebuild Website\"";
    EXPECT_FALSE(reopened.isDocumentEdited());
    SiteBuildRun run(reopened);
    EXPECT_TRUE(run.wait()) << run.why.toStdString();
    EXPECT_FALSE(reopened.isDocumentEdited());
    EXPECT_EQ(readAll(folder + QStringLiteral("/site.xmlbase")), saved);
}

TEST_F(UntouchedSiteTest, TheOpenCountsEveryPictureNumber)
{
    addGroupAndPhotos();
    // The group shows its page by a picture of its own: it draws a number,
    // and so does one the user picks for a page.
    ASSERT_NE(inGroup->rep(), nullptr);
    auto* photos = XmlAlbum::cast(home().childAtIndex(1).get());
    photos->rep()->setNewImageFromFile(picture(QStringLiteral("picked"), Qt::darkYellow));
    int largest = 0;
    for (XmlAlbum* page : { inGroup.get(), photos }) {
        largest = std::max(largest, page->repPictureNumber());
        for (const auto& photo : page->childrenOfType<XmlPhoto>())
            largest = std::max(largest, photo->imageSeqNumber());
    }
    ASSERT_GT(photos->repPictureNumber(), 0);
    ASSERT_EQ(site().imageSeqTest(), largest + 1);
    ASSERT_TRUE(save()) << document.lastError().toStdString();
    const QByteArray text = readAll(folder + QStringLiteral("/site.xmlbase"));

    struct Case {
        const char* what;
        int counter;
        bool rebuild;
    };
    const Case cases[] {
        { "the counter next after the largest number", largest + 1, false },
        { "the counter ahead (the newest photo was deleted)", largest + 4, false },
        { "the counter at the largest number, a representative picture's", photos->repPictureNumber(), true },
        { "the counter behind every photo", 1, true },
    };
    for (const Case& c : cases) {
        QByteArray changed = text;
        changed.replace(QByteArray("imageseq=\"") + QByteArray::number(largest + 1) + '"', QByteArray("imageseq=\"") + QByteArray::number(c.counter) + '"');
        writeAll(folder + QStringLiteral("/site.xmlbase"), changed);
        MyDocument reopened;
        ASSERT_TRUE(reopened.readFromFile(folder)) << c.what;
        EXPECT_EQ(reopened.site()->imageSeqTest(), c.counter) << c.what;
        EXPECT_EQ(reopened.siteNeedsRebuild(), c.rebuild) << c.what;
        EXPECT_FALSE(reopened.isDocumentEdited()) << c.what;
    }
}

} // namespace
