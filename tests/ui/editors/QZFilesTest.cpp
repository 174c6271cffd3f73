// The files pane over the site's "files" folder: new folders, renames the
// pane refuses with a message, files added from the open panel and dropped
// from a file manager with their folders, moves between folders, deletion
// from disk, opening with the system, and a file of another open site
// copied in.
#include "document/MyDocument.h"
#include "model/files/XmlFile.h"
#include "model/files/XmlFolder.h"
#include "platform/Workspace.h"
#include "support/ChildNames.h"
#include "support/LogCapture.h"
#include "support/OutsideTree.h"
#include "support/ui/SitePanes.h"

#include <QDir>
#include <QFileInfo>
#include <QTest>

#include <gtest/gtest.h>

namespace {

class QZFilesTest : public SitePanesTest {
protected:
    void SetUp() override
    {
        SitePanesTest::SetUp();
        choose(navOutline(), &files());
        ASSERT_EQ(window->lastEditView(), &filesPane());
    }
    XmlOutlineView& outline() { return *filesPane().outline(); }
    QString folder() { return files().fullname(); }
    static QStringList onDisk(const QString& path)
    {
        return QDir(path).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
    }
    // A file outside the site; its path.
    QString outside(const QString& name, const QByteArray& bytes = "text")
    {
        const QString path = sources.filePath(name);
        QDir().mkpath(QFileInfo(path).path());
        writeAll(path, bytes);
        return path;
    }
    // A file brought into the folder of the tree; its element.
    std::shared_ptr<XmlFile> fileIn(XmlFiles& into, const QString& name, const QByteArray& bytes = "text")
    {
        EXPECT_TRUE(into.importFilename(outside(name, bytes)));
        outline().reloadData();
        return into.fileWithName(name);
    }
    // Types the name into the element's row, as a user renames it.
    void rename(XmlBase* element, const QString& name)
    {
        outline().expandObject(element->parent());
        ItemModelAdaptor* model = outline().adaptor();
        ASSERT_TRUE(model->setData(rowOf(outline(), element), name, Qt::EditRole));
        QCoreApplication::processEvents();
    }
    // Where a drop lands in the files root, below every row.
    QPoint belowTheRows() { return QPoint(30, outline().viewport()->height() - 4); }
    QString lastAlert() const { return modal.state->alerts.isEmpty() ? QString() : modal.state->alerts.last().title + QStringLiteral(" / ") + modal.state->alerts.last().message; }
};

TEST_F(QZFilesTest, NewFoldersAndRenamesTheFolderRefusesAreTold)
{
    filesPane().addFolder();
    filesPane().addFolder();
    EXPECT_EQ(onDisk(folder()), (QStringList { "untitled folder", "untitled folder 2" }));
    EXPECT_EQ(childNames(files()), (QStringList { "untitled folder", "untitled folder 2" }));
    const auto text = fileIn(files(), QStringLiteral("a.txt"));
    const auto sub = XmlFolder::cast(files().childAtIndex(0).get())->sharedFromThis();

    struct Refusal {
        const char* what;
        XmlBase* element;
        QString name;
        QString reason;
    };
    const std::vector<Refusal> refusals {
        { "out of the folder", text.get(), QStringLiteral("../x"), QStringLiteral("cannot hold \"/\"") },
        { "a name taken by a folder", text.get(), QStringLiteral("untitled folder"), QStringLiteral("already holds an item named \"untitled folder\"") },
        { "an empty folder name", sub.get(), QString(), QStringLiteral("cannot be empty") },
        { "a folder name taken", sub.get(), QStringLiteral("a.txt"), QStringLiteral("already holds") },
    };
    const QStringList disk = onDisk(folder());
    const QStringList above = onDisk(site().rootDir());
    for (const Refusal& r : refusals) {
        const int alerts = modal.state->alerts.size();
        rename(r.element, r.name);
        ASSERT_EQ(modal.state->alerts.size(), alerts + 1) << r.what;
        EXPECT_TRUE(lastAlert().contains(r.reason)) << r.what << ": " << lastAlert().toStdString();
        EXPECT_TRUE(lastAlert().contains(QStringLiteral("\"") + r.name + QStringLiteral("\""))) << r.what;
        EXPECT_EQ(onDisk(folder()), disk) << r.what;
        EXPECT_EQ(onDisk(site().rootDir()), above) << r.what;
        EXPECT_EQ(childNames(files()), (QStringList { "untitled folder", "untitled folder 2", "a.txt" })) << r.what;
    }

    // Names that can be given are given, on disk and in the tree.
    const int alerts = modal.state->alerts.size();
    rename(text.get(), QStringLiteral("b.txt"));
    rename(sub.get(), QStringLiteral("photos"));
    rename(text.get(), QStringLiteral("b.txt"));
    EXPECT_EQ(modal.state->alerts.size(), alerts) << "the same name again is no refusal";
    EXPECT_EQ(onDisk(folder()), (QStringList { "b.txt", "photos", "untitled folder 2" }));
    EXPECT_EQ(rowNames(outline()), (QStringList { "photos", "untitled folder 2", "b.txt" }));
    // Names that can be edited are drawn in black, beside their icons.
    const QModelIndex row = rowOf(outline(), text.get());
    EXPECT_EQ(row.data(Qt::ForegroundRole).value<QColor>(), QColor(Qt::black));
    EXPECT_FALSE(row.data(Qt::DecorationRole).value<QImage>().isNull());
    EXPECT_TRUE(outline().adaptor()->flags(row) & Qt::ItemIsEditable);
}

TEST_F(QZFilesTest, AddedFilesGoIntoTheChosenFolder)
{
    filesPane().addFolder();
    const auto sub = files().folderWithName(QStringLiteral("untitled folder"));
    const auto inside = fileIn(*sub, QStringLiteral("inside.txt"));
    const QString source = outside(QStringLiteral("new.txt"), "new");

    struct Case {
        const char* what;
        XmlBase* chosen;
        QString expected;
    };
    const std::vector<Case> cases {
        { "nothing chosen: the files root", nullptr, folder() },
        { "a folder chosen: into it", sub.get(), sub->fullname() },
        { "a file of a folder chosen: into that folder", inside.get(), sub->fullname() },
    };
    modal.state->panelAnswer = source;
    for (const Case& c : cases) {
        if (c.chosen)
            choose(outline(), c.chosen);
        else
            outline().selectionModel()->clearSelection();
        filesPane().addFile();
        EXPECT_EQ(readAll(c.expected + QStringLiteral("/new.txt")), QByteArray("new")) << c.what;
        QFile::remove(c.expected + QStringLiteral("/new.txt"));
    }
    const lq::FilePanelRequest& request = modal.state->panels.first();
    EXPECT_EQ(request.title, QStringLiteral("Add File to Site"));
    EXPECT_EQ(request.prompt, QStringLiteral("Add File:"));
    EXPECT_EQ(request.nameFieldLabel, QStringLiteral("Add File:"));
    EXPECT_EQ(request.folder, QDir::homePath());
    EXPECT_FALSE(request.chooseFolder);
    EXPECT_TRUE(modal.state->alerts.isEmpty());

    // Cancelled: nothing. Not a file: told.
    modal.state->panelAnswer.clear();
    filesPane().addFile();
    modal.state->panelAnswer = sources.path();
    filesPane().addFile();
    ASSERT_EQ(modal.state->alerts.size(), 1);
    EXPECT_TRUE(lastAlert().contains(QStringLiteral("could not be added"))) << lastAlert().toStdString();
    EXPECT_EQ(onDisk(sub->fullname()), QStringList { "inside.txt" });

    // A new folder always goes into the files root.
    choose(outline(), sub.get());
    filesPane().addFolder();
    EXPECT_EQ(onDisk(folder()), (QStringList { "untitled folder", "untitled folder 2" }));
}

TEST_F(QZFilesTest, FoldersDroppedFromAFileManagerKeepTheirShape)
{
    outside(QStringLiteral("photos/a.jpg"), jpegBytes(20, 10));
    outside(QStringLiteral("photos/sub/b.jpg"), jpegBytes(10, 20));
    const QString loose = outside(QStringLiteral("loose.txt"));
    EXPECT_TRUE(dropFiles(outline(), { sources.filePath(QStringLiteral("photos")), loose }, belowTheRows()).accepted);
    EXPECT_EQ(onDisk(folder()), (QStringList { "loose.txt", "photos" }));
    EXPECT_EQ(onDisk(folder() + QStringLiteral("/photos")), (QStringList { "a.jpg", "sub" }));
    EXPECT_EQ(onDisk(folder() + QStringLiteral("/photos/sub")), QStringList { "b.jpg" });
    const auto photos = files().folderWithName(QStringLiteral("photos"));
    EXPECT_EQ(childNames(*photos), (QStringList { "a.jpg", "sub" }));
    EXPECT_EQ(childNames(*photos->folderWithName(QStringLiteral("sub"))), QStringList { "b.jpg" });
    EXPECT_EQ(readAll(folder() + QStringLiteral("/photos/sub/b.jpg")), jpegBytes(10, 20));
    EXPECT_TRUE(modal.state->alerts.isEmpty());
}

TEST_F(QZFilesTest, FilesMoveBetweenFoldersOnDiskAndInTheTree)
{
    const auto docs = files().folderWithName(QStringLiteral("docs"));
    fileIn(*docs, QStringLiteral("x.txt"), "inside");
    const auto x = fileIn(files(), QStringLiteral("x.txt"), "outside");
    const auto y = fileIn(files(), QStringLiteral("y.txt"));
    const auto z = fileIn(files(), QStringLiteral("z.txt"));
    const auto other = files().folderWithName(QStringLiteral("other"));
    outline().reloadData();
    ASSERT_EQ(childNames(files()), (QStringList { "docs", "x.txt", "y.txt", "z.txt", "other" }));

    // Onto a folder holding a file of that name: nothing moves, and the user is told.
    EXPECT_FALSE(dropElement(outline(), *x, rectOf(outline(), docs.get()).center()).accepted);
    EXPECT_EQ(readAll(folder() + QStringLiteral("/x.txt")), QByteArray("outside"));
    EXPECT_EQ(readAll(docs->fullname() + QStringLiteral("/x.txt")), QByteArray("inside"));
    EXPECT_TRUE(lastAlert().contains(QStringLiteral("already holds"))) << lastAlert().toStdString();
    // A folder does not move.
    EXPECT_FALSE(dropElement(outline(), *other, rectOf(outline(), docs.get()).center()).accepted);
    EXPECT_EQ(other->parent(), &files());

    // Within its folder: from index 1 to the gap before index 3 lands at 2.
    EXPECT_TRUE(dropElement(outline(), *x, gapAbove(outline(), z.get())).accepted);
    EXPECT_EQ(childNames(files()), (QStringList { "docs", "y.txt", "x.txt", "z.txt", "other" }));
    // Into another folder.
    EXPECT_TRUE(dropElement(outline(), *y, rectOf(outline(), other.get()).center()).accepted);
    EXPECT_EQ(onDisk(other->fullname()), QStringList { "y.txt" });
    EXPECT_FALSE(QFileInfo::exists(folder() + QStringLiteral("/y.txt")));
    EXPECT_EQ(y->parent(), other.get());

    // A file gone from disk meanwhile cannot move: the tree keeps it, and the user is told.
    ASSERT_TRUE(QFile::remove(z->fullname()));
    const int alerts = modal.state->alerts.size();
    EXPECT_FALSE(dropElement(outline(), *z, rectOf(outline(), docs.get()).center()).accepted);
    EXPECT_EQ(z->parent(), &files());
    ASSERT_EQ(modal.state->alerts.size(), alerts + 1);
    EXPECT_TRUE(lastAlert().contains(QStringLiteral("could not be moved"))) << lastAlert().toStdString();
}

// A move never leads outside the site: a folder of the files that has
// become a link to an outside folder (one holding a file of the moved
// file's name too) receives nothing, the file stays where it was, and the
// user is told why.
TEST_F(QZFilesTest, AMoveNeverGoesThroughALink)
{
    const OutsideTree outside(sources.filePath(QStringLiteral("outside")));
    const auto other = files().folderWithName(QStringLiteral("other"));
    struct Case {
        const char* what;
        QString name; // the moved file's name
    };
    const std::vector<Case> cases {
        { "a name the outside folder lacks", QStringLiteral("moved.txt") },
        { "a name the outside folder holds", QStringLiteral("image1.jpg") },
    };
    const QString linked = other->fullname();
    ASSERT_TRUE(QDir(linked).removeRecursively());
    ASSERT_TRUE(QFile::link(outside.path(), linked));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const auto file = fileIn(files(), c.name, "inside");
        const int alerts = modal.state->alerts.size();
        EXPECT_FALSE(dropElement(outline(), *file, rectOf(outline(), other.get()).center()).accepted);
        EXPECT_TRUE(outside.isUnchanged());
        EXPECT_EQ(file->parent(), &files());
        EXPECT_EQ(readAll(folder() + QLatin1Char('/') + c.name), QByteArray("inside"));
        ASSERT_EQ(modal.state->alerts.size(), alerts + 1);
        EXPECT_TRUE(lastAlert().contains(QStringLiteral("link"))) << lastAlert().toStdString();
    }
}

