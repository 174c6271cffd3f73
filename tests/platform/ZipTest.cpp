#include "model/core/ElementFiles.h"
#include "model/core/XmlBase.h"
#include "model/core/ElementArchives.h"
#include "platform/FileHelpers.h"
#include "platform/InputLimits.h"
#include "platform/Process.h"
#include "platform/Zip.h"
#include "support/LogCapture.h"
#include "support/Printers.h"
#include "support/TestFiles.h"
#include "support/ZipBytes.h"
#include "model/core/ModelSettings.h"
#include "platform/ImageFiles.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtEndian>

#include <gtest/gtest.h>

#include <array>
#include <vector>

namespace {

const QString unzipTool = QStringLiteral("/usr/bin/unzip");

// An element file whose root is a plain element carrying the name.
QByteArray elementFile(const char* name)
{
    return QByteArray("<xmlbase name=\"") + name + "\">\n</xmlbase>\n";
}

// The member names of the archive, as the tool lists them.
QStringList members(const QString& archive)
{
    const lq::ProcessResult result = lq::runProcess(unzipTool, { QStringLiteral("-Z"), QStringLiteral("-1"), archive });
    EXPECT_TRUE(result.succeeded()) << result.failureDetail(unzipTool).toStdString();
    return QString::fromUtf8(result.output).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

// Every file, folder and link below the folder, relative to it, sorted.
QStringList contents(const QString& folder)
{
    QStringList found;
    QDirIterator it(folder, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
        QDirIterator::Subdirectories);
    while (it.hasNext())
        found << QDir(folder).relativeFilePath(it.next());
    found.sort();
    return found;
}

class Zip : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        for (const QString& name : { QStringLiteral("source"), QStringLiteral("target"), QStringLiteral("outside") })
            ASSERT_TRUE(QDir(dir.path()).mkpath(name));
    }

    QString path(const QString& name) const { return dir.filePath(name); }
    QString source() const { return path(QStringLiteral("source")); }
    QString target() const { return path(QStringLiteral("target")); }
    QString outside() const { return path(QStringLiteral("outside")); }

    // An archive of three element files, a picture folder, a text and an unreadable element file.
    QString themeArchive()
    {
        writeAll(source() + QStringLiteral("/site.xmlbase"), elementFile("site"));
        writeAll(source() + QStringLiteral("/theme.xmlbase"), elementFile("theme"));
        writeAll(source() + QStringLiteral("/sub/x.xmlbase"), elementFile("x"));
        writeAll(source() + QStringLiteral("/sub/broken.xmlbase"), "no element here");
        writeAll(source() + QStringLiteral("/bitmaps2/b1.png"), "pixels");
        writeAll(source() + QStringLiteral("/notes.txt"), "notes");
        const QString archive = path(QStringLiteral("theme.qvzip"));
        const bool added = lq::zipAdd(archive, source(), QStringLiteral("site.xmlbase"), false)
            && lq::zipAdd(archive, source(), QStringLiteral("theme.xmlbase"), false)
            && lq::zipAdd(archive, source(), QStringLiteral("sub"), true)
            && lq::zipAdd(archive, source(), QStringLiteral("bitmaps2"), true)
            && lq::zipAdd(archive, source(), QStringLiteral("notes.txt"), false);
        EXPECT_TRUE(added);
        return archive;
    }

    QTemporaryDir dir;
};

// Bounds lowered for the time of a test, so that archives past them stay small.
class LoweredLimits {
public:
    explicit LoweredLimits(const lq::InputLimits& limits) { lq::setInputLimits(limits); }
    ~LoweredLimits() { lq::setInputLimits(_saved); }

private:
    lq::InputLimits _saved = lq::inputLimits();
};

QStringList names(const XmlBaseList& trees)
{
    QStringList list;
    for (const XmlBasePtr& tree : trees)
        list << tree->name();
    return list;
}

} // namespace

// --- Adding members ----------------------------------------------------------------

