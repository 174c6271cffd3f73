#include "model/files/XmlExternalFiles.h"
#include "model/files/XmlFile.h"
#include "model/files/XmlFiles.h"
#include "model/files/XmlFolder.h"
#include "model/site/XmlSite.h"
#include "model/files/XmlStandAloneFiles.h"
#include "support/ElementTrees.h"
#include "support/Printers.h"
#include "support/TestFiles.h"
#include "support/TimeZone.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <vector>

namespace {

// The document folder of a tree: a root element that answers the temporary
// folder as its rootDir, with an XmlFiles child standing for "<dir>/files".
class DocumentRoot : public XmlBase {
public:
    explicit DocumentRoot(Key key)
        : XmlBase(key)
    {
        _have_children = true;
    }
    static std::shared_ptr<DocumentRoot> create() { return make<DocumentRoot>(); }
    bool canYouBeMyParent(XmlBase*) override { return true; }
    QString rootDir() override { return folder; }

    QString folder;
};

// The sorted names of what is in the folder, hidden entries included.
QStringList onDisk(const QString& folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
}

// A document folder with an empty "files" folder and its tree.
struct FilesTree {
    QTemporaryDir dir;
    std::shared_ptr<DocumentRoot> root = DocumentRoot::create();
    std::shared_ptr<XmlFiles> files = XmlFiles::create();
    QString filesPath;

    FilesTree()
    {
        root->folder = dir.path();
        root->addChild(files);
        filesPath = dir.path() + QStringLiteral("/files");
        QDir().mkpath(filesPath);
    }

    // A file on disk in the files folder with its element.
    std::shared_ptr<XmlFile> addFile(const QString& name, const QByteArray& bytes)
    {
        writeAll(filesPath + QLatin1Char('/') + name, bytes);
        return files->fileWithName(name);
    }

    // A folder already on disk (with the file inside) with its element.
    std::shared_ptr<XmlFolder> addFolder(const QString& name, const QString& file)
    {
        writeAll(filesPath + QLatin1Char('/') + name + QLatin1Char('/') + file, "");
        auto folder = XmlFolder::create();
        folder->setFoldername(name);
        files->addChild(folder);
        return folder;
    }
};

} // namespace

TEST(XmlFileTree, PathsFollowTheTree)
{
    FilesTree tree;
    auto docs = XmlFolder::create();
    docs->setFoldername(QStringLiteral("docs"));
    tree.files->addChild(docs);
    auto pdf = XmlFile::create();
    pdf->setFilename(QStringLiteral("a.pdf"));
    docs->addChild(pdf);

    EXPECT_EQ(tree.files->fullname(), tree.filesPath);
    EXPECT_EQ(pdf->fullname(), tree.filesPath + QStringLiteral("/docs/a.pdf"));
    EXPECT_EQ(pdf->filenameWithRoot(QStringLiteral("files")), QStringLiteral("files/docs/a.pdf"));
    EXPECT_EQ(pdf->filenameWithRoot(QString()), QStringLiteral("docs/a.pdf"));

    QStringList copied;
    tree.files->listOfFilesToCopyAll(copied, false);
    EXPECT_EQ(copied, QStringList { QStringLiteral("files/docs/a.pdf") });

    // A file taken out of its tree still names where it was.
    const XmlBasePtr keep = pdf;
    docs->removeChild(pdf.get());
    EXPECT_EQ(pdf->parent(), nullptr);
    EXPECT_EQ(pdf->fullname(), tree.filesPath + QStringLiteral("/docs/a.pdf"));
    EXPECT_EQ(XmlFile::create()->fullname(), QString());

    // A folder that was never named is "untitled" in paths but shows no name.
    auto unnamed = XmlFolder::create();
    tree.files->addChild(unnamed);
    EXPECT_EQ(unnamed->name(), QString());
    EXPECT_EQ(unnamed->fullname(), tree.filesPath + QStringLiteral("/untitled"));
    EXPECT_EQ(tree.files->name(), QStringLiteral("Files"));
}