TEST_F(QZFilesTest, TheDeleteKeyDeletesFromDiskOnceConfirmed)
{
    const auto docs = files().folderWithName(QStringLiteral("docs"));
    fileIn(*docs, QStringLiteral("inside.txt"));
    const auto loose = fileIn(files(), QStringLiteral("loose.txt"));
    outline().reloadData();

    modal.state->alertAnswer = 1;
    choose(outline(), docs.get());
    QTest::keyClick(&outline(), Qt::Key_Delete);
    EXPECT_EQ(docs->parent(), &files()) << "cancelled";
    EXPECT_TRUE(QFileInfo::exists(docs->fullname() + QStringLiteral("/inside.txt")));

    modal.state->alertAnswer = 0;
    QTest::keyClick(&outline(), Qt::Key_Delete);
    EXPECT_EQ(onDisk(folder()), QStringList { "loose.txt" });
    EXPECT_EQ(childNames(files()), QStringList { "loose.txt" });
    EXPECT_EQ(modal.state->alerts.last().buttons, (QStringList { "Delete", "Cancel" }));

    // An element the tree cannot name on disk is kept, and the user is told.
    auto stray = XmlFile::create();
    stray->setFilename(QStringLiteral("nested/name.txt"));
    files().addChild(stray);
    outline().reloadData();
    choose(outline(), stray.get());
    QTest::keyClick(&outline(), Qt::Key_Delete);
    EXPECT_EQ(stray->parent(), &files());
    EXPECT_TRUE(lastAlert().contains(QStringLiteral("could not be deleted"))) << lastAlert().toStdString();
    EXPECT_TRUE(QFileInfo::exists(loose->fullname()));
}

