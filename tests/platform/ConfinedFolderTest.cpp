// The one way to the files below a site or a destination: no name, link,
// pipe or swap made while it works leads any of its operations outside its
// folder, a refusal names the entry and why, and trees are removed and
// copied without following the links in them.
#include "platform/ConfinedFolder.h"
#include "platform/Process.h"
#include "support/OutsideTree.h"
#include "support/Printers.h"
#include "support/SmallFilesystem.h"
#include "support/TestFiles.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <atomic>
#include <functional>
#include <thread>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

using lq::ConfinedFolder;

namespace {

class ConfinedFolderTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(work.isValid()); }

    // A new root holding "real/a.txt", a link "outlink" to the folder
    // outside, a link "lastlink" to its secret, a dangling link "dangling"
    // and a pipe "fifo".
    std::shared_ptr<ConfinedFolder> makeRoot(const QString& name)
    {
        const QString root = work.filePath(name);
        writeAll(root + QStringLiteral("/real/a.txt"), "inside");
        link(outside.path(), root + QStringLiteral("/outlink"));
        link(outside.filePath(QStringLiteral("secret.txt")), root + QStringLiteral("/lastlink"));
        link(work.filePath(QStringLiteral("nowhere")), root + QStringLiteral("/dangling"));
        EXPECT_EQ(::mkfifo(QFile::encodeName(root + QStringLiteral("/fifo")).constData(), 0644), 0);
        QString why;
        auto folder = ConfinedFolder::open(root, &why);
        EXPECT_NE(folder, nullptr) << why.toStdString();
        return folder;
    }

    static void link(const QString& target, const QString& at)
    {
        ASSERT_TRUE(QFile::link(target, at)) << at.toStdString();
    }

    static bool isLink(const QString& path)
    {
        struct stat status {};
        return ::lstat(QFile::encodeName(path).constData(), &status) == 0 && S_ISLNK(status.st_mode);
    }

    QTemporaryDir work;
    OutsideTree outside { work.filePath(QStringLiteral("outside")) };
};