TEST_F(Zip, MembersArePathsBelowTheFolder)
{
    writeAll(source() + QStringLiteral("/a.txt"), "a");
    writeAll(source() + QStringLiteral("/pics/p1.png"), "p1");
    writeAll(source() + QStringLiteral("/pics/deep/p2.png"), "p2");
    writeAll(source() + QStringLiteral("/-dash.txt"), "dash");
    const QString archive = path(QStringLiteral("a.qvzip"));

    ASSERT_TRUE(lq::zipAdd(archive, source(), QStringLiteral("a.txt"), false));
    // Without the flag a folder adds only its own entry.
    ASSERT_TRUE(lq::zipAdd(archive, source(), QStringLiteral("pics"), false));
    EXPECT_EQ(members(archive), (QStringList { QStringLiteral("a.txt"), QStringLiteral("pics/") }));

    ASSERT_TRUE(lq::zipAdd(archive, source(), QStringLiteral("pics"), true));
    ASSERT_TRUE(lq::zipAdd(archive, source(), QStringLiteral("-dash.txt"), false));
    QStringList listed = members(archive);
    listed.sort();
    EXPECT_EQ(listed, (QStringList { QStringLiteral("-dash.txt"), QStringLiteral("a.txt"), QStringLiteral("pics/"),
                          QStringLiteral("pics/deep/"), QStringLiteral("pics/deep/p2.png"), QStringLiteral("pics/p1.png") }));

    // Adding a member again replaces it.
    writeAll(source() + QStringLiteral("/a.txt"), "a, changed");
    ASSERT_TRUE(lq::zipAdd(archive, source(), QStringLiteral("a.txt"), false));
    EXPECT_EQ(members(archive).count(QStringLiteral("a.txt")), 1);
    ASSERT_TRUE(lq::unzipElementTrees(archive, target()).has_value());
    EXPECT_EQ(readAll(target() + QStringLiteral("/a.txt")), QByteArray("a, changed"));
}

TEST_F(Zip, FailuresOfTheZipToolAreReported)
{
    const QString archive = path(QStringLiteral("a.qvzip"));
    struct Case {
        QString folder;
        QString member;
    };
    const std::vector<Case> cases {
        { source(), QStringLiteral("missing.txt") },              // nothing to add
        { path(QStringLiteral("no-such-folder")), QStringLiteral("a.txt") },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.member.toStdString());
        LogCapture log;
        EXPECT_FALSE(lq::zipAdd(archive, c.folder, c.member, false));
        ASSERT_EQ(log.lines.size(), 1);
        EXPECT_TRUE(log.lines.first().startsWith(QStringLiteral("zip failed: "))) << log.lines.first().toStdString();
        EXPECT_FALSE(QFile::exists(archive));
    }
}

TEST_F(Zip, ANameWithALineEndIsRefusedNotLeftOut)
{
    // The tool reads a name a line: such a name would reach it as two others.
    struct Case {
        const char* member;    // what is added
        bool recursive;
        const char* reported;  // the name the refusal shows
    };
    const Case cases[] = {
        { "bitmaps2", true, "bitmaps2/b\\x0a1.png" },
        { "bitmaps2", true, "bitmaps2/c\\x0d.png" },
        { "d\nplain.txt", false, "d\\x0aplain.txt" },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.reported);
        lq::removeItem(source());
        writeAll(source() + QStringLiteral("/bitmaps2/a.png"), "a");
        writeAll(source() + QStringLiteral("/d"), "d");
        writeAll(source() + QStringLiteral("/plain.txt"), "plain");
        writeAll(source() + QLatin1Char('/') + QString::fromUtf8(c.reported).replace(QStringLiteral("\\x0a"), QStringLiteral("\n")).replace(QStringLiteral("\\x0d"), QStringLiteral("\r")), "x");
        const QString archive = path(QStringLiteral("lines.qvzip"));
        QFile::remove(archive);
        // What was in the archive before stays as it was.
        ASSERT_TRUE(lq::zipAdd(archive, source(), QStringLiteral("plain.txt"), false));
        const QByteArray before = readAll(archive);
        LogCapture log;
        EXPECT_FALSE(lq::zipAdd(archive, source(), QString::fromUtf8(c.member), c.recursive));
        ASSERT_EQ(log.lines.size(), 1);
        EXPECT_TRUE(log.lines.first().startsWith(QStringLiteral("zip failed: cannot add \"") + QString::fromUtf8(c.reported) + QStringLiteral("\" to ")))
            << log.lines.first().toStdString();
        EXPECT_TRUE(log.lines.first().endsWith(QStringLiteral("its name holds a line end"))) << log.lines.first().toStdString();
        EXPECT_EQ(readAll(archive), before);
    }
}