TEST(XmlFileTree, AcceptsOnlyFilesAndFolders)
{
    auto files = XmlFiles::create();
    EXPECT_TRUE(files->canYouBeMyParent(XmlFile::create().get()));
    EXPECT_TRUE(files->canYouBeMyParent(XmlFolder::create().get()));
    EXPECT_FALSE(files->canYouBeMyParent(XmlFiles::create().get()));
    EXPECT_FALSE(files->canYouBeMyParent(XmlBase::create().get()));
    EXPECT_FALSE(files->canYouBeMyParent(nullptr));
    EXPECT_FALSE(XmlFile::create()->canEditName());
    EXPECT_FALSE(files->canEditName());
}

TEST(XmlFileTree, NewFoldersTakeTheNextFreeNumber)
{
    FilesTree tree;
    QDir(tree.filesPath).mkdir(QStringLiteral("untitled folder"));
    QDir(tree.filesPath).mkdir(QStringLiteral("untitled folder 2"));
    writeAll(tree.filesPath + QStringLiteral("/photos"), "a plain file");

    tree.files->addFolder();
    ASSERT_EQ(tree.files->numberChildren(), 1);
    auto* made = XmlFolder::cast(tree.files->firstChild().get());
    ASSERT_NE(made, nullptr);
    EXPECT_EQ(made->foldername(), QStringLiteral("untitled folder 3"));
    EXPECT_TRUE(QFileInfo(tree.filesPath + QStringLiteral("/untitled folder 3")).isDir());

    // A name taken by a plain file that has no element gets the number 2.
    std::shared_ptr<XmlFolder> photos = tree.files->folderWithName(QStringLiteral("photos"));
    ASSERT_NE(photos, nullptr);
    EXPECT_EQ(photos->foldername(), QStringLiteral("photos 2"));
    EXPECT_TRUE(QFileInfo(tree.filesPath + QStringLiteral("/photos 2")).isDir());
    EXPECT_EQ(readAll(tree.filesPath + QStringLiteral("/photos")), QByteArray("a plain file"));

    // A folder element of the name is answered as it is; nothing new is made.
    EXPECT_EQ(tree.files->folderWithName(QStringLiteral("photos 2")), photos);
    EXPECT_EQ(tree.files->numberChildren(), 2);

    // Names that would leave the folder are refused.
    for (const QString& bad : { QStringLiteral("../out"), QStringLiteral("a/b"), QStringLiteral(".."), QString() })
        EXPECT_EQ(tree.files->folderWithName(bad), nullptr) << bad.toStdString();
    EXPECT_FALSE(QFileInfo::exists(tree.dir.path() + QStringLiteral("/out")));
    EXPECT_EQ(onDisk(tree.filesPath),
        (QStringList { QStringLiteral("photos"), QStringLiteral("photos 2"), QStringLiteral("untitled folder"),
            QStringLiteral("untitled folder 2"), QStringLiteral("untitled folder 3") }));

    // A folder that cannot be made adds nothing.
    auto detached = XmlFolder::create();
    detached->addFolder();
    EXPECT_EQ(detached->numberChildren(), 0);
}

TEST(XmlFileTree, ImportReplacesANamesakeAndKeepsOneElement)
{
    FilesTree tree;
    QTemporaryDir outside;
    tree.addFile(QStringLiteral("a.txt"), "old");
    writeAll(outside.path() + QStringLiteral("/a.txt"), "new");

    EXPECT_TRUE(tree.files->importFilename(outside.path() + QStringLiteral("/a.txt")));
    EXPECT_EQ(readAll(tree.filesPath + QStringLiteral("/a.txt")), QByteArray("new"));
    EXPECT_EQ(childNames(*tree.files), QStringList { QStringLiteral("a.txt") });
    // No temporary file is left behind.
    EXPECT_EQ(onDisk(tree.filesPath), QStringList { QStringLiteral("a.txt") });

    // A file that was not there yet gets its element.
    writeAll(outside.path() + QStringLiteral("/b.txt"), "b");
    EXPECT_TRUE(tree.files->importFilename(outside.path() + QStringLiteral("/b.txt")));
    EXPECT_EQ(childNames(*tree.files), (QStringList { QStringLiteral("a.txt"), QStringLiteral("b.txt") }));
}