TEST_F(ConfinedFolderTest, NoNameOrLinkLeadsAnOperationOutside)
{
    using Operation = std::function<bool(ConfinedFolder&, QString*)>;
    struct Case {
        const char* what;
        Operation operation;
        bool succeeds;
        const char* reason; // a part of the refusal
    };
    const QString absoluteSecret = outside.filePath(QStringLiteral("secret.txt"));
    const QString privateCopy = work.filePath(QStringLiteral("private-copy"));
    const auto read = [](const QString& name) {
        return [name](ConfinedFolder& folder, QString* why) { return folder.readFile(name, -1, why).has_value(); };
    };
    const auto write = [](const QString& name) {
        return [name](ConfinedFolder& folder, QString* why) { return folder.writeFileAtomically(name, "written", why); };
    };
    const Case cases[] = {
        { "reading through \"..\"", read(QStringLiteral("../outside/secret.txt")), false, "\"..\", which is never followed" },
        { "reading a \"..\" deeper down", read(QStringLiteral("real/../../outside/secret.txt")), false, "\"..\"" },
        { "reading an absolute name", read(absoluteSecret), false, "absolute" },
        { "reading with an empty part", read(QStringLiteral("real//a.txt")), false, "empty part" },
        { "reading through a linked folder", read(QStringLiteral("outlink/secret.txt")), false, "outlink is a link, which is never followed" },
        { "reading a link", read(QStringLiteral("lastlink")), false, "lastlink is a link" },
        { "reading a dangling link", read(QStringLiteral("dangling")), false, "dangling is a link" },
        { "reading a pipe", read(QStringLiteral("fifo")), false, "no plain file" },
        { "writing through a linked folder", write(QStringLiteral("outlink/image1.jpg")), false, "outlink is a link" },
        { "writing through \"..\"", write(QStringLiteral("../outside/image1.jpg")), false, "\"..\"" },
        { "writing over a link replaces the link", write(QStringLiteral("lastlink")), true, "" },
        { "writing a new file at a dangling link",
            [](ConfinedFolder& folder, QString* why) { return folder.writeNewFile(QStringLiteral("dangling"), "new", why); }, false, "exists" },
        { "writing a new file through a linked folder",
            [](ConfinedFolder& folder, QString* why) { return folder.writeNewFile(QStringLiteral("outlink/new.txt"), "new", why); }, false, "outlink is a link" },
        { "making a folder through a linked folder",
            [](ConfinedFolder& folder, QString* why) { return folder.makeFolder(QStringLiteral("outlink/made"), why); }, false, "outlink is a link" },
        { "making a folder where a link is",
            [](ConfinedFolder& folder, QString* why) { return folder.makeFolder(QStringLiteral("lastlink"), why); }, false, "lastlink is a link" },
        { "making a folder below a dangling link",
            [](ConfinedFolder& folder, QString* why) { return folder.makeFolder(QStringLiteral("dangling/x"), why); }, false, "dangling is a link" },
        { "renaming out of a linked folder",
            [](ConfinedFolder& folder, QString* why) {
                return folder.rename(QStringLiteral("outlink/image1.jpg"), QStringLiteral("real/taken.jpg"), ConfinedFolder::Replace::Never, why);
            },
            false, "outlink is a link" },
        { "renaming into a linked folder",
            [](ConfinedFolder& folder, QString* why) {
                return folder.rename(QStringLiteral("real/a.txt"), QStringLiteral("outlink/image3.jpg"), ConfinedFolder::Replace::Always, why);
            },
            false, "outlink is a link" },
        { "renaming to \"..\"",
            [](ConfinedFolder& folder, QString* why) {
                return folder.rename(QStringLiteral("real/a.txt"), QStringLiteral("../outside/a.txt"), ConfinedFolder::Replace::Never, why);
            },
            false, "\"..\"" },
        { "removing through a linked folder",
            [](ConfinedFolder& folder, QString* why) { return folder.remove(QStringLiteral("outlink/image2.jpg"), why); }, false, "outlink is a link" },
        { "removing a linked folder removes the link",
            [](ConfinedFolder& folder, QString* why) { return folder.remove(QStringLiteral("outlink"), why); }, true, "" },
        { "removing \"..\"", [](ConfinedFolder& folder, QString* why) { return folder.remove(QStringLiteral(".."), why); }, false, "\"..\"" },
        { "removing the folder itself", [](ConfinedFolder& folder, QString* why) { return folder.remove(QString(), why); }, false, "the folder itself" },
        { "a mode through a link",
            [](ConfinedFolder& folder, QString* why) { return folder.setMode(QStringLiteral("lastlink"), 0666, why); }, false, "lastlink is a link" },
        { "a mode on a linked folder",
            [](ConfinedFolder& folder, QString* why) { return folder.setMode(QStringLiteral("outlink"), 0777, why); }, false, "outlink is a link" },
        { "a mode below a linked folder",
            [](ConfinedFolder& folder, QString* why) { return folder.setMode(QStringLiteral("outlink/inner"), 0777, why); }, false, "outlink is a link" },
        { "listing a linked folder",
            [](ConfinedFolder& folder, QString* why) { return folder.list(QStringLiteral("outlink"), why).has_value(); }, false, "outlink is a link" },
        { "copying from a linked folder",
            [](ConfinedFolder& folder, QString* why) { return folder.copyTo(QStringLiteral("outlink/secret.txt"), folder, QStringLiteral("real/copy"), why); },
            false, "outlink is a link" },
        { "copying into a linked folder",
            [](ConfinedFolder& folder, QString* why) { return folder.copyTo(QStringLiteral("real/a.txt"), folder, QStringLiteral("outlink/copy.txt"), why); },
            false, "outlink is a link" },
        { "copying a link out",
            [&](ConfinedFolder& folder, QString* why) { return folder.copyOut(QStringLiteral("lastlink/x"), privateCopy, why); }, false, "lastlink is a link" },
        { "opening a linked folder as a root",
            [](ConfinedFolder& folder, QString* why) { return folder.folder(QStringLiteral("outlink"), why) != nullptr; }, false, "outlink is a link" },
        { "syncing a linked folder",
            [](ConfinedFolder& folder, QString* why) { return folder.sync(QStringLiteral("outlink"), why); }, false, "outlink is a link" },
        // "hardlink" is a second name of the outside secret.
        { "a mode on a file with another link",
            [](ConfinedFolder& folder, QString* why) { return folder.setMode(QStringLiteral("hardlink"), 0666, why); }, false,
            "hardlink: it has another link, which is never written through" },
        { "a mode on a pipe",
            [](ConfinedFolder& folder, QString* why) { return folder.setMode(QStringLiteral("fifo"), 0666, why); }, false, "neither a file nor a folder" },
        { "writing over a file with another link replaces the name",
            [](ConfinedFolder& folder, QString* why) { return folder.writeFileAtomically(QStringLiteral("hardlink"), "written", why, { .ownerOnly = true }); },
            true, "" },
        { "writing a new file where a file with another link is",
            [](ConfinedFolder& folder, QString* why) { return folder.writeNewFile(QStringLiteral("hardlink"), "new", why); }, false, "exists" },
        { "copying over a file with another link",
            [](ConfinedFolder& folder, QString* why) { return folder.copyTo(QStringLiteral("real/a.txt"), folder, QStringLiteral("hardlink"), why); },
            false, "exists" },
        { "removing a file with another link removes the name",
            [](ConfinedFolder& folder, QString* why) { return folder.remove(QStringLiteral("hardlink"), why); }, true, "" },
    };
    int number = 0;
    for (const Case& row : cases) {
        const std::shared_ptr<ConfinedFolder> folder = makeRoot(QStringLiteral("site%1").arg(++number));
        ASSERT_NE(folder, nullptr);
        ASSERT_EQ(::link(QFile::encodeName(outside.filePath(QStringLiteral("secret.txt"))).constData(),
                      QFile::encodeName(folder->pathOf(QStringLiteral("hardlink"))).constData()),
            0);
        QString why;
        QElapsedTimer clock;
        clock.start();
        EXPECT_EQ(row.operation(*folder, &why), row.succeeds) << row.what << ": " << why.toStdString();
        EXPECT_LT(clock.elapsed(), 1000) << row.what << ": nothing waits";
        if (!row.succeeds) {
            EXPECT_TRUE(why.contains(QString::fromUtf8(row.reason))) << row.what << ": " << why.toStdString();
            EXPECT_TRUE(why.startsWith(QStringLiteral("cannot "))) << row.what << ": " << why.toStdString();
        }
        EXPECT_TRUE(outside.isUnchanged()) << row.what;
        EXPECT_EQ(readAll(folder->pathOf(QStringLiteral("real/a.txt"))), "inside") << row.what;
    }
}