TEST_F(QZFilesTest, OpeningUsesTheSystemWithTheFilesAddress)
{
    const auto file = fileIn(files(), QStringLiteral("page one.html"));
    QList<QUrl> opened;
    bool answer = true;
    lq::setOpenURLHandler([&](const QUrl& url) {
        opened.append(url);
        return answer;
    });
    LogCapture log;
    outline().selectionModel()->clearSelection();
    filesPane().openFile();
    EXPECT_TRUE(opened.isEmpty());
    EXPECT_TRUE(log.lines.contains(QStringLiteral("Open: no file is selected")));

    choose(outline(), file.get());
    filesPane().openFile();
    ASSERT_EQ(opened.size(), 1);
    EXPECT_EQ(opened.first(), QUrl::fromLocalFile(folder() + QStringLiteral("/page one.html")));
    answer = false;
    filesPane().openFile();
    EXPECT_TRUE(lastAlert().contains(QStringLiteral("could not be opened"))) << lastAlert().toStdString();
    lq::setOpenURLHandler({});
}

TEST_F(QZFilesTest, AFileOfAnotherOpenSiteIsCopiedIn)
{
    MyDocument other;
    ASSERT_TRUE(other.newDocument(work.filePath(QStringLiteral("Other.lqxl"))));
    XmlFiles& theirs = *other.site()->files();
    QDir().mkpath(theirs.fullname());
    ASSERT_TRUE(theirs.importFilename(outside(QStringLiteral("shared.txt"), "shared")));
    const auto file = theirs.fileWithName(QStringLiteral("shared.txt"));

    const DragAnswer answer = dropElement(outline(), *file, belowTheRows());
    EXPECT_TRUE(answer.accepted);
    EXPECT_EQ(answer.action, Qt::CopyAction);
    EXPECT_EQ(readAll(folder() + QStringLiteral("/shared.txt")), QByteArray("shared"));
    EXPECT_EQ(childNames(files()), QStringList { "shared.txt" });
    EXPECT_EQ(file->parent(), &theirs) << "the other site keeps its file";
    EXPECT_EQ(readAll(theirs.fullname() + QStringLiteral("/shared.txt")), QByteArray("shared"));

    // A file element of no site at all is refused.
    auto loose = XmlFile::create();
    loose->setFilename(outside(QStringLiteral("loose.txt")));
    EXPECT_FALSE(dropElement(outline(), *loose, belowTheRows()).accepted);
    EXPECT_EQ(childNames(files()), QStringList { "shared.txt" });
}

} // namespace