TEST(XmlFileTree, ImportOntoItselfKeepsTheFile)
{
    FilesTree tree;
    tree.addFile(QStringLiteral("a.txt"), "precious");
    // Directly, and through a path that is spelled differently.
    for (const QString& source : { tree.filesPath + QStringLiteral("/a.txt"), tree.filesPath + QStringLiteral("/../files/a.txt") }) {
        EXPECT_TRUE(tree.files->importFilename(source));
        EXPECT_EQ(readAll(tree.filesPath + QStringLiteral("/a.txt")), QByteArray("precious"));
        EXPECT_EQ(tree.files->numberChildren(), 1);
    }
    EXPECT_EQ(onDisk(tree.filesPath), QStringList { QStringLiteral("a.txt") });
}

TEST(XmlFileTree, AFailedImportLeavesTheDestinationWhole)
{
    FilesTree tree;
    QTemporaryDir outside;

    // A source that cannot be read to its end: reading the start of the
    // process's memory fails at once.
    if (QFileInfo(QStringLiteral("/proc/self/mem")).isFile()) {
        tree.addFile(QStringLiteral("mem"), "user's file");
        EXPECT_FALSE(tree.files->importFilename(QStringLiteral("/proc/self/mem")));
        EXPECT_EQ(readAll(tree.filesPath + QStringLiteral("/mem")), QByteArray("user's file"));
    }

    // A source that is gone, or is a folder: nothing happens.
    tree.addFile(QStringLiteral("gone.txt"), "kept");
    EXPECT_FALSE(tree.files->importFilename(outside.path() + QStringLiteral("/gone.txt")));
    EXPECT_EQ(readAll(tree.filesPath + QStringLiteral("/gone.txt")), QByteArray("kept"));
    QDir(outside.path()).mkdir(QStringLiteral("folder.txt"));
    EXPECT_FALSE(tree.files->importFilename(outside.path() + QStringLiteral("/folder.txt")));
    EXPECT_FALSE(QFileInfo::exists(tree.filesPath + QStringLiteral("/folder.txt")));

    // A file never replaces a folder of the same name with everything in it.
    writeAll(tree.filesPath + QStringLiteral("/docs/inner.txt"), "inner");
    writeAll(outside.path() + QStringLiteral("/docs"), "a file called docs");
    EXPECT_FALSE(tree.files->importFilename(outside.path() + QStringLiteral("/docs")));
    EXPECT_EQ(readAll(tree.filesPath + QStringLiteral("/docs/inner.txt")), QByteArray("inner"));

    const int expected = QFileInfo(QStringLiteral("/proc/self/mem")).isFile() ? 2 : 1;
    EXPECT_EQ(tree.files->numberChildren(), expected);
    for (const QString& name : onDisk(tree.filesPath))
        EXPECT_FALSE(name.startsWith(QLatin1Char('.'))) << "left over: " << name.toStdString();
}

TEST(XmlFileTree, RenameMovesTheFileOnlyToAFreePlainName)
{
    FilesTree tree;
    auto a = tree.addFile(QStringLiteral("a.txt"), "a");
    tree.addFile(QStringLiteral("b.txt"), "b");
    auto sub = tree.addFolder(QStringLiteral("sub"), QStringLiteral("keep"));
    const QStringList before = onDisk(tree.filesPath);

    struct Case {
        QString name;
        const char* why;
    };
    const std::vector<Case> refused = {
        { QStringLiteral("b.txt"), "taken by a file" },
        { QStringLiteral("sub"), "taken by a folder" },
        { QStringLiteral("../x"), "leaves the folder" },
        { QStringLiteral("sub/x"), "moves into a subfolder" },
        { QStringLiteral("/tmp/x"), "absolute path" },
        { QString::fromUtf8("x\0y", 3), "NUL inside" },
        { QString(QLatin1String("")), "empty" },
        { QStringLiteral("."), "the folder itself" },
        { QStringLiteral(".."), "the folder above" },
        { QString(), "nothing" },
    };
    for (const Case& c : refused) {
        EXPECT_FALSE(a->renameFilename(c.name)) << c.why;
        EXPECT_FALSE(sub->renameFoldername(c.name)) << c.why;
        EXPECT_EQ(a->filename(), QStringLiteral("a.txt")) << c.why;
        EXPECT_EQ(sub->foldername(), QStringLiteral("sub")) << c.why;
        EXPECT_EQ(onDisk(tree.filesPath), before) << c.why;
        EXPECT_EQ(readAll(tree.filesPath + QStringLiteral("/b.txt")), QByteArray("b")) << c.why;
    }
    EXPECT_FALSE(QFileInfo::exists(tree.dir.path() + QStringLiteral("/x")));

    EXPECT_TRUE(a->renameFilename(QStringLiteral("c.txt")));
    EXPECT_EQ(a->name(), QStringLiteral("c.txt"));
    EXPECT_EQ(readAll(tree.filesPath + QStringLiteral("/c.txt")), QByteArray("a"));
    EXPECT_FALSE(QFileInfo::exists(tree.filesPath + QStringLiteral("/a.txt")));

    EXPECT_TRUE(sub->renameFoldername(QStringLiteral("renamed")));
    EXPECT_EQ(sub->name(), QStringLiteral("renamed"));
    EXPECT_TRUE(QFileInfo::exists(tree.filesPath + QStringLiteral("/renamed/keep")));
}