TEST_F(ConfinedFolderTest, TreesAreRemovedAndCopiedWithoutFollowingTheirLinks)
{
    const std::shared_ptr<ConfinedFolder> folder = makeRoot(QStringLiteral("site"));
    const QString tree = folder->pathOf(QStringLiteral("tree"));
    writeAll(tree + QStringLiteral("/one.txt"), "one");
    writeAll(tree + QStringLiteral("/sub/two.txt"), "two");
    ::chmod(QFile::encodeName(tree + QStringLiteral("/sub/two.txt")).constData(), 0600);
    link(outside.path(), tree + QStringLiteral("/sub/out"));
    link(outside.filePath(QStringLiteral("secret.txt")), tree + QStringLiteral("/secret"));
    link(work.filePath(QStringLiteral("nowhere")), tree + QStringLiteral("/dangling"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(tree + QStringLiteral("/sub/fifo")).constData(), 0644), 0);

    // A listing shows the links as links and never enters them.
    QString why;
    const auto listed = folder->list(QStringLiteral("tree"), &why, true);
    ASSERT_TRUE(listed) << why.toStdString();
    QStringList names;
    for (const ConfinedFolder::Entry& entry : *listed)
        names << entry.name + (entry.kind == ConfinedFolder::Kind::Link ? QStringLiteral(" (link)") : QString());
    EXPECT_EQ(names, QStringList({ QStringLiteral("dangling (link)"), QStringLiteral("one.txt"), QStringLiteral("secret (link)"),
                         QStringLiteral("sub"), QStringLiteral("sub/fifo"), QStringLiteral("sub/out (link)"), QStringLiteral("sub/two.txt") }));

    // A copy takes the files and folders with their modes, and leaves the links and the pipe out.
    ASSERT_TRUE(folder->copyTo(QStringLiteral("tree"), *folder, QStringLiteral("copy"), &why)) << why.toStdString();
    EXPECT_EQ(folder->names(QStringLiteral("copy"), true), QStringList({ QStringLiteral("one.txt"), QStringLiteral("sub"), QStringLiteral("sub/two.txt") }));
    EXPECT_EQ(readAll(folder->pathOf(QStringLiteral("copy/sub/two.txt"))), "two");
    EXPECT_EQ(unixMode(folder->pathOf(QStringLiteral("copy/sub/two.txt"))), 0600);
    // Nothing is copied over what is there.
    EXPECT_FALSE(folder->copyTo(QStringLiteral("tree"), *folder, QStringLiteral("copy"), &why));
    EXPECT_TRUE(why.contains(QStringLiteral("File exists"))) << why.toStdString();
    // Out to a private folder, and in again from one.
    const QString spare = work.filePath(QStringLiteral("spare"));
    ASSERT_TRUE(folder->copyOut(QStringLiteral("tree"), spare, &why)) << why.toStdString();
    EXPECT_FALSE(isLink(spare + QStringLiteral("/secret")));
    EXPECT_FALSE(QFileInfo::exists(spare + QStringLiteral("/sub/out")));
    ASSERT_TRUE(folder->copyIn(spare, QStringLiteral("back"), &why)) << why.toStdString();
    EXPECT_EQ(folder->names(QStringLiteral("back"), true), folder->names(QStringLiteral("copy"), true));

    // A removal removes the links and never what they point at.
    ASSERT_TRUE(folder->remove(QStringLiteral("tree"), &why)) << why.toStdString();
    EXPECT_FALSE(folder->exists(QStringLiteral("tree")));
    EXPECT_TRUE(folder->remove(QStringLiteral("tree"), &why)) << "nothing there counts as removed";
    EXPECT_TRUE(outside.isUnchanged());
}

