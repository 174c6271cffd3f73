#include "model/core/XmlBase.h"
#include "model/core/ElementPasteboard.h"
#include "model/files/DirectoryWalk.h"
#include "model/files/XmlExternalFiles.h"
#include "model/files/XmlFile.h"
#include "model/files/XmlFiles.h"
#include "model/files/XmlFolder.h"
#include "model/site/XmlPhoto.h"
#include "model/files/XmlQVZIPFile.h"
#include "model/files/XmlStandAloneFiles.h"
#include "platform/MemoryPasteboard.h"
#include "support/Printers.h"
#include "support/TestFiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <vector>

namespace {

QStringList filenames(const XmlBase& list)
{
    QStringList names;
    for (const XmlBasePtr& child : list.children()) {
        const XmlFile* file = XmlFile::cast(child.get());
        names.append(file ? file->filename() : QStringLiteral("<not a file>"));
    }
    return names;
}

} // namespace

TEST(PasteboardImport, PlainWordsFallThroughToTheFilesInCaseInsensitiveOrder)
{
    QTemporaryDir dir;
    writeAll(dir.path() + QStringLiteral("/b.jpg"), "b");
    writeAll(dir.path() + QStringLiteral("/A.jpg"), "a");

    lq::MemoryPasteboard pasteboard;
    pasteboard.setString(QStringLiteral("hello"));
    pasteboard.setFilenames({ dir.path() + QStringLiteral("/b.jpg"), dir.path() + QStringLiteral("/gone.jpg"),
        dir.path() + QStringLiteral("/A.jpg") });

    XmlBasePtr element = lq::createFromPasteboard(pasteboard);
    ASSERT_NE(XmlExternalFiles::cast(element.get()), nullptr);
    EXPECT_EQ(element->parent(), nullptr);
    // The vanished path is passed over.
    EXPECT_EQ(filenames(*element),
        (QStringList { dir.path() + QStringLiteral("/A.jpg"), dir.path() + QStringLiteral("/b.jpg") }));
}

TEST(PasteboardImport, ADroppedFolderGivesEveryFileBelowIt)
{
    QTemporaryDir dir;
    const QString dropped = dir.path() + QStringLiteral("/holiday");
    writeAll(dropped + QStringLiteral("/top.jpg"), "1");
    writeAll(dropped + QStringLiteral("/day two/deep.jpg"), "2");
    QDir().mkpath(dropped + QStringLiteral("/empty"));

    lq::MemoryPasteboard pasteboard;
    pasteboard.setFilenames({ dropped });
    XmlBasePtr element = lq::createFromPasteboard(pasteboard);
    ASSERT_NE(XmlExternalFiles::cast(element.get()), nullptr);
    EXPECT_EQ(filenames(*element),
        (QStringList { dropped + QStringLiteral("/day two/deep.jpg"), dropped + QStringLiteral("/top.jpg") }));
    for (const XmlBasePtr& child : element->children())
        EXPECT_EQ(typeid(*child), typeid(XmlFile));

    // Paths that all vanished still give the (empty) list.
    pasteboard.setFilenames({ dir.path() + QStringLiteral("/nothing") });
    element = lq::createFromPasteboard(pasteboard);
    ASSERT_NE(XmlExternalFiles::cast(element.get()), nullptr);
    EXPECT_EQ(element->numberChildren(), 0);
}

TEST(PasteboardImport, ElementTextGivesACopyWithNewIdentity)
{
    auto photo = XmlPhoto::create();
    lq::MemoryPasteboard pasteboard;
    pasteboard.setFilenames({ QStringLiteral("/somewhere/else.jpg") });
    lq::putOnPasteboard(*photo, pasteboard);

    // The text is the pasteboard's only content.
    EXPECT_EQ(pasteboard.string(), std::optional<QString>(photo->createXml()));
    EXPECT_FALSE(pasteboard.filenames().has_value());

    XmlBasePtr pasted = lq::createFromPasteboard(pasteboard);
    ASSERT_NE(XmlPhoto::cast(pasted.get()), nullptr);
    EXPECT_EQ(pasted->createXml(), photo->createXml());
    EXPECT_NE(pasted->UUID(), photo->UUID());
    EXPECT_EQ(pasted->parent(), nullptr);

    // A whole subtree goes across.
    auto files = XmlFiles::create();
    auto file = XmlFile::create();
    file->setFilename(QStringLiteral("a.txt"));
    files->addChild(file);
    lq::putOnPasteboard(*files, pasteboard);
    pasted = lq::createFromPasteboard(pasteboard);
    ASSERT_NE(pasted, nullptr);
    EXPECT_EQ(pasted->createXml(), files->createXml());
    EXPECT_EQ(filenames(*pasted), QStringList { QStringLiteral("a.txt") });
}