TEST(XmlFileTree, DeleteRemovesFromDiskThenFromTheTree)
{
    FilesTree tree;
    tree.addFile(QStringLiteral("a.txt"), "a");
    tree.addFile(QStringLiteral("b.txt"), "b");
    auto docs = tree.addFolder(QStringLiteral("docs"), QStringLiteral("deep/x.pdf"));
    docs->fileWithName(QStringLiteral("x.pdf"));

    tree.files->deleteFilename(QStringLiteral("x.pdf")); // not a direct child
    EXPECT_EQ(tree.files->numberChildren(), 3);
    tree.files->deleteFilename(QStringLiteral("a.txt"));
    tree.files->deleteFilename(QStringLiteral("docs"));
    EXPECT_EQ(childNames(*tree.files), QStringList { QStringLiteral("b.txt") });
    EXPECT_EQ(onDisk(tree.filesPath), QStringList { QStringLiteral("b.txt") });

    // An element whose name would reach outside the folder is not deleted.
    QTemporaryDir outside;
    writeAll(outside.path() + QStringLiteral("/victim"), "v");
    auto stray = XmlFile::create();
    stray->setFilename(QStringLiteral("../") + QDir(tree.filesPath).relativeFilePath(outside.path() + QStringLiteral("/victim")));
    tree.files->addChild(stray);
    tree.files->deleteFilename(stray->name());
    EXPECT_TRUE(QFileInfo::exists(outside.path() + QStringLiteral("/victim")));
}

TEST(XmlFileTree, ImportFilesCopiesExternalFilesAndDraggedFolders)
{
    FilesTree tree;
    QTemporaryDir outside;
    writeAll(outside.path() + QStringLiteral("/one.txt"), "1");
    writeAll(outside.path() + QStringLiteral("/docs/two.txt"), "2");
    writeAll(outside.path() + QStringLiteral("/docs/deep/three.txt"), "3");

    // Files dropped from outside carry absolute paths.
    auto external = XmlExternalFiles::create();
    auto one = XmlFile::create();
    one->setFilename(outside.path() + QStringLiteral("/one.txt"));
    external->addChild(one);
    EXPECT_EQ(tree.files->importFiles(external.get()), QStringList());
    EXPECT_EQ(readAll(tree.filesPath + QStringLiteral("/one.txt")), QByteArray("1"));

    // What could not be brought in is named; the rest comes in.
    auto gone = XmlFile::create();
    gone->setFilename(outside.path() + QStringLiteral("/gone.txt"));
    external->insertChildAtIndex(gone, 0);
    EXPECT_EQ(tree.files->importFiles(external.get()), QStringList { outside.path() + QStringLiteral("/gone.txt") });
    EXPECT_EQ(childNames(*tree.files), QStringList { QStringLiteral("one.txt") });

    // A dragged folder tree: its files are found through their tree.
    auto list = XmlStandAloneFiles::create();
    list->setRootDir(outside.path());
    list->refresh();
    EXPECT_EQ(tree.files->importFiles(list.get()), QStringList());
    EXPECT_EQ(readAll(tree.filesPath + QStringLiteral("/docs/two.txt")), QByteArray("2"));
    EXPECT_EQ(readAll(tree.filesPath + QStringLiteral("/docs/deep/three.txt")), QByteArray("3"));
    auto docs = tree.files->folderWithName(QStringLiteral("docs"));
    ASSERT_NE(docs, nullptr);
    EXPECT_EQ(childNames(*docs), (QStringList { QStringLiteral("deep"), QStringLiteral("two.txt") }));
    EXPECT_EQ(childNames(*tree.files), (QStringList { QStringLiteral("one.txt"), QStringLiteral("docs") }));

    // A folder dragged into its own subfolder copies its files there and
    // does not copy itself into the copy without end.
    tree.files->importFiles(tree.files.get());
    auto deep = docs->folderWithName(QStringLiteral("deep"));
    ASSERT_NE(deep, nullptr);
    EXPECT_EQ(deep->importFiles(docs.get()), QStringList { QStringLiteral("deep") }) << "the folder itself is not copied";
    EXPECT_EQ(readAll(tree.filesPath + QStringLiteral("/docs/deep/two.txt")), QByteArray("2"));
    EXPECT_EQ(onDisk(tree.filesPath + QStringLiteral("/docs/deep")),
        (QStringList { QStringLiteral("three.txt"), QStringLiteral("two.txt") }));
    EXPECT_EQ(onDisk(tree.filesPath), (QStringList { QStringLiteral("docs"), QStringLiteral("one.txt") }));
}