TEST_F(ConfinedFolderTest, AWriteReplacesItsFileWholeOrLeavesItAsItWas)
{
    const std::shared_ptr<ConfinedFolder> folder = makeRoot(QStringLiteral("site"));
    QString why;
    ASSERT_TRUE(folder->makeFolder(QStringLiteral("a/b/c"), &why)) << why.toStdString();
    ASSERT_TRUE(folder->makeFolder(QStringLiteral("a/b/c"), &why)) << "a folder there counts as made";
    bool taken = false;
    EXPECT_FALSE(folder->makeNewFolder(QStringLiteral("a/b"), &why, &taken)) << "a new folder is new";
    EXPECT_TRUE(taken);
    ASSERT_TRUE(folder->writeNewFile(QStringLiteral("a/b/c/page.html"), "first", &why)) << why.toStdString();
    bool existed = false;
    EXPECT_FALSE(folder->writeNewFile(QStringLiteral("a/b/c/page.html"), "second", &why, &existed));
    EXPECT_TRUE(existed);
    ASSERT_TRUE(folder->setMode(QStringLiteral("a/b/c/page.html"), 0640, &why)) << why.toStdString();
    ASSERT_TRUE(folder->writeFileAtomically(QStringLiteral("a/b/c/page.html"), "replaced", &why)) << why.toStdString();
    EXPECT_EQ(readAll(folder->pathOf(QStringLiteral("a/b/c/page.html"))), "replaced");
    EXPECT_EQ(unixMode(folder->pathOf(QStringLiteral("a/b/c/page.html"))), 0640) << "a replaced file keeps its mode";
    ASSERT_TRUE(folder->writeFileAtomically(QStringLiteral("a/b/c/page.html"), "private", &why, { .ownerOnly = true, .durable = true }));
    EXPECT_EQ(unixMode(folder->pathOf(QStringLiteral("a/b/c/page.html"))), 0600);
    // A folder is never replaced by a file.
    EXPECT_FALSE(folder->writeFileAtomically(QStringLiteral("a/b"), "file", &why));
    EXPECT_TRUE(why.contains(QStringLiteral("Is a directory"))) << why.toStdString();
    EXPECT_TRUE(folder->isFolder(QStringLiteral("a/b")));
    // Renames: never over what is there unless asked; an exchange trades places.
    ASSERT_TRUE(folder->writeNewFile(QStringLiteral("a/other.html"), "other", &why));
    EXPECT_FALSE(folder->rename(QStringLiteral("a/other.html"), QStringLiteral("a/b/c/page.html"), ConfinedFolder::Replace::Never, &why));
    ASSERT_TRUE(folder->rename(QStringLiteral("a/other.html"), QStringLiteral("a/b/c/page.html"), ConfinedFolder::Replace::Exchange, &why));
    EXPECT_EQ(readAll(folder->pathOf(QStringLiteral("a/b/c/page.html"))), "other");
    EXPECT_EQ(readAll(folder->pathOf(QStringLiteral("a/other.html"))), "private");
    EXPECT_TRUE(folder->sync(QStringLiteral("a/other.html"), &why)) << why.toStdString();
    EXPECT_TRUE(folder->sync(QString(), &why)) << why.toStdString();
    // Only the written entries are there: no temporary file is left.
    EXPECT_EQ(folder->names(QStringLiteral("a"), true),
        QStringList({ QStringLiteral("b"), QStringLiteral("b/c"), QStringLiteral("b/c/page.html"), QStringLiteral("other.html") }));
}