TEST_F(Zip, AMemberIsRenamedInPlaceToANameOfItsLength)
{
    writeAll(source() + QStringLiteral("/sequence-0917"), "");
    writeAll(source() + QStringLiteral("/site.xmlbase"), elementFile("site"));
    const QString archive = path(QStringLiteral("renamed.qvzip"));
    ASSERT_TRUE(lq::zipAdd(archive, source(), QStringLiteral("site.xmlbase"), false));
    ASSERT_TRUE(lq::zipAdd(archive, source(), QStringLiteral("sequence-0917"), false));
    const QByteArray bytes = readAll(archive);

    const std::optional<QByteArray> renamed = lq::zipWithMemberRenamed(bytes, "sequence-0917", "sequence-0003");
    ASSERT_TRUE(renamed.has_value());
    writeAll(archive, *renamed);
    EXPECT_EQ(members(archive), (QStringList { QStringLiteral("site.xmlbase"), QStringLiteral("sequence-0003") }));
    const lq::ProcessResult test = lq::runProcess(unzipTool, { QStringLiteral("-tq"), archive });
    EXPECT_TRUE(test.succeeded()) << test.output.constData() << test.error.constData();
    ASSERT_TRUE(lq::unzipElementTrees(archive, target()).has_value());
    EXPECT_EQ(readAll(target() + QStringLiteral("/site.xmlbase")), elementFile("site"));

    // Another length, a member that is not there, what is no archive: nothing.
    EXPECT_FALSE(lq::zipWithMemberRenamed(bytes, "sequence-0917", "sequence-3").has_value());
    EXPECT_FALSE(lq::zipWithMemberRenamed(bytes, "sequence-0918", "sequence-0003").has_value());
    EXPECT_FALSE(lq::zipWithMemberRenamed(bytes.left(bytes.size() - 30), "sequence-0917", "sequence-0003").has_value());
}

// --- Unpacking ------------------------------------------------------------------------

TEST_F(Zip, UnzipAnswersTheElementTreesInListingOrder)
{
    const QString archive = themeArchive();
    LogCapture log;
    const std::optional<XmlBaseList> trees = lq::unzipElementTrees(archive, target());
    ASSERT_TRUE(trees.has_value());
    // The unreadable element file is skipped; the text is unpacked but not read.
    EXPECT_EQ(names(*trees), (QStringList { QStringLiteral("site"), QStringLiteral("theme"), QStringLiteral("x") }));
    EXPECT_EQ(contents(target()), contents(source()));
    EXPECT_EQ(readAll(target() + QStringLiteral("/bitmaps2/b1.png")), QByteArray("pixels"));
    EXPECT_TRUE(log.lines.filter(QStringLiteral("zip failed")).isEmpty()) << log.lines.join(QLatin1Char('\n')).toStdString();
}