TEST(PasteboardImport, NothingUsableGivesNothing)
{
    lq::MemoryPasteboard pasteboard;
    EXPECT_EQ(lq::createFromPasteboard(pasteboard), nullptr);
    pasteboard.setString(QStringLiteral("just words"));
    EXPECT_EQ(lq::createFromPasteboard(pasteboard), nullptr);
    pasteboard.setString(QStringLiteral("<unknownTag/>"));
    EXPECT_EQ(lq::createFromPasteboard(pasteboard), nullptr);
}

TEST(PasteboardImport, PastedFilesImportIntoAFilesTree)
{
    QTemporaryDir source;
    QTemporaryDir target;
    writeAll(source.path() + QStringLiteral("/b.jpg"), "b");
    writeAll(source.path() + QStringLiteral("/A.jpg"), "a");
    lq::MemoryPasteboard pasteboard;
    pasteboard.setFilenames({ source.path() + QStringLiteral("/b.jpg"), source.path() + QStringLiteral("/A.jpg") });

    // A file list over the target folder, with a subfolder to drop into.
    auto list = XmlStandAloneFiles::create();
    list->setRootDir(target.path());
    std::shared_ptr<XmlFolder> folder = list->folderWithName(QStringLiteral("in"));
    ASSERT_NE(folder, nullptr);

    XmlBasePtr pasted = lq::createFromPasteboard(pasteboard);
    ASSERT_NE(pasted, nullptr);
    folder->importFiles(pasted.get());
    EXPECT_EQ(filenames(*folder), (QStringList { QStringLiteral("A.jpg"), QStringLiteral("b.jpg") }));
    EXPECT_TRUE(QFileInfo::exists(target.path() + QStringLiteral("/in/A.jpg")));
    EXPECT_TRUE(QFileInfo::exists(target.path() + QStringLiteral("/in/b.jpg")));
}

TEST(PasteboardImport, CanWeImportComparesExtensionsExactly)
{
    struct Case {
        const char* path;
        bool expected;
    };
    const std::vector<Case> cases = {
        { "x.JPG", true },
        { "/photos/x.jpg", true },
        { "x.jpeg", true },
        { "x.TIFF", true },
        { "x.psd", true },
        { "x", true }, // no extension
        { "/a.b/x", true },
        { "x.png", false },
        { "x.PNG", false },
        { "x.Jpg", false },
        { "x.PSD", false },
        { "x.jpg.txt", false },
        // The extension is what follows the last ".", a leading one included.
        { ".png", false },
        { "/photos/.jpg", true },
        { "x.", true }, // an empty extension
    };
    for (const Case& c : cases)
        EXPECT_EQ(lq::canWeImport(QString::fromUtf8(c.path)), c.expected) << c.path;
}

TEST(PasteboardImport, DirectoryTreeWithFilesOnlySkipsHiddenFiles)
{
    QTemporaryDir dir;
    for (const char* name : { ".hidden", "theme.qvzip", "notes.txt", "sub/inner.txt" })
        writeAll(dir.path() + QLatin1Char('/') + QLatin1String(name), "x");

    auto parent = XmlFiles::create();
    lq::addDirectoryTreeToFoldersFiles(dir.path(), parent.get(), false, true);
    ASSERT_EQ(parent->numberChildren(), 2);
    EXPECT_EQ(typeid(*parent->firstChild()), typeid(XmlFile));
    EXPECT_EQ(XmlFile::cast(parent->firstChild().get())->filename(), QStringLiteral("notes.txt"));
    EXPECT_EQ(typeid(*parent->lastChild()), typeid(XmlQVZIPFile));

    // A folder that cannot be listed adds nothing.
    lq::addDirectoryTreeToFoldersFiles(dir.path() + QStringLiteral("/missing"), parent.get(), true, true);
    lq::addContentsOfDirectoryTo(dir.path() + QStringLiteral("/missing"), parent.get());
    EXPECT_EQ(parent->numberChildren(), 2);

    // The contents of a folder include hidden files and archives as plain files.
    auto all = XmlFiles::create();
    lq::addContentsOfDirectoryTo(dir.path(), all.get());
    EXPECT_EQ(filenames(*all),
        (QStringList { dir.path() + QStringLiteral("/.hidden"), dir.path() + QStringLiteral("/notes.txt"),
            dir.path() + QStringLiteral("/sub/inner.txt"), dir.path() + QStringLiteral("/theme.qvzip") }));
    for (const XmlBasePtr& child : all->children())
        EXPECT_EQ(typeid(*child), typeid(XmlFile));
}
