#include "model/files/XmlFile.h"
#include "model/files/XmlFolder.h"
#include "model/files/XmlQVZIPFile.h"
#include "model/files/XmlStandAloneFiles.h"
#include "platform/Image.h"
#include "platform/Process.h"
#include "platform/Zip.h"
#include "support/Printers.h"
#include "support/TestFiles.h"
#include "support/TimeZone.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <typeinfo>
#include <vector>

namespace {

QImage picture(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(qRgb(200, 40, 90));
    return image;
}

// A real theme archive made with the zip tool: a theme file, an icon when
// asked for, and a comment when one is given.
void makeArchive(const QString& archive, bool withIcon, const QByteArray& comment = QByteArray())
{
    QTemporaryDir staging;
    writeAll(staging.path() + QStringLiteral("/theme.xmlbase"), "<theme/>\n");
    QStringList members { QStringLiteral("theme.xmlbase") };
    if (withIcon) {
        ASSERT_TRUE(picture(40, 30).save(staging.path() + QStringLiteral("/icon.jpg"), "JPEG"));
        members.append(QStringLiteral("icon.jpg"));
    }
    const lq::ProcessResult zipped = lq::runProcess(QStringLiteral("/usr/bin/zip"),
        QStringList { QStringLiteral("-q"), QFileInfo(archive).absoluteFilePath() } + members, staging.path());
    ASSERT_TRUE(zipped.succeeded()) << zipped.failureDetail(QStringLiteral("zip")).toStdString();
    if (!comment.isEmpty()) {
        const lq::ProcessResult commented = lq::runProcess(QStringLiteral("/usr/bin/zip"),
            QStringList { QStringLiteral("-q"), QStringLiteral("-z"), QFileInfo(archive).absoluteFilePath() },
            staging.path(), comment);
        ASSERT_TRUE(commented.succeeded()) << commented.failureDetail(QStringLiteral("zip")).toStdString();
    }
}

struct Listed {
    QString name;
    QString filename;
    const std::type_info* type;
};

std::vector<Listed> listOf(const XmlBase& list)
{
    std::vector<Listed> out;
    for (const XmlBasePtr& child : list.children()) {
        const auto* file = XmlFile::cast(child.get());
        out.push_back({ child->name(), file ? file->filename() : QString(), &typeid(*child) });
    }
    return out;
}

bool sameImage(const QImage& a, const QImage& b)
{
    return a.size() == b.size()
        && a.convertToFormat(QImage::Format_ARGB32) == b.convertToFormat(QImage::Format_ARGB32);
}

} // namespace

TEST(XmlStandAloneFiles, FilesOnlyListsTheVisibleFilesAndArchives)
{
    QTemporaryDir dir;
    for (const char* name : { ".hidden", "a.qvzip", "my_theme.qvzip", "b.txt", ".old.qvzip", ".qvzip", "sub/inner.txt" })
        writeAll(dir.path() + QLatin1Char('/') + QLatin1String(name), "x");
    QFile::link(dir.path() + QStringLiteral("/b.txt"), dir.path() + QStringLiteral("/link.txt"));

    auto list = XmlStandAloneFiles::create();
    list->setRootDir(dir.path());
    list->setFoldersFiles(false, true);
    // Entries come in name order; the hidden archives are listed (".qvzip"
    // too: its extension is "qvzip"), the hidden file, the link and the
    // folder are not.
    const std::vector<Listed> expected = {
        { QStringLiteral(".old"), QStringLiteral(".old.qvzip"), &typeid(XmlQVZIPFile) },
        { QStringLiteral(".qvzip"), QStringLiteral(".qvzip"), &typeid(XmlQVZIPFile) },
        { QStringLiteral("a"), QStringLiteral("a.qvzip"), &typeid(XmlQVZIPFile) },
        { QStringLiteral("b.txt"), QStringLiteral("b.txt"), &typeid(XmlFile) },
        { QStringLiteral("my:theme"), QStringLiteral("my_theme.qvzip"), &typeid(XmlQVZIPFile) },
    };
    for (int pass = 0; pass < 2; ++pass) {
        SCOPED_TRACE(pass);
        list->refresh();
        const std::vector<Listed> listed = listOf(*list);
        ASSERT_EQ(listed.size(), expected.size());
        for (std::size_t i = 0; i < expected.size(); ++i) {
            SCOPED_TRACE(expected[i].filename.toStdString());
            EXPECT_EQ(listed[i].filename, expected[i].filename);
            EXPECT_EQ(listed[i].name, expected[i].name);
            EXPECT_EQ(*listed[i].type, *expected[i].type);
        }
    }
    // Every element resolves its path below the mirrored folder.
    EXPECT_EQ(list->lastChild()->fullname(), dir.path() + QStringLiteral("/my_theme.qvzip"));
    EXPECT_EQ(list->lastChild()->rootDir(), dir.path());
}