TEST_F(Zip, ElementTreesComeInTheArchivesOrderNotInNameOrder)
{
    // The theme is added before the site, so the archive lists it first.
    writeAll(source() + QStringLiteral("/theme.xmlbase"), elementFile("theme"));
    writeAll(source() + QStringLiteral("/site.xmlbase"), elementFile("site"));
    const QString archive = path(QStringLiteral("order.qvzip"));
    ASSERT_TRUE(lq::zipAdd(archive, source(), QStringLiteral("theme.xmlbase"), false));
    ASSERT_TRUE(lq::zipAdd(archive, source(), QStringLiteral("site.xmlbase"), false));
    ASSERT_EQ(members(archive), (QStringList { QStringLiteral("theme.xmlbase"), QStringLiteral("site.xmlbase") }));

    const std::optional<XmlBaseList> trees = lq::unzipElementTrees(archive, target());
    ASSERT_TRUE(trees.has_value());
    EXPECT_EQ(names(*trees), (QStringList { QStringLiteral("theme"), QStringLiteral("site") }));
}

TEST_F(Zip, UnzipReplacesFilesOfTheSameName)
{
    const QString archive = themeArchive();
    writeAll(target() + QStringLiteral("/theme.xmlbase"), elementFile("old theme"));
    writeAll(target() + QStringLiteral("/mine.txt"), "kept");
    const std::optional<XmlBaseList> trees = lq::unzipElementTrees(archive, target());
    ASSERT_TRUE(trees.has_value());
    EXPECT_EQ(names(*trees), (QStringList { QStringLiteral("site"), QStringLiteral("theme"), QStringLiteral("x") }));
    EXPECT_EQ(readAll(target() + QStringLiteral("/theme.xmlbase")), elementFile("theme"));
    EXPECT_EQ(readAll(target() + QStringLiteral("/mine.txt")), QByteArray("kept"));
}

TEST_F(Zip, EmptyArchiveGivesNoTrees)
{
    const QString archive = path(QStringLiteral("empty.qvzip"));
    writeAll(archive, zipBytes({}));
    const std::optional<XmlBaseList> trees = lq::unzipElementTrees(archive, target());
    ASSERT_TRUE(trees.has_value());
    EXPECT_TRUE(trees->isEmpty());
    EXPECT_TRUE(contents(target()).isEmpty());
}

TEST_F(Zip, UnzipOfWhatIsNoArchiveFails)
{
    writeAll(path(QStringLiteral("junk.qvzip")), "not a zip archive");
    struct Case {
        QString archive;
        QString folder;
    };
    const std::vector<Case> cases {
        { path(QStringLiteral("missing.qvzip")), target() },
        { path(QStringLiteral("junk.qvzip")), target() },
        { themeArchive(), path(QStringLiteral("no-such-folder")) },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.archive.toStdString() + " into " + c.folder.toStdString());
        LogCapture log;
        EXPECT_FALSE(lq::unzipElementTrees(c.archive, c.folder).has_value());
        EXPECT_FALSE(log.lines.filter(QStringLiteral("zip failed: ")).isEmpty());
        EXPECT_TRUE(contents(target()).isEmpty());
    }
}

TEST_F(Zip, UnsafeArchivesAreRefusedAndWriteNothing)
{
    const QByteArray outsideFolder = outside().toUtf8();
    const QByteArray element = elementFile("evil");
    struct Case {
        const char* what;
        std::vector<ZipEntry> entries;
    };
    const std::vector<Case> cases {
        { "parent path", { { "good.xmlbase", elementFile("good") }, { "../outside/evil.xmlbase", element } } },
        { "parent inside the path", { { "sub/../../outside/evil.xmlbase", element } } },
        { "backslash parent path", { { "..\\outside\\evil.xmlbase", element } } },
        { "absolute path", { { outsideFolder + "/evil.xmlbase", element } } },
        { "link out, then a file through it",
            { { "link", outsideFolder, true }, { "link/evil.xmlbase", element } } },
        { "link alone", { { "good.xmlbase", elementFile("good") }, { "evil.xmlbase", outsideFolder + "/secret.xmlbase", true } } },
    };
    writeAll(outside() + QStringLiteral("/secret.xmlbase"), elementFile("secret"));
    int round = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const QString archive = path(QStringLiteral("unsafe%1.qvzip").arg(++round));
        writeAll(archive, zipBytes(c.entries));
        ASSERT_EQ(members(archive).size(), qsizetype(c.entries.size()));

        LogCapture log;
        EXPECT_FALSE(lq::unzipElementTrees(archive, target()).has_value());
        EXPECT_EQ(log.lines.filter(QStringLiteral("zip failed: refusing")).size(), 1)
            << log.lines.join(QLatin1Char('\n')).toStdString();
        EXPECT_TRUE(contents(target()).isEmpty()) << contents(target()).join(QLatin1Char(' ')).toStdString();
        EXPECT_EQ(contents(outside()), QStringList { QStringLiteral("secret.xmlbase") });
        EXPECT_FALSE(QFile::exists(path(QStringLiteral("evil.xmlbase"))));
    }
}

