// The photo library: finding it from the home folder, the albums it offers
// and those it leaves out, the captions the tool "iphotoreader" gives its
// pictures (and the tool on its own), and a library that is not there.
#include "ui/editors/iphoto/iPhoto.h"
#include "ui/editors/iphoto/iPhotoAlbum.h"
#include "platform/AuxiliaryTools.h"
#include "platform/Escaping.h"
#include "platform/Process.h"
#include "support/ChildNames.h"
#include "support/LogCapture.h"
#include "support/ui/PhotoLibrary.h"
#include "support/ui/ScriptedModalHandler.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <functional>

#include <gtest/gtest.h>

namespace {

class iPhotoTest : public ::testing::Test {
protected:
    // Album data of a few kilobytes whose one entity, used 40,000 times in a
    // caption, would read as 160 million characters; its path.
    QString amplifying(const QString& picture)
    {
        QByteArray uses;
        for (int i = 0; i < 40000; ++i)
            uses += "&e;";
        const QString path = sources.filePath(QStringLiteral("Amplifying.xml"));
        writeAll(path, "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<!DOCTYPE plist [<!ENTITY e \"" + QByteArray(4000, 'x')
                + "\">]>\n<plist version=\"1.0\"><dict><key>Master Image List</key><dict><key>1</key><dict>"
                  "<key>ImagePath</key><string>" + lq::escape(picture).toUtf8() + "</string>"
                  "<key>Caption</key><string>" + uses + "</string></dict></dict></dict></plist>\n");
        return path;
    }

    void SetUp() override { library.writeSample(); }
    void TearDown() override { MyApplication::shared().setImportCaptions(0); }

    iPhotoAlbum* album(iPhoto& node, int id) { return node.getPhotoAlbumWithId(id); }