TEST(XmlStandAloneFiles, FoldersAreListedAsANestedTree)
{
    QTemporaryDir dir;
    writeAll(dir.path() + QStringLiteral("/top.txt"), "x");
    writeAll(dir.path() + QStringLiteral("/Classic/Blue/theme.qvzip"), "x");
    writeAll(dir.path() + QStringLiteral("/Modern/readme.txt"), "x");

    auto list = XmlStandAloneFiles::create();
    list->setRootDir(dir.path());

    // Folders only: the tree of subfolders without any file.
    list->setFoldersFiles(true, false);
    list->refresh();
    ASSERT_EQ(list->numberChildren(), 2);
    auto* classic = XmlFolder::cast(list->firstChild().get());
    ASSERT_NE(classic, nullptr);
    EXPECT_EQ(classic->name(), QStringLiteral("Classic"));
    ASSERT_EQ(classic->numberChildren(), 1);
    auto* blue = XmlFolder::cast(classic->firstChild().get());
    ASSERT_NE(blue, nullptr);
    EXPECT_EQ(blue->fullname(), dir.path() + QStringLiteral("/Classic/Blue"));
    EXPECT_EQ(blue->numberChildren(), 0);
    EXPECT_EQ(list->lastChild()->name(), QStringLiteral("Modern"));
    EXPECT_EQ(list->lastChild()->numberChildren(), 0);

    // Both: folders hold their files.
    list->setFoldersFiles(true, true);
    list->refresh();
    ASSERT_EQ(list->numberChildren(), 3);
    blue = XmlFolder::cast(list->firstChild()->firstChild().get());
    ASSERT_NE(blue, nullptr);
    ASSERT_EQ(blue->numberChildren(), 1);
    EXPECT_NE(XmlQVZIPFile::cast(blue->firstChild().get()), nullptr);
    EXPECT_EQ(blue->firstChild()->fullname(), dir.path() + QStringLiteral("/Classic/Blue/theme.qvzip"));
}

TEST(XmlStandAloneFiles, WithoutAFolderTheListStaysEmpty)
{
    auto list = XmlStandAloneFiles::create();
    EXPECT_EQ(list->fullname(), QStringLiteral("no root dir"));
    list->addChild(XmlFile::create());
    list->refresh();
    EXPECT_EQ(list->numberChildren(), 0);

    QTemporaryDir dir;
    list->setRootDir(dir.path() + QStringLiteral("/missing"));
    list->refresh();
    EXPECT_EQ(list->numberChildren(), 0);
}

TEST(XmlStandAloneFiles, SnapshotsSortNewestFirst)
{
    TimeZone utc("UTC");
    QTemporaryDir dir;
    for (const char* name : { "Mon Jan 02,2006 03_04_05 PM.qvzip", "notes.txt", "Tue Jan 03,2006 03_04_05 PM.qvzip",
             "Sun Jan 01,2006 11_59_59 PM.qvzip" })
        writeAll(dir.path() + QLatin1Char('/') + QLatin1String(name), "x");

    auto list = XmlStandAloneFiles::create();
    list->setRootDir(dir.path());
    list->setFoldersFiles(false, true);
    list->refresh();
    list->sortByCreationDate();
    const std::vector<Listed> listed = listOf(*list);
    ASSERT_EQ(listed.size(), 4u);
    EXPECT_EQ(listed[0].name, QStringLiteral("Tue Jan 03,2006 03:04:05 PM"));
    EXPECT_EQ(listed[1].name, QStringLiteral("Mon Jan 02,2006 03:04:05 PM"));
    EXPECT_EQ(listed[2].name, QStringLiteral("Sun Jan 01,2006 11:59:59 PM"));
    EXPECT_EQ(listed[3].name, QStringLiteral("notes.txt"));
    auto* monday = XmlQVZIPFile::cast(list->childAtIndex(1).get());
    ASSERT_NE(monday, nullptr);
    EXPECT_DOUBLE_EQ(monday->creationDate(), 1136214245.0);
}