TEST_F(Zip, ExistingLinksOutOfTheFolderAreNotWrittenThrough)
{
    // The folder already holds a link that leads out of it; an ordinary
    // archive member below that link would be written outside.
    writeAll(source() + QStringLiteral("/sub/x.xmlbase"), elementFile("x"));
    const QString archive = path(QStringLiteral("plain.qvzip"));
    ASSERT_TRUE(lq::zipAdd(archive, source(), QStringLiteral("sub"), true));
    ASSERT_TRUE(QFile::link(outside(), target() + QStringLiteral("/sub")));

    LogCapture log;
    EXPECT_FALSE(lq::unzipElementTrees(archive, target()).has_value());
    EXPECT_EQ(log.lines.filter(QStringLiteral("zip failed: refusing")).size(), 1);
    EXPECT_TRUE(contents(outside()).isEmpty());

    // A link that stays inside the folder is harmless.
    ASSERT_TRUE(QFile::remove(target() + QStringLiteral("/sub")));
    ASSERT_TRUE(QDir(target()).mkpath(QStringLiteral("real")));
    ASSERT_TRUE(QFile::link(target() + QStringLiteral("/real"), target() + QStringLiteral("/sub")));
    const std::optional<XmlBaseList> trees = lq::unzipElementTrees(archive, target());
    ASSERT_TRUE(trees.has_value());
    EXPECT_EQ(names(*trees), QStringList { QStringLiteral("x") });
    EXPECT_TRUE(QFile::exists(target() + QStringLiteral("/real/x.xmlbase")));
}

TEST_F(Zip, NamesAreCheckedAsTheArchiveStoresThem)
{
    // The folder holds a link "out" that leads outside. The tool lists
    // "o\x01ut" as "o^Aut" but writes it as "out", through the link.
    ASSERT_TRUE(QFile::link(outside(), target() + QStringLiteral("/out")));
    const QByteArray element = elementFile("evil");
    struct Case {
        const char* what;
        std::vector<ZipEntry> entries;
        const char* reason;
    };
    const std::vector<Case> cases {
        { "control character hiding the link's name", { { "o\x01ut/pwned.txt", "pwned" } }, "has control characters" },
        { "control character after a parent component", { { "..\x01/outside/evil.xmlbase", element } }, "has control characters" },
        { "line feed in an element file's name",
            { { "good.xmlbase", elementFile("good") }, { "a\nb.xmlbase", element } }, "has control characters" },
        { "delete character", { { "a\x7f" "b.txt", "x" } }, "has control characters" },
        { "C1 control character", { { "a\xc2\x85" "b.txt", "x" } }, "has control characters" },
        { "Unicode path field leading out", { { "safe.txt", "x", false, 3, "../outside/evil.txt" } }, "leads out of the folder" },
        { "Unicode path field through the link", { { "safe.txt", "x", false, 3, "o\x01ut/evil.txt" } }, "has control characters" },
        // The tool takes names of archives made on MS-DOS as code page 437
        // and writes them converted: not under the name that was checked.
        { "name the tool rewrites", { { "caf\xc3\xa9.txt", "x", false, 0 } }, "does not list" },
    };
    int round = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const QString archive = path(QStringLiteral("hostile%1.qvzip").arg(++round));
        writeAll(archive, zipBytes(c.entries));

        LogCapture log;
        EXPECT_FALSE(lq::unzipElementTrees(archive, target()).has_value());
        const QStringList refusals = log.lines.filter(QStringLiteral("zip failed: refusing"));
        ASSERT_EQ(refusals.size(), 1) << log.lines.join(QLatin1Char('\n')).toStdString();
        EXPECT_TRUE(refusals.first().contains(QLatin1String(c.reason))) << refusals.first().toStdString();
        EXPECT_EQ(contents(target()), QStringList { QStringLiteral("out") });
        EXPECT_TRUE(contents(outside()).isEmpty()) << contents(outside()).join(QLatin1Char(' ')).toStdString();
    }
}

