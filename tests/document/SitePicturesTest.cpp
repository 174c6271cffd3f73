// Which of a site's imported pictures may go: a picture that neither the
// site as saved nor any of its versions (snapshots) names goes with its
// files when the user closes without saving or at the next open; every
// picture a version may still need stays, and so does everything when a
// version cannot be read. The site is made from the shipped starter and its
// photos come in through the import steps of the document's own queue.
#include "document/SitePictures.h"
#include "model/site/XmlPhoto.h"
#include "model/site/XmlTrash.h"
#include "pipeline/XmlImportPhoto.h"
#include "platform/FileHelpers.h"
#include "support/LogCapture.h"
#include "support/SiteHelperProcess.h"
#include "support/StarterSite.h"
#include "support/TestPictures.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

class SitePicturesTest : public StarterSiteTest {
protected:
    SitePicturesTest()
        : StarterSiteTest(QStringLiteral("Pictures.lqxl"))
    {
    }
    void SetUp() override
    {
        StarterSiteTest::SetUp();
        page = addPage(home(), 1, QStringLiteral("Garden"));
        int second = 0;
        document.setNow([second]() mutable { return QDateTime(QDate(2030, 3, 1), QTime(9, 0)).addSecs(++second); });
        save();
    }

    // Photos imported into the page as the program imports them: a script of
    // import steps run by the document's queue. The photos made.
    QList<std::shared_ptr<XmlPhoto>> importPhotos(const QStringList& names)
    {
        QStringList files;
        for (const QString& name : names) {
            files.append(work.filePath(name + QStringLiteral(".jpg")));
            writeAll(files.last(), jpegBytes(64, 48, QColor::fromHsv(static_cast<int>(qHash(name) % 360), 200, 200)));
        }
        const int before = page->numberPhotos();
        document.startProcessor(XmlImportPhoto::createProcessorForFilesAlbumIndex(files, page->UUID(), -1));
        runQueue();
        QList<std::shared_ptr<XmlPhoto>> made;
        for (int i = before; i < page->numberPhotos(); ++i)
            made.append(std::dynamic_pointer_cast<XmlPhoto>(page->photoObjects().value(i)));
        EXPECT_EQ(made.size(), names.size());
        return made;
    }
    void save() { ASSERT_TRUE(document.saveFileWithComment(folder, QString())) << document.lastError().toStdString(); }
    // The files of the folder "pictures", at any depth.
    QStringList pictures() const
    {
        QStringList found = lq::folderEntries(folder + QStringLiteral("/pictures"), true);
        found.sort();
        return found;
    }
    static QString pictureOf(const std::shared_ptr<XmlPhoto>& photo)
    {
        return QStringLiteral("image") + QString::number(photo->imageSeqNumber()) + QStringLiteral(".jpg");
    }
    // Every file a build and the editors make of the photo besides its picture.
    QStringList madeFilesOf(XmlPhoto& photo)
    {
        photo.createInternalImages();
        const QString n = QString::number(photo.imageSeqNumber());
        QStringList files { photo.thumbnailFilename(), photo.fullSizeFilename(), photo.iconFilename() };
        for (const QString& name : { QStringLiteral("thumb") + n + QStringLiteral(".jpg"), QStringLiteral("image") + n + QStringLiteral(".jpg") }) {
            files.append(homepage(QStringLiteral("pictures/") + name));
            writeAll(files.last(), "built");
        }
        for (const QString& file : files)
            EXPECT_TRUE(QFileInfo::exists(file)) << file.toStdString();
        return files;
    }

    std::shared_ptr<XmlAlbum> page;
};

TEST_F(SitePicturesTest, OnlyPicturesThatNoSavedSiteOrVersionNamesGoWithTheirFiles)
{
    // Saved in the page, saved in the trash, in an older version only, and
    // never saved.
    const auto kept = importPhotos({ QStringLiteral("kept") }).value(0);
    const auto trashed = importPhotos({ QStringLiteral("trashed") }).value(0);
    const auto older = importPhotos({ QStringLiteral("older") }).value(0);
    save();
    trashed->removeFromParentWithoutDeletingChildren();
    site().ensureTrash()->addChild(trashed);
    older->removeFromParent();
    save();
    const auto unsaved = importPhotos({ QStringLiteral("unsaved"), QStringLiteral("unsaved too") });
    ASSERT_EQ(unsaved.size(), 2);
    const QStringList unsavedFiles = madeFilesOf(*unsaved[0]);
    const QStringList keptFiles = madeFilesOf(*kept);
    // What the program does not number is not its to remove.
    for (const char* other : { "notes.txt", "image7.png", "image007.jpg", "old/image99.jpg" })
        writeAll(folder + QStringLiteral("/pictures/") + QLatin1String(other), "the user's");

    const QList<int> removed = SitePictures(document).removeUnusedPictures();
    EXPECT_EQ(removed, (QList<int> { unsaved[0]->imageSeqNumber(), unsaved[1]->imageSeqNumber() }));
    QStringList expected { pictureOf(kept), pictureOf(trashed), pictureOf(older), QStringLiteral("notes.txt"), QStringLiteral("image7.png"),
        QStringLiteral("image007.jpg"), QStringLiteral("old"), QStringLiteral("old/image99.jpg") };
    expected.sort();
    EXPECT_EQ(pictures(), expected);
    for (const QString& file : unsavedFiles)
        EXPECT_FALSE(QFileInfo::exists(file)) << file.toStdString();
    for (const QString& file : keptFiles)
        EXPECT_TRUE(QFileInfo::exists(file)) << file.toStdString();

    // Nothing more goes a second time.
    EXPECT_TRUE(SitePictures(document).removeUnusedPictures().isEmpty());
    EXPECT_EQ(pictures(), expected);
}