    ScopedModalHandler modal;
    QTemporaryDir sources;
    PhotoLibrary library;
    ScopedPhotoLibrary hooks { library };
};

TEST_F(iPhotoTest, ReadsTheAlbumsTheLibraryOffers)
{
    const auto node = iPhoto::create();
    EXPECT_EQ(node->iPhotoRootDir(), library.root) << "\"~\" is the home folder";
    EXPECT_EQ(node->iPhotoXmlData(), library.root + QStringLiteral("/AlbumData.xml"));
    EXPECT_EQ(node->numberChildren(), 0) << "read only when asked";
    node->importFromLibrary();

    EXPECT_EQ(childNames(*node), (QStringList { "Trips", "Book", "Show", "Loose", "Empty" }));
    iPhotoAlbum* trips = album(*node, 10);
    ASSERT_NE(trips, nullptr);
    EXPECT_TRUE(trips->isFolder());
    EXPECT_EQ(childNames(*trips), (QStringList { "Beach", "Hills" }));
    EXPECT_EQ(album(*node, 11)->photos(), (QStringList { library.path("a.jpg"), library.path("d.jpg") }))
        << "no movie, no record without a path, no key without a record";
    EXPECT_EQ(album(*node, 12)->photos(), (QStringList { library.path("c.jpg"), library.path("b.jpg") })) << "in the album's order";
    EXPECT_EQ(album(*node, 12)->kind(), iPhotoAlbum::Kind::Smart);
    EXPECT_EQ(album(*node, 13)->kind(), iPhotoAlbum::Kind::Book);
    EXPECT_EQ(album(*node, 14)->kind(), iPhotoAlbum::Kind::Slideshow);
    EXPECT_EQ(XmlBase::cast(node->childAtIndex(3).get())->name(), QStringLiteral("Loose"));
    EXPECT_EQ(iPhotoAlbum::cast(node->childAtIndex(3).get())->albumId(), 0);
    EXPECT_EQ(album(*node, 20), nullptr) << "its folder came after it";
    EXPECT_EQ(album(*node, 99), nullptr);
    for (int id : { 10, 11, 12, 13, 14, 17 })
        EXPECT_FALSE(album(*node, id)->iconImage().isNull()) << id;
    EXPECT_NE(album(*node, 10)->iconImage(), album(*node, 11)->iconImage());

    EXPECT_EQ(node->name(), QStringLiteral("iPhoto Library"));
    node->setName(QStringLiteral("Mine"));
    EXPECT_EQ(node->name(), QStringLiteral("iPhoto Library"));
    EXPECT_FALSE(node->canEditName());
    EXPECT_FALSE(album(*node, 11)->canEditName());
    EXPECT_EQ(node->createXml(), QString()) << "never written";

    // Read again, the tree is replaced, not doubled.
    node->importFromLibrary();
    EXPECT_EQ(node->numberChildren(), 5);
}

TEST_F(iPhotoTest, CaptionsComeFromTheToolForPicturesInsideTheLibrary)
{
    const auto node = iPhoto::create();
    struct Case {
        const char* what;
        int setting;
        QString file;
        QString caption;
    };
    const std::vector<Case> cases {
        { "the title", 0, library.path("a.jpg"), QStringLiteral("Sandy") },
        { "the comments", 1, library.path("a.jpg"), QStringLiteral("The first morning") },
        { "both", 2, library.path("a.jpg"), QStringLiteral("Sandy - The first morning") },
        { "both, without a comment", 2, library.path("b.jpg"), QStringLiteral("Rocks & <pools>") },
        { "any other setting is the title", 5, library.path("b.jpg"), QStringLiteral("Rocks & <pools>") },
        { "a blank title is none", 0, library.path("c.jpg"), QString() },
        { "both, with a blank title", 2, library.path("c.jpg"), QStringLiteral("Only a comment") },
        { "a name with markup characters and blanks", 0, library.path("e  f&g.jpg"), QStringLiteral("Odd name") },
        { "a picture the library does not list", 0, library.picture(QStringLiteral("unlisted.jpg"), Qt::gray), QString() },
        { "outside the library", 0, sources.filePath(QStringLiteral("a.jpg")), QString() },
        { "a folder beside the library whose name begins the same", 0, library.root + QStringLiteral(" Old/a.jpg"), QString() },
    };
    for (const Case& c : cases) {
        MyApplication::shared().setImportCaptions(c.setting);
        const QString caption = node->captionForFile(c.file);
        EXPECT_EQ(caption, c.caption) << c.what;
        EXPECT_EQ(caption.isNull(), c.caption.isNull()) << c.what;
    }

    // Without the tool: logged, and no caption. Files outside the library
    // never ask for it.
    const QByteArray tools = qgetenv("LUMENQUILL_LIBEXEC");
    qputenv("LUMENQUILL_LIBEXEC", sources.path().toUtf8());
    LogCapture log;
    EXPECT_TRUE(node->captionForFile(sources.filePath(QStringLiteral("a.jpg"))).isNull());
    EXPECT_TRUE(log.lines.isEmpty());
    EXPECT_TRUE(node->captionForFile(library.path("a.jpg")).isNull());
    EXPECT_EQ(log.lines.size(), 1);
    EXPECT_TRUE(log.lines.value(0).contains(QStringLiteral("iphotoreader"))) << log.lines.value(0).toStdString();
    qputenv("LUMENQUILL_LIBEXEC", tools);
    EXPECT_TRUE(modal.state->alerts.isEmpty());
}

// A library that is not there leaves nothing but the pane's explanation; one
// whose settings or album data are there but cannot be used is logged as an
// error as well, with the reason.
TEST_F(iPhotoTest, ALibraryThatIsNotThereIsExplainedAndOnlyAFaultyOneLogged)
{
    struct Case {
        const char* what;
        std::function<void()> damage;
        QString line; // the error line, "" for none at all
    };
    const QString preferences = library.home + QStringLiteral("/Library/Preferences/com.apple.iPhoto.plist");
    const std::vector<Case> cases {
        { "no preferences: simply no library", [&] { QFile::remove(preferences); }, QString() },
        { "no preferences folder either", [&] { QDir(library.home + QStringLiteral("/Library/Preferences")).removeRecursively(); },
            QString() },
        { "preferences that are no property list", [&] { writeAll(preferences, "not a list"); },
            QStringLiteral("iphoto object error") },
        { "preferences that cannot be read: a folder in their place", [&] {
              QFile::remove(preferences);
              QDir().mkpath(preferences);
          },
            QStringLiteral("iphoto object error") },
        { "preferences naming no folder", [&] {
              QDir(preferences).removeRecursively();
              writeAll(preferences, "<plist><dict/></plist>");
          },
            QStringLiteral("iphoto object error") },
        { "no album data", [&] {
              library.writePreferences();
              QFile::remove(library.root + QStringLiteral("/AlbumData.xml"));
          },
            QStringLiteral("import From Library Error") },
        { "album data that is no list", [&] { writeAll(library.root + QStringLiteral("/AlbumData.xml"), "{ \"json\": true }"); },
            QStringLiteral("import From Library Error") },
    };
    for (const Case& c : cases) {
        c.damage();
        LogCapture log;
        const auto node = iPhoto::create();
        node->importFromLibrary();
        EXPECT_EQ(node->numberChildren(), 0) << c.what;
        EXPECT_FALSE(node->whyNotFound().isEmpty()) << c.what << ": the pane says why";
        if (c.line.isEmpty()) {
            EXPECT_TRUE(log.lines.isEmpty()) << c.what << ": " << log.lines.join(QStringLiteral(" | ")).toStdString();
            EXPECT_TRUE(node->whyNotFound().contains(preferences)) << c.what << ": " << node->whyNotFound().toStdString();
        } else {
            ASSERT_EQ(log.lines.size(), 2) << c.what << ": " << log.lines.join(QStringLiteral(" | ")).toStdString();
            EXPECT_EQ(log.lines[0], c.line) << c.what;
            EXPECT_FALSE(log.lines[1].isEmpty()) << c.what << ": the reason";
        }
        EXPECT_TRUE(node->captionForFile(library.path("a.jpg")).isNull()) << c.what;
    }
    EXPECT_TRUE(modal.state->alerts.isEmpty());
}

TEST_F(iPhotoTest, TheCaptionToolOnItsOwn)
{
    const QString tool = lq::auxiliaryTool(QStringLiteral("iphotoreader"));
    ASSERT_FALSE(tool.isEmpty());
    const QString data = library.root + QStringLiteral("/AlbumData.xml");
    struct Case {
        const char* what;
        QStringList arguments;
        int status;
        QByteArray output;
    };
    const std::vector<Case> cases {
        { "the title, as it stands, no line break", { "title", data, lq::escape(library.path("b.jpg")) }, 0, "Rocks & <pools>" },
        { "an escaped name", { "title", data, lq::escape(library.path("e  f&g.jpg")) }, 0, "Odd name" },
        { "no record", { "comments", data, lq::escape(library.path("nothing.jpg")) }, 0, "" },
        { "no arguments", {}, 2, "" },
        { "an unknown mode", { "everything", data, library.path("a.jpg") }, 2, "" },
        { "album data that cannot be read", { "title", data + QStringLiteral(".missing"), library.path("a.jpg") }, 1, "" },
        { "every caption: path and caption, each ended by a zero byte, in the order of the keys", { "both", data }, 0,
            (library.path("a.jpg") + QChar(0) + QStringLiteral("Sandy - The first morning") + QChar(0)
             + library.path("b.jpg") + QChar(0) + QStringLiteral("Rocks & <pools>") + QChar(0)
             + library.path("clip.mov") + QChar(0) + QStringLiteral("Clip") + QChar(0)
             + library.path("d.jpg") + QChar(0) + QStringLiteral("Dunes") + QChar(0)
             + library.path("c.jpg") + QChar(0) + QStringLiteral("Only a comment") + QChar(0)
             + library.path("e  f&g.jpg") + QChar(0) + QStringLiteral("Odd name") + QChar(0)).toUtf8() },
        { "amplifying album data", { "title", amplifying(library.path("a.jpg")), library.path("a.jpg") }, 1, "" },
        { "amplifying album data, every caption", { "title", amplifying(library.path("a.jpg")) }, 1, "" },
    };
    for (const Case& c : cases) {
        const lq::ProcessResult run = lq::runProcess(tool, c.arguments, library.home);
        ASSERT_TRUE(run.started) << c.what;
        EXPECT_EQ(run.exitCode, c.status) << c.what << ": " << run.error.toStdString();
        EXPECT_EQ(run.output, c.output) << c.what;
        EXPECT_EQ(run.error.isEmpty(), c.status == 0) << c.what << ": what went wrong is said";
    }
}

// An import asks for the captions of all its pictures; the tool reads the
// album data once for all of them, and again only when the album data, the
// setting or the tool changes.
TEST_F(iPhotoTest, AnImportReadsTheAlbumDataOnce)
{
    // The real tool, behind a script that notes every run.
    QTemporaryDir tools;
    const QString runs = tools.filePath(QStringLiteral("runs"));
    const QString wrapper = tools.filePath(QStringLiteral("iphotoreader"));
    writeAll(wrapper, "#!/bin/sh\necho run >> '" + runs.toUtf8() + "'\nexec '" + lq::auxiliaryTool(QStringLiteral("iphotoreader")).toUtf8()
            + "' \"$@\"\n");
    ASSERT_TRUE(QFile::setPermissions(wrapper, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
    const QByteArray builtTools = qgetenv("LUMENQUILL_LIBEXEC");
    qputenv("LUMENQUILL_LIBEXEC", tools.path().toUtf8());
    const auto runCount = [&] { return readAll(runs).count("run\n"); };

    const auto node = iPhoto::create();
    struct Case {
        QString file;
        QString caption;
    };
    const std::vector<Case> pictures {
        { library.path("a.jpg"), QStringLiteral("Sandy") },
        { library.path("b.jpg"), QStringLiteral("Rocks & <pools>") },
        { library.path("c.jpg"), QString() },
        { library.path("d.jpg"), QStringLiteral("Dunes") },
        { library.path("e  f&g.jpg"), QStringLiteral("Odd name") },
        { library.path("unlisted.jpg"), QString() },
    };
    for (const Case& c : pictures)
        EXPECT_EQ(node->captionForFile(c.file), c.caption) << c.file.toStdString();
    EXPECT_EQ(runCount(), 1);

    MyApplication::shared().setImportCaptions(1);
    EXPECT_EQ(node->captionForFile(library.path("a.jpg")), QStringLiteral("The first morning"));
    EXPECT_EQ(node->captionForFile(library.path("c.jpg")), QStringLiteral("Only a comment"));
    EXPECT_EQ(runCount(), 2) << "another setting";

    library.writeAlbumData({ { QStringLiteral("1"), library.path("a.jpg"), QStringLiteral("Renamed"), QStringLiteral("Now") } }, {});
    EXPECT_EQ(node->captionForFile(library.path("a.jpg")), QStringLiteral("Now"));
    EXPECT_TRUE(node->captionForFile(library.path("b.jpg")).isNull());
    EXPECT_EQ(runCount(), 3) << "the album data changed";

    // Album data the tool refuses: no captions, one line in the log that
    // says why, and no second reading for the next picture.
    {
        LogCapture log;
        const QString hostile = amplifying(library.path("a.jpg"));
        QFile::remove(library.root + QStringLiteral("/AlbumData.xml"));
        ASSERT_TRUE(QFile::copy(hostile, library.root + QStringLiteral("/AlbumData.xml")));
        EXPECT_TRUE(node->captionForFile(library.path("a.jpg")).isNull());
        EXPECT_TRUE(node->captionForFile(library.path("b.jpg")).isNull());
        EXPECT_EQ(runCount(), 4);
        ASSERT_EQ(log.lines.size(), 1) << log.lines.join(QStringLiteral(" | ")).toStdString();
        EXPECT_TRUE(log.lines[0].contains(QStringLiteral("entities"))) << log.lines[0].toStdString();
    }
    qputenv("LUMENQUILL_LIBEXEC", builtTools);
}

} // namespace
