// Theme archives on their way into a site and out of one: only the theme,
// its bitmaps and its files are taken, nothing of the site is replaced, and
// an export holds the theme, the bitmaps and the ticked files.
#include "document/ThemeArchive.h"

#include "model/core/ElementFiles.h"
#include "model/files/XmlFile.h"
#include "model/files/XmlFiles.h"
#include "model/files/XmlFolder.h"
#include "theme/XmlTheme.h"
#include "platform/ConfinedFolder.h"
#include "platform/FileHelpers.h"
#include "platform/Zip.h"
#include "support/TestFiles.h"
#include "support/TestPictures.h"
#include "support/ZipBytes.h"
#include "support/ZipListing.h"
#include "templates/XmlStyleSheet.h"

#include <QDir>
#include <QHash>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

// Every file below the folder with its bytes.
QHash<QString, QByteArray> contents(const QString& folder)
{
    QHash<QString, QByteArray> files;
    for (const QString& path : lq::folderEntries(folder, true)) {
        if (QFileInfo(folder + QLatin1Char('/') + path).isFile())
            files.insert(path, readAll(folder + QLatin1Char('/') + path));
    }
    return files;
}

void writeTheme(const QString& path, const QStringList& templates)
{
    auto theme = XmlTheme::create();
    for (const QString& name : templates) {
        auto sheet = XmlStyleSheet::create();
        sheet->setName(name);
        theme->addTemplate(sheet);
    }
    ASSERT_TRUE(QDir().mkpath(QFileInfo(path).path()));
    ASSERT_TRUE(lq::saveToFile(*theme, path));
}

// Zips the top-level entries of the folder into the archive.
void zipFolder(const QString& archive, const QString& folder)
{
    for (const QString& entry : lq::folderEntries(folder))
        ASSERT_TRUE(lq::zipAdd(archive, folder, entry, true)) << entry.toStdString();
}

class ThemeArchiveTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(work.isValid());
        site = work.filePath(QStringLiteral("Site.lqxl"));
        from = work.filePath(QStringLiteral("made"));
        archive = work.filePath(QStringLiteral("Theme.qvzip"));
        // The site as its owner left it.
        writeAll(site + QStringLiteral("/site.xmlbase"), "<QZsite mine=\"1\"/>");
        writeAll(site + QStringLiteral("/location.xmlbase"), "<QZlocation mine=\"1\"/>");
        writeAll(site + QStringLiteral("/pictures/image1.jpg"), jpegBytes(40, 30, Qt::red));
        writeAll(site + QStringLiteral("/files/pics/a.png"), encoded(solid(8, 8, Qt::green), "PNG"));
    }

    QTemporaryDir work;
    QString site;
    QString from;
    QString archive;
};