// A version that cannot be read may name any picture: none goes. The saved
// site counts even with no version left that holds it.
TEST_F(SitePicturesTest, WhatCannotBeReadKeepsEveryPicture)
{
    const auto saved = importPhotos({ QStringLiteral("saved") }).value(0);
    save();
    const auto unsaved = importPhotos({ QStringLiteral("unsaved") }).value(0);
    writeAll(folder + QStringLiteral("/revert/broken.qvzip"), "no archive at all");
    const QStringList before = pictures();

    LogCapture log;
    EXPECT_TRUE(SitePictures(document).removeUnusedPictures().isEmpty());
    EXPECT_EQ(pictures(), before);
    EXPECT_TRUE(log.lines.join(QLatin1Char('\n')).contains(QStringLiteral("broken.qvzip"))) << log.lines.join(QLatin1Char('\n')).toStdString();
    // Emptying the trash keeps them all too.
    const QSet<QString> inUse = SitePictures(document).picturesInUse({ pictureOf(saved), pictureOf(unsaved) });
    EXPECT_TRUE(inUse.contains(pictureOf(saved)));
    EXPECT_TRUE(inUse.contains(pictureOf(unsaved)));

    // Every version gone, none broken: the saved site alone keeps its picture.
    ASSERT_TRUE(QDir(folder + QStringLiteral("/revert")).removeRecursively());
    ASSERT_TRUE(QDir().mkdir(folder + QStringLiteral("/revert")));
    const QSet<QString> inUseNow = SitePictures(document).picturesInUse({ pictureOf(saved), pictureOf(unsaved) });
    EXPECT_TRUE(inUseNow.contains(pictureOf(saved))) << "on its way to the trash, the photo is still in the site as saved";
    EXPECT_FALSE(inUseNow.contains(pictureOf(unsaved)));
    // The page's representative picture, made from its first photo as the
    // trash asked, was never saved either: it goes too.
    EXPECT_TRUE(SitePictures(document).removeUnusedPictures().contains(unsaved->imageSeqNumber()));
    EXPECT_EQ(pictures(), QStringList { pictureOf(saved) });
}