TEST_F(ConfinedFolderTest, AFullDiskFailsTheWriteAndKeepsTheOldFile)
{
    SmallFilesystem disk(512 * 1024);
    LQ_REQUIRE_MOUNTED(disk);
    QString why;
    const auto folder = ConfinedFolder::open(disk.path(), &why);
    ASSERT_NE(folder, nullptr) << why.toStdString();
    ASSERT_TRUE(folder->makeFolder(QStringLiteral("pictures"), &why));
    ASSERT_TRUE(folder->writeFileAtomically(QStringLiteral("pictures/image1.jpg"), "the old picture", &why));
    disk.fillLeaving(16 * 1024);
    EXPECT_FALSE(folder->writeFileAtomically(QStringLiteral("pictures/image1.jpg"), QByteArray(64 * 1024, 'x'), &why));
    EXPECT_TRUE(why.contains(QStringLiteral("pictures/image1.jpg: No space left on device"))) << why.toStdString();
    EXPECT_EQ(readAll(disk.filePath(QStringLiteral("pictures/image1.jpg"))), "the old picture");
    EXPECT_FALSE(folder->writeNewFile(QStringLiteral("pictures/image2.jpg"), QByteArray(64 * 1024, 'x'), &why));
    EXPECT_FALSE(folder->copyIn(disk.filePath(QStringLiteral(".filler")), QStringLiteral("pictures/filler"), &why));
    EXPECT_EQ(folder->names(QStringLiteral("pictures")), QStringList { QStringLiteral("image1.jpg") });
}

