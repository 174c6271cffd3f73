// The files pane over a site whose "files" folder, or a folder below it,
// became a link to a folder outside the site after the pane listed it: each
// of the pane's commands (add, rename, move in and out, delete), driven as a
// user drives them, leaves the outside folder byte for byte and mode for
// mode as it was, keeps the tree as it was, and tells the user which folder
// is a link.
#include "model/files/XmlFile.h"
#include "model/files/XmlFolder.h"
#include "support/OutsideTree.h"
#include "support/ui/SitePanes.h"

#include <QDir>
#include <QFileInfo>
#include <QTest>

#include <gtest/gtest.h>

namespace {

enum class Command { Add, Rename, MoveIn, MoveOut, Delete };

struct PaneRow {
    const char* what;
    const char* linked; // below the site folder
    Command command;
};

const PaneRow paneRows[] = {
    { "add into the files", "files", Command::Add },
    { "rename in the files", "files", Command::Rename },
    { "move within the files", "files", Command::MoveIn },
    { "delete in the files", "files", Command::Delete },
    { "add into a folder", "files/sub", Command::Add },
    { "rename in a folder", "files/sub", Command::Rename },
    { "move into a folder", "files/sub", Command::MoveIn },
    { "move out of a folder", "files/sub", Command::MoveOut },
    { "delete in a folder", "files/sub", Command::Delete },
};

class QZFilesLinkedFolderTest : public SitePanesTest, public ::testing::WithParamInterface<PaneRow> {
protected:
    void SetUp() override
    {
        SitePanesTest::SetUp();
        if (HasFatalFailure())
            return;
        choose(navOutline(), &files());
        // The user's files as the pane shows them: a folder with a file,
        // another folder, a loose file.
        sub = files().folderWithName(QStringLiteral("sub"));
        other = files().folderWithName(QStringLiteral("other"));
        ASSERT_TRUE(sub && other);
        ASSERT_TRUE(sub->importFilename(source(QStringLiteral("notes.txt"))));
        notes = sub->fileWithName(QStringLiteral("notes.txt"));
        ASSERT_TRUE(files().importFilename(source(QStringLiteral("loose.txt"))));
        loose = files().fileWithName(QStringLiteral("loose.txt"));
        outline().reloadData();
    }

    XmlOutlineView& outline() { return *filesPane().outline(); }

    QString source(const QString& name)
    {
        const QString path = sources.filePath(name);
        writeAll(path, "the user's " + name.toUtf8());
        return path;
    }

    QString lastAlert() const
    {
        return modal.state->alerts.isEmpty() ? QString() : modal.state->alerts.last().title + QStringLiteral(" / ") + modal.state->alerts.last().message;
    }

    std::shared_ptr<XmlFolder> sub;
    std::shared_ptr<XmlFolder> other;
    std::shared_ptr<XmlFile> notes;
    std::shared_ptr<XmlFile> loose;
};

TEST_P(QZFilesLinkedFolderTest, NothingReachesThroughTheLinkAndTheUserIsTold)
{
    const PaneRow& row = GetParam();
    const OutsideTree outside(sources.filePath(QStringLiteral("outside")));
    const QString linked = site().rootDir() + QLatin1Char('/') + QLatin1String(row.linked);
    ASSERT_TRUE(QDir(linked).removeRecursively());
    ASSERT_TRUE(QFile::link(outside.path(), linked));
    // The file a command works on lies in the linked folder, or is moved into it.
    XmlFile& file = row.command == Command::MoveIn && QLatin1String(row.linked) == QLatin1String("files/sub") ? *loose
        : QLatin1String(row.linked) == QLatin1String("files/sub")                                             ? *notes
                                                                                                               : *loose;
    XmlBase* const parent = file.parent();
    const int alerts = modal.state->alerts.size();

    switch (row.command) {
    case Command::Add:
        // A file of the name of one outside.
        modal.state->panelAnswer = source(QStringLiteral("image1.jpg"));
        if (QLatin1String(row.linked) == QLatin1String("files/sub"))
            choose(outline(), sub.get());
        else
            outline().selectionModel()->clearSelection();
        filesPane().addFile();
        break;
    case Command::Rename: {
        outline().expandObject(file.parent());
        ASSERT_TRUE(outline().adaptor()->setData(rowOf(outline(), &file), QStringLiteral("image2.jpg"), Qt::EditRole));
        QCoreApplication::processEvents();
        break;
    }
    case Command::MoveIn:
        outline().expandObject(sub.get());
        EXPECT_FALSE(dropElement(outline(), file, rectOf(outline(), (QLatin1String(row.linked) == QLatin1String("files/sub") ? sub : other).get()).center()).accepted);
        break;
    case Command::MoveOut:
        outline().expandObject(sub.get());
        EXPECT_FALSE(dropElement(outline(), file, rectOf(outline(), other.get()).center()).accepted);
        break;
    case Command::Delete:
        modal.state->alertAnswer = 0;
        choose(outline(), &file);
        QTest::keyClick(&outline(), Qt::Key_Delete);
        break;
    }

    EXPECT_TRUE(outside.isUnchanged());
    EXPECT_EQ(file.parent(), parent) << "the tree keeps the file where it was";
    ASSERT_GT(modal.state->alerts.size(), alerts) << "the user is told";
    EXPECT_TRUE(lastAlert().contains(QLatin1String(row.linked) + QStringLiteral(" is a link"))) << lastAlert().toStdString();
}

INSTANTIATE_TEST_SUITE_P(EveryCommand, QZFilesLinkedFolderTest, ::testing::ValuesIn(paneRows),
    [](const ::testing::TestParamInfo<PaneRow>& info) {
        std::string name;
        for (const char c : std::string(info.param.what))
            name += std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
        return name;
    });

} // namespace