TEST_F(Zip, NamesOutsideAsciiAreUnpackedAsListed)
{
    // Names the zip tool stores as UTF-8 bytes come back unchanged, including
    // a backslash, which is part of a name in archives made on Unix.
    writeAll(source() + QStringLiteral("/été ü.xmlbase"), elementFile("été"));
    writeAll(source() + QStringLiteral("/back\\slash.txt"), "b");
    const QString archive = path(QStringLiteral("names.qvzip"));
    ASSERT_TRUE(lq::zipAdd(archive, source(), QStringLiteral("été ü.xmlbase"), false));
    ASSERT_TRUE(lq::zipAdd(archive, source(), QStringLiteral("back\\slash.txt"), false));
    const std::optional<XmlBaseList> trees = lq::unzipElementTrees(archive, target());
    ASSERT_TRUE(trees.has_value());
    EXPECT_EQ(names(*trees), QStringList { QStringLiteral("été") });
    EXPECT_EQ(contents(target()), contents(source()));
}

TEST_F(Zip, RelativeArchivePathIsNotTakenFromTheTargetFolder)
{
    const QString archive = themeArchive();
    // An archive of the same name lies in the target folder.
    writeAll(target() + QStringLiteral("/theme.qvzip"), zipBytes({ { "decoy.xmlbase", elementFile("decoy") } }));
    const QString saved = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(dir.path()));
    const std::optional<XmlBaseList> trees = lq::unzipElementTrees(QFileInfo(archive).fileName(), target());
    ASSERT_TRUE(QDir::setCurrent(saved));
    ASSERT_TRUE(trees.has_value());
    EXPECT_EQ(names(*trees), (QStringList { QStringLiteral("site"), QStringLiteral("theme"), QStringLiteral("x") }));
    EXPECT_FALSE(QFile::exists(target() + QStringLiteral("/decoy.xmlbase")));
}

TEST_F(Zip, FailedUnpackingLeavesTheFolderAsItWas)
{
    // The names pass every check; the tool writes the first members, then
    // fails on the damaged one.
    writeAll(target() + QStringLiteral("/theme.xmlbase"), elementFile("old theme"));
    const QString archive = path(QStringLiteral("damaged.qvzip"));
    writeAll(archive, zipBytes({ { "theme.xmlbase", elementFile("new theme") }, { "sub/good.txt", "good" },
                          { "damaged.txt", "damaged", false, 3, {}, true } }));
    LogCapture log;
    EXPECT_FALSE(lq::unzipElementTrees(archive, target()).has_value());
    EXPECT_FALSE(log.lines.filter(QStringLiteral("zip failed: ")).isEmpty());
    EXPECT_EQ(contents(target()), QStringList { QStringLiteral("theme.xmlbase") });
    EXPECT_EQ(readAll(target() + QStringLiteral("/theme.xmlbase")), elementFile("old theme"));
}