TEST(XmlFileTree, FolderCheckFollowsItsChildren)
{
    auto folder = XmlFolder::create();
    EXPECT_EQ(folder->check(), 0); // empty

    std::vector<std::shared_ptr<XmlFile>> files;
    for (int i = 0; i < 3; ++i) {
        files.push_back(XmlFile::create());
        folder->addChild(files.back());
    }
    struct Case {
        std::vector<bool> checks;
        int expected;
    };
    const std::vector<Case> cases = {
        { { true, true, false }, -1 },
        { { true, true, true }, 1 },
        { { false, false, false }, 0 },
        { { false, true, false }, -1 },
    };
    for (const Case& c : cases) {
        for (std::size_t i = 0; i < files.size(); ++i)
            files[i]->setCheck(c.checks[i]);
        EXPECT_EQ(folder->check(), c.expected);
    }

    // A mixed subfolder counts as checked.
    auto outer = XmlFolder::create();
    outer->addChild(folder);
    auto sibling = XmlFile::create();
    sibling->setCheck(true);
    outer->addChild(sibling);
    files[0]->setCheck(true);
    files[1]->setCheck(false);
    EXPECT_EQ(folder->check(), -1);
    EXPECT_EQ(outer->check(), 1);

    // Checking a folder checks every file below it.
    outer->setCheck(true);
    for (const auto& file : files)
        EXPECT_EQ(file->check(), 1);
    EXPECT_EQ(folder->check(), 1);
    outer->setCheck(false);
    EXPECT_EQ(outer->check(), 0);
    EXPECT_EQ(XmlFolder::checkOf(outer.get()), 0);
}

TEST(XmlFileTree, DatedNamesSortNewestFirst)
{
    TimeZone utc("UTC");
    auto list = XmlFiles::create();
    const auto add = [&](const QString& name) {
        auto file = XmlFile::create();
        file->setFilename(name);
        list->addChild(file);
        return file;
    };
    auto notes = add(QStringLiteral("notes.txt"));
    auto monday = add(QStringLiteral("Mon Jan 02,2006 03:04:05 PM"));
    auto folder = XmlFolder::create();
    folder->setFoldername(QStringLiteral("Wed Jan 04,2006 03:04:05 PM"));
    list->addChild(folder);
    auto tuesday = add(QStringLiteral("Tue Jan 03,2006 03:04:05 PM"));

    EXPECT_DOUBLE_EQ(monday->creationDate(), 1136214245.0);
    EXPECT_DOUBLE_EQ(notes->creationDate(), 0.0);
    EXPECT_DOUBLE_EQ(folder->creationDate(), 0.0);
    // Morning and evening, and partial matches.
    EXPECT_DOUBLE_EQ(add(QStringLiteral("Mon Jan 02,2006 03:04:05 AM"))->creationDate(), 1136214245.0 - 12 * 3600);
    EXPECT_DOUBLE_EQ(add(QStringLiteral("Mon Jan 02,2006 03:04:05 PM and more"))->creationDate(), 0.0);

    EXPECT_EQ(monday->compareCreationDate(tuesday.get()), 1);
    EXPECT_EQ(tuesday->compareCreationDate(monday.get()), -1);
    EXPECT_EQ(monday->compareCreationDate(monday.get()), 0);
    EXPECT_EQ(monday->compareCreationDate(XmlBase::create().get()), -1);
    EXPECT_EQ(folder->compareCreationDate(monday.get()), 1);

    list->removeChild(list->lastChild().get());
    list->removeChild(list->lastChild().get());
    list->sortByCreationDate();
    const QStringList names = childNames(*list);
    ASSERT_EQ(names.size(), 4);
    EXPECT_EQ(names[0], tuesday->name());
    EXPECT_EQ(names[1], monday->name());
    // Undated items come last, in the order they had.
    EXPECT_EQ(names[2], QStringLiteral("notes.txt"));
    EXPECT_EQ(names[3], folder->name());
}