// The sweep at open reads the site with the program's own reader: a photo
// whose number the saved file spells in any way the reader takes keeps its
// picture, with no version left to name it; a picture the site truly no
// longer uses goes.
TEST_F(SitePicturesTest, EverySpellingOfAPictureNumberTheReaderTakesKeepsItsPicture)
{
    const auto photo = importPhotos({ QStringLiteral("harbour") }).value(0);
    const auto dropped = importPhotos({ QStringLiteral("dropped") }).value(0);
    ASSERT_TRUE(photo && dropped);
    save();
    const int number = photo->imageSeqNumber();
    const QString digits = QString::number(number);
    const QString picture = photo->originalFilename();
    const QString unused = dropped->originalFilename();
    const QByteArray pictureBytes = readAll(picture);
    const QByteArray unusedBytes = readAll(unused);
    // Deleted and saved: the site no longer uses that picture.
    dropped->removeFromParent();
    save();
    ASSERT_FALSE(pictureBytes.isEmpty());
    ASSERT_FALSE(unusedBytes.isEmpty());
    const QString siteFile = folder + QStringLiteral("/site.xmlbase");
    const QString savedSite = QString::fromUtf8(readAll(siteFile));
    const QString written = QStringLiteral(" iseq=\"") + digits + QStringLiteral("\"");
    ASSERT_EQ(savedSite.count(written), 1) << "only the photo has that number";

    const struct {
        QString spelling;
        bool taken; // whether the reader takes it as the photo's number
    } cases[] {
        { QStringLiteral("0") + digits, true },
        { QStringLiteral("000") + digits, true },
        { digits + QStringLiteral(" "), true },
        { QStringLiteral(" ") + digits, true },
        { QStringLiteral("  ") + digits + QStringLiteral("  "), true },
        { QStringLiteral("+") + digits, true },
        { digits + QStringLiteral(".0"), true },
        { digits + QStringLiteral("th"), true },
        { QStringLiteral("\t") + digits, true },
        { digits + QStringLiteral("\n"), true },
        { QStringLiteral("&#160;") + digits, true },
        { QStringLiteral("&nbsp;") + digits, true },
        { QStringLiteral("x") + digits, false },
        { QStringLiteral("-") + digits, false },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.spelling.toStdString());
        // The saved site as another program or an older copy left it, with no version beside it.
        writeAll(picture, pictureBytes);
        writeAll(unused, unusedBytes);
        QString site = savedSite;
        writeAll(siteFile, site.replace(written, QStringLiteral(" iseq=\"") + c.spelling + QStringLiteral("\"")).toUtf8());
        ASSERT_TRUE(QDir(folder + QStringLiteral("/revert")).removeRecursively());
        ASSERT_TRUE(QDir().mkdir(folder + QStringLiteral("/revert")));

        MyDocument reopened;
        ASSERT_TRUE(reopened.readFromFile(folder)) << reopened.lastError().toStdString();
        XmlPhoto* read = nullptr;
        reopened.site()->callSelectorOnObject([&](XmlBase& element) {
            if (auto* page = XmlAlbum::cast(&element); page && !read && page->numberPhotos() > 0)
                read = XmlPhoto::cast(page->photoObjects().value(0).get());
        });
        ASSERT_NE(read, nullptr);
        EXPECT_EQ(read->imageSeqNumber() == number, c.taken) << "the reader took " << read->imageSeqNumber();
        EXPECT_EQ(QFileInfo::exists(picture), c.taken);
        if (c.taken) {
            EXPECT_EQ(readAll(picture), pictureBytes);
        }
        EXPECT_FALSE(QFileInfo::exists(unused)) << "a picture nothing uses still goes";
    }
}

// A program killed after an import it never saved leaves the picture; the
// next open removes it, and keeps what the saved site and its versions use.
TEST(SitePicturesKilledTest, AnImportAKilledProgramNeverSavedGoesAtTheNextOpen)
{
    QTemporaryDir work;
    const QString folder = work.filePath(QStringLiteral("Killed.lqxl"));
    QString savedName;
    QByteArray savedPicture;
    {
        MyDocument document;
        ASSERT_TRUE(document.newDocument(folder)) << document.lastError().toStdString();
        XmlAlbum* page = document.site()->homepage()->firstChildOfType<XmlAlbum>().get();
        ASSERT_NE(page, nullptr);
        const QString source = work.filePath(QStringLiteral("saved.jpg"));
        writeAll(source, jpegBytes(64, 48, Qt::darkGreen));
        document.startProcessor(XmlImportPhoto::createProcessorForFilesAlbumIndex({ source }, page->UUID(), -1));
        for (int turn = 0; turn < 1000 && !document.queue().processors().isEmpty(); ++turn)
            document.queue().processor();
        document.queue().stopProcessor();
        ASSERT_EQ(page->numberPhotos(), 1);
        auto* photo = XmlPhoto::cast(page->photoObjects().value(0).get());
        ASSERT_NE(photo, nullptr);
        savedName = QFileInfo(photo->originalFilename()).fileName();
        savedPicture = readAll(photo->originalFilename());
        ASSERT_FALSE(savedPicture.isEmpty());
        ASSERT_TRUE(document.saveFileWithComment(folder, QString())) << document.lastError().toStdString();
    }

    const QString picture = work.filePath(QStringLiteral("fresh.jpg"));
    writeAll(picture, jpegBytes(80, 60, Qt::darkYellow));
    {
        SiteHelperProcess helper(QStringLiteral("import"), folder, picture);
        ASSERT_EQ(helper.nextLine(), QStringLiteral("opened"));
        ASSERT_EQ(helper.nextLine(), QStringLiteral("imported"));
        helper.kill();
    }
    const QStringList left = lq::folderEntries(folder + QStringLiteral("/pictures"));
    ASSERT_EQ(left.size(), 2) << left.join(QLatin1Char(' ')).toStdString();

    MyDocument reopened;
    ASSERT_TRUE(reopened.readFromFile(folder)) << reopened.lastError().toStdString();
    EXPECT_EQ(lq::folderEntries(folder + QStringLiteral("/pictures")), QStringList { savedName });
    EXPECT_EQ(readAll(folder + QStringLiteral("/pictures/") + savedName), savedPicture);
    EXPECT_FALSE(reopened.isDocumentEdited());
}

} // namespace