TEST_F(Zip, WhatIsInTheWayOfTheArchiveStopsItBeforeAnythingIsWritten)
{
    // A file where the archive has a folder: the archive is refused whole.
    writeAll(target() + QStringLiteral("/sub"), "a file");
    writeAll(source() + QStringLiteral("/a.txt"), "a");
    writeAll(source() + QStringLiteral("/sub/x.xmlbase"), elementFile("x"));
    const QString archive = path(QStringLiteral("way.qvzip"));
    ASSERT_TRUE(lq::zipAdd(archive, source(), QStringLiteral("a.txt"), false));
    ASSERT_TRUE(lq::zipAdd(archive, source(), QStringLiteral("sub"), true));
    LogCapture log;
    EXPECT_FALSE(lq::unzipElementTrees(archive, target()).has_value());
    EXPECT_EQ(log.lines.filter(QStringLiteral("zip failed: refusing")).size(), 1);
    EXPECT_EQ(contents(target()), QStringList { QStringLiteral("sub") });
}

// --- Icon and comment -------------------------------------------------------------

TEST_F(Zip, IconIsStoredAndReadBack)
{
    const QString archive = themeArchive();
    QImage icon(64, 48, QImage::Format_RGB32);
    icon.fill(qRgb(30, 120, 200));

    EXPECT_TRUE(lq::zipIcon(archive).isNull());
    ASSERT_TRUE(lq::setZipIcon(archive, icon));
    EXPECT_TRUE(members(archive).contains(QStringLiteral("icon.jpg")));
    const QImage read = lq::zipIcon(archive);
    EXPECT_EQ(read.size(), QSize(64, 48));
    const QColor centre = read.pixelColor(32, 24);
    EXPECT_NEAR(centre.blue(), 200, 6);
    EXPECT_NEAR(centre.red(), 30, 6);

    // A new icon replaces the old one.
    ASSERT_TRUE(lq::setZipIcon(archive, icon.scaled(20, 10)));
    EXPECT_EQ(lq::zipIcon(archive).size(), QSize(20, 10));
    EXPECT_EQ(members(archive).count(QStringLiteral("icon.jpg")), 1);
}

TEST_F(Zip, IconOnlyAtTheTopLevel)
{
    QImage icon(8, 8, QImage::Format_RGB32);
    icon.fill(Qt::gray);
    writeAll(source() + QStringLiteral("/sub/icon.jpg"), lq::imageFileData(icon, QStringLiteral("icon.jpg"), ModelSettings::shared().jpgCompressionFactor()));
    const QString archive = path(QStringLiteral("nested.qvzip"));
    ASSERT_TRUE(lq::zipAdd(archive, source(), QStringLiteral("sub"), true));
    LogCapture log;
    EXPECT_TRUE(lq::zipIcon(archive).isNull());
    // Having no icon is no failure.
    EXPECT_TRUE(log.lines.isEmpty()) << log.lines.join(QLatin1Char('\n')).toStdString();

    EXPECT_TRUE(lq::zipIcon(path(QStringLiteral("missing.qvzip"))).isNull());
    EXPECT_FALSE(log.lines.filter(QStringLiteral("zip failed: ")).isEmpty());
}

TEST_F(Zip, IconFailuresAreReported)
{
    QImage icon(8, 8, QImage::Format_RGB32);
    icon.fill(Qt::white);
    LogCapture log;
    EXPECT_FALSE(lq::setZipIcon(path(QStringLiteral("no-such-folder/a.qvzip")), icon));
    EXPECT_FALSE(lq::setZipIcon(themeArchive(), QImage()));
    EXPECT_EQ(log.lines.filter(QStringLiteral("zip failed: ")).size(), 2);
}

TEST_F(Zip, CommentIsThereAtOnce)
{
    const QString archive = themeArchive();
    EXPECT_EQ(lq::zipComment(archive), QStringLiteral(""));
    EXPECT_FALSE(lq::zipComment(archive).isNull());

    const std::vector<QString> comments {
        QStringLiteral("hello world"),
        QStringLiteral("Website exported"),
        QStringLiteral("first line\nsecond line"),
        QStringLiteral("Café für Jürgen"),
    };
    for (const QString& comment : comments) {
        SCOPED_TRACE(comment.toStdString());
        ASSERT_TRUE(lq::setZipComment(archive, comment));
        EXPECT_EQ(lq::zipComment(archive), comment);
        // The archive is whole again before the call returns.
        const std::optional<XmlBaseList> trees = lq::unzipElementTrees(archive, target());
        ASSERT_TRUE(trees.has_value());
        EXPECT_EQ(trees->size(), 3);
    }
}