TEST(XmlFileTree, DatesAreReadInTheLocalTimeZone)
{
    double utcSeconds = 0;
    {
        TimeZone utc("UTC");
        auto file = XmlFile::create();
        file->setFilename(QStringLiteral("Mon Jan 02,2006 03:04:05 PM"));
        utcSeconds = file->creationDate();
    }
    TimeZone tokyo("Asia/Tokyo");
    auto file = XmlFile::create();
    file->setFilename(QStringLiteral("Mon Jan 02,2006 03:04:05 PM"));
    EXPECT_DOUBLE_EQ(file->creationDate(), utcSeconds - 9 * 3600);
}

TEST(XmlFileTree, WrittenAndReadAsElementText)
{
    auto files = XmlFiles::create();
    auto folder = XmlFolder::create();
    folder->setFoldername(QStringLiteral("a&b"));
    files->addChild(folder);
    auto file = XmlFile::create();
    file->setFilename(QStringLiteral("x \"1\".txt"));
    folder->addChild(file);
    auto top = XmlFile::create();
    top->setFilename(QStringLiteral("top.txt"));
    files->addChild(top);

    const QString xml = files->createXml();
    EXPECT_EQ(xml,
        QStringLiteral("<files> <folder foldername=\"a&amp;b\">  <file filename=\"x &quot;1&quot;.txt\"/>\n"
                       " </folder>\n <file filename=\"top.txt\"/>\n</files>\n"));

    // Folders are not known to the factory: they are dropped on reading.
    XmlBasePtr back = XmlBase::createWithXmlRootDir(xml, QString());
    ASSERT_NE(XmlFiles::cast(back.get()), nullptr);
    EXPECT_EQ(typeid(*back), typeid(XmlFiles));
    ASSERT_EQ(back->numberChildren(), 1);
    auto* read = XmlFile::cast(back->firstChild().get());
    ASSERT_NE(read, nullptr);
    EXPECT_EQ(read->filename(), QStringLiteral("top.txt"));

    // Nothing is ever read under a file element.
    XmlBasePtr nested = XmlBase::createWithXmlRootDir(
        QStringLiteral("<file filename=\"f\"><file filename=\"g\"/></file>"), QString());
    ASSERT_NE(nested, nullptr);
    EXPECT_EQ(nested->name(), QStringLiteral("f"));
    EXPECT_EQ(nested->numberChildren(), 0);
}