TEST_F(ConfinedFolderTest, AFolderSwappedForALinkMeanwhileLeadsNothingOutside)
{
    // A thread trades the folder "work" for a link to the folder outside
    // and back, as fast as it can, while writes, renames, new folders,
    // copies, modes and removals run into it: each either lands in the
    // real folder or is refused, and the folder outside never changes.
    const std::shared_ptr<ConfinedFolder> folder = makeRoot(QStringLiteral("site"));
    const QString root = folder->path();
    ASSERT_TRUE(QDir().mkdir(root + QStringLiteral("/work")));
    link(outside.path(), root + QStringLiteral("/swap"));
    std::atomic<bool> running { true };
    std::atomic<int> swaps { 0 };
    std::thread swapper([&] {
        const QByteArray work = QFile::encodeName(root + QStringLiteral("/work"));
        const QByteArray swap = QFile::encodeName(root + QStringLiteral("/swap"));
        while (running) {
            if (::renameat2(AT_FDCWD, work.constData(), AT_FDCWD, swap.constData(), RENAME_EXCHANGE) == 0)
                ++swaps;
        }
    });
    int landed = 0;
    for (int round = 0; round < 2000; ++round) {
        const QString name = QStringLiteral("work/image%1.jpg").arg(round % 5 + 1);
        const QString moved = QStringLiteral("work/moved%1").arg(round);
        folder->writeFileAtomically(name, "written by round " + QByteArray::number(round));
        folder->writeNewFile(QStringLiteral("work/new%1").arg(round), "new");
        folder->rename(name, moved, ConfinedFolder::Replace::Always);
        folder->makeFolder(QStringLiteral("work/folder%1/inner").arg(round));
        folder->copyIn(work.filePath(QStringLiteral("site/real/a.txt")), QStringLiteral("work/inner/copy%1").arg(round));
        folder->setMode(QStringLiteral("work/inner"), 0777);
        folder->setMode(QStringLiteral("work/secret.txt"), 0666);
        folder->remove(QStringLiteral("work/image%1.jpg").arg(round % 4 + 1));
        folder->remove(QStringLiteral("work/inner"));
        if (folder->remove(moved))
            ++landed;
    }
    running = false;
    swapper.join();
    EXPECT_GT(swaps.load(), 100) << "the folder was swapped while the work ran";
    EXPECT_GT(landed, 0) << "some of the work reached the real folder";
    EXPECT_TRUE(outside.isUnchanged());
}

TEST_F(ConfinedFolderTest, ToolsAreHandedWhatTheGatewayOpened)
{
    const std::shared_ptr<ConfinedFolder> folder = makeRoot(QStringLiteral("site"));
    QString why;
    lq::FileDescriptor file = folder->openForReading(QStringLiteral("real/a.txt"), &why);
    ASSERT_TRUE(file.isValid()) << why.toStdString();
    const std::shared_ptr<ConfinedFolder> real = folder->folder(QStringLiteral("real"), &why);
    ASSERT_NE(real, nullptr) << why.toStdString();
    // Once opened, the names are swapped: "real" now leads outside.
    const QString root = folder->path();
    ASSERT_TRUE(QDir().rename(root + QStringLiteral("/real"), root + QStringLiteral("/moved")));
    link(outside.path(), root + QStringLiteral("/real"));
    ASSERT_TRUE(QFile::copy(outside.filePath(QStringLiteral("secret.txt")), outside.filePath(QStringLiteral("a.txt"))));

    lq::ProcessOptions byDescriptor;
    byDescriptor.inheritedDescriptors = { file.get() };
    const lq::ProcessResult read = lq::runProcess(QStringLiteral("/bin/cat"), { file.procPath() }, byDescriptor);
    EXPECT_TRUE(read.succeeded()) << read.failureDetail(QStringLiteral("cat")).toStdString();
    EXPECT_EQ(read.output, "inside");
    lq::ProcessOptions inFolder;
    inFolder.workingDescriptor = real->descriptor();
    const lq::ProcessResult there = lq::runProcess(QStringLiteral("/bin/cat"), { QStringLiteral("a.txt") }, inFolder);
    EXPECT_TRUE(there.succeeded()) << there.failureDetail(QStringLiteral("cat")).toStdString();
    EXPECT_EQ(there.output, "inside");

    // A folder opened as a root of its own is a boundary of its own.
    EXPECT_FALSE(real->readFile(QStringLiteral("../lastlink"), -1, &why));
    EXPECT_EQ(real->readFile(QStringLiteral("a.txt"), -1).value_or(QByteArray()), "inside");
    EXPECT_FALSE(folder->readFile(QStringLiteral("real/a.txt"), -1, &why)) << "the name is looked up anew, and now it is a link";
    // Names given in full are taken below the root only.
    EXPECT_EQ(folder->nameOf(root + QStringLiteral("/moved/a.txt")), std::optional<QString>(QStringLiteral("moved/a.txt")));
    EXPECT_EQ(folder->nameOf(root), std::optional<QString>(QString()));
    EXPECT_EQ(folder->nameOf(root + QStringLiteral("x/a.txt")), std::nullopt);
    EXPECT_EQ(folder->readFile(QStringLiteral("moved/a.txt"), 3, &why), std::nullopt);
    EXPECT_TRUE(why.contains(QStringLiteral("more than"))) << why.toStdString();
}

} // namespace