TEST_F(ThemeArchiveTest, OnlyTheThemeItsBitmapsAndItsFilesReachTheSite)
{
    // A theme archive that also carries a site of its own, a destination,
    // pictures, a page and a second theme further down.
    writeTheme(from + QStringLiteral("/theme.xmlbase"), {QStringLiteral("Light"), QStringLiteral("Dark")});
    writeAll(from + QStringLiteral("/bitmaps2/0123456789ABCDEF.png"), encoded(solid(16, 16, Qt::blue), "PNG"));
    writeAll(from + QStringLiteral("/files/pics/a.png"), encoded(solid(8, 8, Qt::magenta), "PNG"));
    writeAll(from + QStringLiteral("/files/fonts/read me.txt"), "a file the theme brings");
    writeAll(from + QStringLiteral("/site.xmlbase"), "<QZsite evil=\"1\"/>");
    writeAll(from + QStringLiteral("/location.xmlbase"), "<QZlocation evil=\"1\"/>");
    writeAll(from + QStringLiteral("/pictures/image1.jpg"), jpegBytes(40, 30, Qt::black));
    writeAll(from + QStringLiteral("/homepage/index.html"), "<p>evil</p>");
    writeTheme(from + QStringLiteral("/nested/theme.xmlbase"), {QStringLiteral("Stranger")});
    zipFolder(archive, from);

    const QHash<QString, QByteArray> before = contents(site);
    {
        const std::unique_ptr<ThemeArchive> unpacked = ThemeArchive::unpack(archive);
        ASSERT_NE(unpacked, nullptr);
        ASSERT_NE(unpacked->theme(), nullptr);
        QStringList names;
        for (const auto& sheet : unpacked->theme()->childrenOfType<XmlStyleSheet>())
            names.append(sheet->name());
        EXPECT_EQ(names, (QStringList{QStringLiteral("Light"), QStringLiteral("Dark")}));
        QStringList carried = unpacked->carriedFiles();
        carried.sort();
        EXPECT_EQ(carried, (QStringList{QStringLiteral("bitmaps2/0123456789ABCDEF.png"), QStringLiteral("files/fonts/read me.txt"),
                               QStringLiteral("files/pics/a.png")}));

        // The site's own picture of the same name stays; the rest comes in.
        EXPECT_EQ(unpacked->installInto(*lq::ConfinedFolder::open(site)), QStringList{QStringLiteral("files/pics/a.png")});
    }
    const QHash<QString, QByteArray> after = contents(site);
    for (auto it = before.begin(); it != before.end(); ++it)
        EXPECT_EQ(after.value(it.key()), it.value()) << it.key().toStdString();
    QStringList added;
    for (auto it = after.begin(); it != after.end(); ++it) {
        if (!before.contains(it.key()))
            added.append(it.key());
    }
    added.sort();
    EXPECT_EQ(added, (QStringList{QStringLiteral("bitmaps2/0123456789ABCDEF.png"), QStringLiteral("files/fonts/read me.txt")}));
    EXPECT_EQ(after.value(QStringLiteral("bitmaps2/0123456789ABCDEF.png")), readAll(from + QStringLiteral("/bitmaps2/0123456789ABCDEF.png")));
    // Nothing was unpacked beside the site either.
    QStringList beside = QDir(work.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
    beside.sort();
    EXPECT_EQ(beside, (QStringList{QStringLiteral("Site.lqxl"), QStringLiteral("Theme.qvzip"), QStringLiteral("made")}));
}

TEST_F(ThemeArchiveTest, ArchivesThatAreRefusedOrHoldNoTheme)
{
    struct Case {
        const char* what;
        QByteArray bytes;
        bool opens;
    };
    const QList<Case> cases = {
        {"a member that climbs out", zipBytes({{"theme.xmlbase", "<theme/>"}, {"../../escaped.txt", "out"}}), false},
        {"a link to the site", zipBytes({{"files/link", "../site.xmlbase", true}}), false},
        {"no zip archive at all", QByteArray("this is no archive"), false},
        {"no theme inside", zipBytes({{"files/only.txt", "just a file"}}), true},
    };
    const QHash<QString, QByteArray> before = contents(site);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        writeAll(archive, c.bytes);
        const std::unique_ptr<ThemeArchive> unpacked = ThemeArchive::unpack(archive);
        EXPECT_EQ(unpacked != nullptr, c.opens);
        if (unpacked) {
            EXPECT_EQ(unpacked->theme(), nullptr);
        }
        EXPECT_FALSE(QFileInfo::exists(work.filePath(QStringLiteral("escaped.txt"))));
        EXPECT_FALSE(QFileInfo::exists(QDir::cleanPath(work.filePath(QStringLiteral("../escaped.txt")))));
    }
    EXPECT_EQ(contents(site), before);
}

TEST_F(ThemeArchiveTest, AnExportHoldsTheThemeTheBitmapsAndTheTickedFiles)
{
    writeTheme(site + QStringLiteral("/theme.xmlbase"), {QStringLiteral("Light")});
    writeAll(site + QStringLiteral("/bitmaps2/ABCDEF0123456789.png"), encoded(solid(16, 16, Qt::blue), "PNG"));
    writeAll(site + QStringLiteral("/files/b.txt"), "b");
    // The site's files tree as the include-files sheet ticks it.
    auto files = XmlFiles::create();
    auto pics = XmlFolder::create();
    pics->setFoldername(QStringLiteral("pics"));
    files->addChild(pics);
    auto a = XmlFile::create();
    a->setFilename(QStringLiteral("a.png"));
    pics->addChild(a);
    auto b = XmlFile::create();
    b->setFilename(QStringLiteral("b.txt"));
    files->addChild(b);

    const QStringList themeEntries = {QStringLiteral("theme.xmlbase"), QStringLiteral("bitmaps2/"), QStringLiteral("bitmaps2/ABCDEF0123456789.png")};
    struct Case {
        const char* what;
        std::function<void()> tick;
        QStringList files;
    };
    const QList<Case> cases = {
        {"nothing ticked", [] {}, {}},
        {"one file in a folder", [&] { a->setCheck(true); }, {QStringLiteral("files/pics/a.png")}},
        {"everything", [&] { files->setCheck(true); pics->setCheck(true); b->setCheck(true); },
            {QStringLiteral("files/pics/a.png"), QStringLiteral("files/b.txt")}},
    };
    // An archive already at the chosen path is replaced, never added to.
    writeAll(archive, zipBytes({{"old.txt", "from before"}}));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        c.tick();
        ASSERT_TRUE(ThemeArchive::write(archive, *lq::ConfinedFolder::open(site), files.get()));
        EXPECT_EQ(unzipListing(archive), themeEntries + c.files);
        EXPECT_FALSE(QFileInfo::exists(archive + QStringLiteral(".part")));
    }

    // A ticked file that has gone fails the export and keeps the last archive whole.
    auto gone = XmlFile::create();
    gone->setFilename(QStringLiteral("gone.txt"));
    gone->setCheck(true);
    files->addChild(gone);
    EXPECT_FALSE(ThemeArchive::write(archive, *lq::ConfinedFolder::open(site), files.get()));
    EXPECT_EQ(unzipListing(archive), themeEntries + cases.last().files);
}

} // namespace