TEST(XmlFileTree, TheSitesTreeIsNeverWritten)
{
    // The site's tree is rebuilt from its folder at every open: it is left
    // out of the site's text, whatever it holds, and so are its files.
    auto site = XmlSite::create();
    auto files = XmlFiles::create();
    auto folder = XmlFolder::create();
    folder->setFoldername(QStringLiteral("docs"));
    auto file = XmlFile::create();
    file->setFilename(QStringLiteral("a.pdf"));
    folder->addChild(file);
    files->addChild(folder);
    site->addChild(files);

    EXPECT_EQ(files->createXml(), QString());
    const QString siteXml = site->createXml();
    EXPECT_TRUE(siteXml.startsWith(QStringLiteral("<QZsite"))) << siteXml.toStdString();
    for (const char* part : { "<files", "<folder", "<file", "a.pdf", "docs" })
        EXPECT_FALSE(siteXml.contains(QLatin1String(part))) << part << " in " << siteXml.toStdString();

    // Taken away from the site, the same tree is written in full.
    const XmlBasePtr keep = files;
    site->removeChildWithoutDeletingChildren(files.get());
    const QString detached = files->createXml();
    EXPECT_TRUE(detached.contains(QStringLiteral("<folder foldername=\"docs\">"))) << detached.toStdString();
    EXPECT_TRUE(detached.contains(QStringLiteral("<file filename=\"a.pdf\"/>"))) << detached.toStdString();

    // A stand-alone list or a dropped list has no site above it.
    auto external = XmlExternalFiles::create();
    external->addChild(XmlFile::create());
    EXPECT_TRUE(external->createXml().startsWith(QStringLiteral("<files>"))) << external->createXml().toStdString();
}

TEST(XmlFileTree, FoldersOnTheWayThatLeadOutOfTheFilesFolderStopEveryOperation)
{
    // The document folder lies one level down, so that "../.." still stays
    // inside the temporary folder.
    QTemporaryDir dir;
    const QString document = dir.path() + QStringLiteral("/doc");
    const QString filesPath = document + QStringLiteral("/files");
    ASSERT_TRUE(QDir().mkpath(filesPath + QStringLiteral("/a")));
    ASSERT_TRUE(QDir().mkpath(dir.path() + QStringLiteral("/elsewhere")));
    ASSERT_TRUE(QFile::link(dir.path() + QStringLiteral("/elsewhere"), filesPath + QStringLiteral("/link")));
    const QString source = dir.path() + QStringLiteral("/source.txt");
    writeAll(source, "imported");

    // Folder element name, and the folder on disk it would stand for.
    const std::vector<std::pair<QString, QString>> cases = {
        { QStringLiteral(".."), document },
        { QStringLiteral("../.."), dir.path() },
        { QStringLiteral("a/../.."), document },
        { QStringLiteral("."), filesPath },
        { QStringLiteral("link"), dir.path() + QStringLiteral("/elsewhere") }, // a link on disk leading out
    };
    for (const auto& [name, place] : cases) {
        SCOPED_TRACE(name.toStdString());
        auto root = DocumentRoot::create();
        root->folder = document;
        auto files = XmlFiles::create();
        root->addChild(files);
        auto folder = XmlFolder::create();
        folder->setFoldername(name);
        files->addChild(folder);
        writeAll(place + QStringLiteral("/victim.txt"), "keep");
        auto victim = folder->fileWithName(QStringLiteral("victim.txt"));
        ASSERT_EQ(QFileInfo(victim->fullname()).canonicalFilePath(), QFileInfo(place + QStringLiteral("/victim.txt")).canonicalFilePath());
        const QStringList before = onDisk(place);

        EXPECT_FALSE(victim->renameFilename(QStringLiteral("renamed.txt")));
        folder->deleteFilename(QStringLiteral("victim.txt"));
        EXPECT_FALSE(folder->importFilename(source));
        EXPECT_EQ(folder->folderWithName(QStringLiteral("made")), nullptr);
        folder->addFolder();

        EXPECT_EQ(onDisk(place), before);
        EXPECT_EQ(readAll(place + QStringLiteral("/victim.txt")), QByteArray("keep"));
        QFile::remove(place + QStringLiteral("/victim.txt"));
    }

    // A folder that really lies inside still works.
    auto root = DocumentRoot::create();
    root->folder = document;
    auto files = XmlFiles::create();
    root->addChild(files);
    auto folder = files->folderWithName(QStringLiteral("inside"));
    ASSERT_NE(folder, nullptr);
    EXPECT_TRUE(folder->importFilename(source));
    EXPECT_TRUE(folder->fileWithName(QStringLiteral("source.txt"))->renameFilename(QStringLiteral("moved.txt")));
    folder->deleteFilename(QStringLiteral("moved.txt"));
    EXPECT_TRUE(onDisk(filesPath + QStringLiteral("/inside")).isEmpty());
    EXPECT_EQ(onDisk(filesPath), (QStringList { QStringLiteral("a"), QStringLiteral("inside"), QStringLiteral("link") }));
}