TEST_F(Zip, CommentFailuresAreReported)
{
    const QString missing = path(QStringLiteral("missing.qvzip"));
    LogCapture log;
    EXPECT_TRUE(lq::zipComment(missing).isNull());
    EXPECT_FALSE(lq::setZipComment(missing, QStringLiteral("hello")));
    EXPECT_EQ(log.lines.filter(QStringLiteral("zip failed: ")).size(), 2);
    EXPECT_FALSE(QFile::exists(missing));
}

TEST_F(Zip, ArchivesPastTheBoundsAreRefusedBeforeTheyGrow)
{
    const LoweredLimits lowered({ .archiveMemberBytes = 1024 * 1024, .archiveRatio = 200, .archiveRatioFloorBytes = 64 * 1024,
        .documentTextBytes = 512 * 1024 });
    // Content that compresses well, and content that does not.
    const QByteArray zeros(900 * 1024, '\0');
    QByteArray noise(1536 * 1024, Qt::Uninitialized);
    QRandomGenerator seeded(7);
    seeded.fillRange(reinterpret_cast<quint32*>(noise.data()), noise.size() / 4);

    // Packed by the zip tool, the way a theme archive is made.
    const auto packed = [&](const QString& name, const QByteArray& bytes) {
        QDir(source()).removeRecursively();
        writeAll(source() + QStringLiteral("/site.xmlbase"), bytes);
        const QString archive = path(name);
        EXPECT_TRUE(lq::zipAdd(archive, source(), QStringLiteral("site.xmlbase"), false));
        return archive;
    };
    const auto crafted = [&](const QString& name, const std::vector<ZipEntry>& entries) {
        writeAll(path(name), zipBytes(entries));
        return path(name);
    };
    struct Case {
        const char* what;
        QString archive;
        const char* reason;
    };
    const std::vector<Case> cases {
        { "a member that expands a thousandfold", packed(QStringLiteral("bomb.qvzip"), zeros), "times a member may expand" },
        { "a member larger than a member may be", packed(QStringLiteral("large.qvzip"), noise), "a member may have" },
        { "a member whose header hides its size",
            crafted(QStringLiteral("lying.qvzip"), { { "site.xmlbase", noise, false, 3, {}, false, 100 } }), "a member may have" },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        QString why;
        EXPECT_FALSE(lq::unzipElementTrees(c.archive, target(), &why).has_value());
        EXPECT_TRUE(why.contains(QLatin1String(c.reason))) << why.toStdString();
        EXPECT_TRUE(contents(target()).isEmpty()) << contents(target()).join(QLatin1Char(' ')).toStdString();
    }

    // Within the bounds all is unpacked and read.
    const QString fine = packed(QStringLiteral("fine.qvzip"), elementFile("fine") + noise.left(100 * 1024).toBase64());
    const std::optional<XmlBaseList> trees = lq::unzipElementTrees(fine, target());
    ASSERT_TRUE(trees.has_value());
    EXPECT_EQ(names(*trees), QStringList { QStringLiteral("fine") });

    // A document file past its bound is not read at all.
    writeAll(path(QStringLiteral("big.xmlbase")), elementFile("big") + QByteArray(600 * 1024, ' '));
    LogCapture log;
    EXPECT_EQ(lq::createWithFile(path(QStringLiteral("big.xmlbase"))), nullptr);
    EXPECT_FALSE(log.lines.filter(QStringLiteral("a document file may have")).isEmpty()) << log.lines.join(QLatin1Char('\n')).toStdString();
}