TEST(XmlQVZIPFile, IconAndCommentComeFromTheArchive)
{
    QTemporaryDir dir;
    makeArchive(dir.path() + QStringLiteral("/with_icon.qvzip"), true, "A blue theme\n");
    makeArchive(dir.path() + QStringLiteral("/plain.qvzip"), false);

    auto list = XmlStandAloneFiles::create();
    list->setRootDir(dir.path());
    list->refresh();
    ASSERT_EQ(list->numberChildren(), 2);
    auto* plain = XmlQVZIPFile::cast(list->firstChild().get());
    auto* withIcon = XmlQVZIPFile::cast(list->lastChild().get());
    ASSERT_NE(plain, nullptr);
    ASSERT_NE(withIcon, nullptr);
    EXPECT_EQ(withIcon->name(), QStringLiteral("with:icon"));

    EXPECT_EQ(withIcon->iconImage().size(), QSize(40, 30));
    EXPECT_EQ(withIcon->comment().trimmed(), QStringLiteral("A blue theme"));
    EXPECT_EQ(plain->comment(), QString(QLatin1String("")));
    EXPECT_FALSE(plain->comment().isNull());

    // An archive without icon shows "noimage", and keeps showing it for the
    // life of the element even when an icon is added by other means.
    const QImage noimage = lq::namedImage(QStringLiteral("noimage"));
    EXPECT_TRUE(sameImage(plain->iconImage(), noimage));
    ASSERT_TRUE(lq::setZipIcon(plain->fullname(), picture(16, 12)));
    EXPECT_TRUE(sameImage(plain->iconImage(), noimage));
    list->refresh();
    plain = XmlQVZIPFile::cast(list->firstChild().get());
    ASSERT_NE(plain, nullptr);
    EXPECT_EQ(plain->iconImage().size(), QSize(16, 12));
}

TEST(XmlQVZIPFile, SettingIconAndCommentWritesTheArchive)
{
    QTemporaryDir dir;
    const QString archive = dir.path() + QStringLiteral("/theme.qvzip");
    makeArchive(archive, false, "old comment\n");

    auto list = XmlStandAloneFiles::create();
    list->setRootDir(dir.path());
    list->refresh();
    auto* theme = XmlQVZIPFile::cast(list->firstChild().get());
    ASSERT_NE(theme, nullptr);
    EXPECT_EQ(theme->comment().trimmed(), QStringLiteral("old comment"));

    theme->setComment(QStringLiteral("new comment"));
    EXPECT_EQ(theme->comment(), QStringLiteral("new comment"));
    EXPECT_EQ(lq::zipComment(archive).trimmed(), QStringLiteral("new comment"));

    // The kept text is answered from then on: a comment changed by other
    // means is not read again by this element, only by a new one.
    ASSERT_TRUE(lq::setZipComment(archive, QStringLiteral("changed elsewhere")));
    EXPECT_EQ(theme->comment(), QStringLiteral("new comment"));
    list->refresh();
    theme = XmlQVZIPFile::cast(list->firstChild().get());
    ASSERT_NE(theme, nullptr);
    EXPECT_EQ(theme->comment(), QStringLiteral("changed elsewhere"));

    theme->setIconImage(picture(24, 18));
    EXPECT_EQ(theme->iconImage().size(), QSize(24, 18));
    EXPECT_EQ(lq::zipIcon(archive).size(), QSize(24, 18));
    // The theme itself is still in the archive.
    const lq::ProcessResult listing = lq::runProcess(QStringLiteral("/usr/bin/unzip"),
        { QStringLiteral("-Z"), QStringLiteral("-1"), archive });
    EXPECT_TRUE(listing.output.contains("theme.xmlbase"));
}
