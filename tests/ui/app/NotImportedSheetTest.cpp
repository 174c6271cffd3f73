// "Add Photos…" and picture files dropped on a page tell, in one sheet once
// the import has ended, which files were left out and why: a text file
// named like a picture, a JPEG cut short (refused whole: it would come in
// half grey), a pipe, and a file gone between choosing and reading. The
// whole pictures among them come in as photos; the sheet closes with its
// button, Return or Escape.
#include "ui/app/NotImportedSheet.h"
#include "ui/editors/QZArraySelectView2.h"
#include "ui/editors/panes/QZAlbumEditor.h"
#include "platform/FileHelpers.h"
#include "ui/widgets/MyButton.h"
#include "support/ChildNames.h"
#include "support/TestPictures.h"
#include "support/ui/DropEvents.h"
#include "support/ui/LeftOutFiles.h"
#include "support/ui/PaneWindow.h"
#include "support/ui/ShownText.h"
#include "support/ui/SitePanes.h"
#include "support/ui/ViewMouse.h"

#include <QFileInfo>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>

#include <gtest/gtest.h>

namespace {

// The three ways a user closes the sheet.
enum class Closing { OkButton, Return, Escape };

// What a sheet showed: its heading and, per row, the file and the problem.
struct ShownSheet {
    QString heading;
    QList<QStringList> rows;
    int answer = -1;
};

ShownSheet readSheet(QDialog* dialog)
{
    ShownSheet shown;
    auto* sheet = dynamic_cast<NotImportedSheet*>(dialog);
    EXPECT_NE(sheet, nullptr) << "another sheet: " << dialog->windowTitle().toStdString();
    if (!sheet)
        return shown;
    shown.heading = sheet->heading()->text();
    for (int row = 0; row < sheet->list()->topLevelItemCount(); ++row) {
        const QTreeWidgetItem* item = sheet->list()->topLevelItem(row);
        shown.rows.append({ item->text(0), item->text(1) });
    }
    return shown;
}

class NotImportedSheetTest : public PaneWindowTest {
protected:
    void SetUp() override
    {
        PaneWindowTest::SetUp();
        show(album.get());
        modal.state->sheetAnswer = [this](QDialog* dialog) {
            ShownSheet shown = readSheet(dialog);
            shown.answer = closing ? close(dialog, *closing) : 1;
            sheets.append(shown);
            return shown.answer;
        };
    }
    QZAlbumEditor* editor() const { return pane<QZAlbumEditor>(EditorKind::Album); }
    // Runs the import to its end and lets the window tell what it left out.
    void finishImport()
    {
        drainQueue();
        QApplication::processEvents();
        QApplication::processEvents();
    }
    // Closes the shown sheet as the user does; its answer, or -1 while it
    // stays open.
    static int close(QDialog* dialog, Closing how)
    {
        auto* sheet = dynamic_cast<NotImportedSheet*>(dialog);
        if (!sheet)
            return -1;
        sheet->show();
        QWidget* focus = sheet->focusWidget() ? sheet->focusWidget() : sheet;
        switch (how) {
        case Closing::OkButton: QTest::mouseClick(sheet->okButton(), Qt::LeftButton); break;
        case Closing::Return: QTest::keyClick(focus, Qt::Key_Return); break;
        case Closing::Escape: QTest::keyClick(focus, Qt::Key_Escape); break;
        }
        const int answer = sheet->isVisible() ? -1 : sheet->result();
        sheet->hide();
        return answer;
    }
    QStringList picturesInSite() const { return lq::folderEntries(document.fileName() + QStringLiteral("/pictures")); }

    std::optional<Closing> closing;
    QList<ShownSheet> sheets;
};

TEST_F(NotImportedSheetTest, AddPhotosTellsInOneSheetWhichFilesWereLeftOutAndWhy)
{
    struct Case {
        const char* what;
        Closing closing;
        int answer;   // what the sheet ends with; closed in every case
    };
    const Case cases[] = { { "OK button", Closing::OkButton, 1 }, { "Return", Closing::Return, 1 }, { "Escape", Closing::Escape, 0 } };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        QTemporaryDir chosen;
        LeftOutFiles files(chosen.path());
        closing = c.closing;
        sheets.clear();
        const QStringList before = picturesInSite();
        const int photos = album->numberPhotos();

        modal.state->filesPanelAnswer = files.all();
        click(*editor()->addPhotosButton(), editor()->addPhotosButton()->rect().center());
        files.vanish();
        finishImport();

        ASSERT_EQ(sheets.size(), 1) << "one sheet after the import";
        EXPECT_EQ(sheets[0].heading, QStringLiteral("4 of the 6 files were not imported:"));
        EXPECT_EQ(sheets[0].rows, LeftOutFiles::expectedRows());
        EXPECT_EQ(sheets[0].answer, c.answer) << "closed";
        // The whole pictures came in; nothing of the others, no half picture.
        EXPECT_EQ(childNames(*album).mid(photos), (QStringList { "Anchor", "Beach" }));
        EXPECT_EQ(picturesInSite().size(), before.size() + 2);
        EXPECT_TRUE(document.activityText().contains(QStringLiteral("Not imported: ") + files.path("Cut.jpg") + QStringLiteral(": damaged")))
            << document.activityText().toStdString();
    }

    // An import with nothing left out shows no sheet.
    QTemporaryDir chosen;
    LeftOutFiles files(chosen.path());
    sheets.clear();
    modal.state->filesPanelAnswer = { files.path("Anchor.jpg"), files.path("Beach.png") };
    click(*editor()->addPhotosButton(), editor()->addPhotosButton()->rect().center());
    finishImport();
    EXPECT_TRUE(sheets.isEmpty());
}

TEST_F(NotImportedSheetTest, FilesDroppedOnThePhotosAreToldTheSame)
{
    QTemporaryDir chosen;
    LeftOutFiles files(chosen.path());
    const int photos = album->numberPhotos();
    QZArraySelectView2* grid = editor()->arrayView();
    const std::unique_ptr<QMimeData> data = fileManagerData(files.all());
    ASSERT_TRUE(dragAndDrop(grid, data.get(), QPointF(30, 30), Qt::CopyAction | Qt::MoveAction).accepted);
    files.vanish();
    finishImport();

    ASSERT_EQ(sheets.size(), 1);
    EXPECT_EQ(sheets[0].rows, LeftOutFiles::expectedRows());
    EXPECT_EQ(childNames(*album).mid(photos), (QStringList { "Anchor", "Beach" }));
}

// The navigator imports the files of a drop on a page at its start, last
// file first: the sheet still lists them by name, once.
class NotImportedFromTheNavigatorTest : public SitePanesTest {
};

TEST_F(NotImportedFromTheNavigatorTest, FilesDroppedOnAPageRowAreToldTheSame)
{
    QList<ShownSheet> sheets;
    modal.state->sheetAnswer = [&](QDialog* dialog) {
        sheets.append(readSheet(dialog));
        return 1;
    };
    QTemporaryDir chosen;
    LeftOutFiles files(chosen.path());
    window->updateNavEditor();
    ASSERT_TRUE(dropFiles(navOutline(), files.all(), rectOf(navOutline(), album.get()).center()).accepted);
    files.vanish();
    drainQueue();
    QApplication::processEvents();
    QApplication::processEvents();

    ASSERT_EQ(sheets.size(), 1);
    EXPECT_EQ(sheets[0].heading, QStringLiteral("4 of the 6 files were not imported:"));
    EXPECT_EQ(sheets[0].rows, LeftOutFiles::expectedRows());
    EXPECT_EQ(childNames(*album), (QStringList { "Anchor", "Beach" }));
}

} // namespace

TEST_F(NotImportedSheetTest, FileNamesHoldingMarkupAreShownAsWritten)
{
    QTemporaryDir chosen;
    QStringList paths;
    for (const char* name : { "<b>bold<b>.jpg", "<img src=x>.jpg", "<a href=x>link<a>.jpg", "<table><tr><td>cell.jpg", "&lt;script&gt;.jpg" }) {
        paths.append(chosen.filePath(QString::fromUtf8(name)));
        writeAll(paths.last(), "not a picture\n");
    }
    QStringList shownNames;
    QStringList shownTips;
    modal.state->sheetAnswer = [&](QDialog* dialog) {
        auto* sheet = dynamic_cast<NotImportedSheet*>(dialog);
        EXPECT_NE(sheet, nullptr);
        if (!sheet)
            return 0;
        EXPECT_EQ(sheet->heading()->textFormat(), Qt::PlainText);
        for (const QLabel* label : sheet->findChildren<QLabel*>())
            EXPECT_EQ(shownText(*label), label->text());
        for (int row = 0; row < sheet->list()->topLevelItemCount(); ++row) {
            const QTreeWidgetItem* item = sheet->list()->topLevelItem(row);
            shownNames.append(item->text(0));
            shownTips.append(shownToolTip(item->toolTip(0)));
        }
        return 1;
    };
    modal.state->filesPanelAnswer = paths;
    click(*editor()->addPhotosButton(), editor()->addPhotosButton()->rect().center());
    finishImport();
    QStringList names;
    for (const QString& path : paths)
        names.append(QFileInfo(path).fileName());
    shownNames.sort();
    shownTips.sort();
    names.sort();
    paths.sort();
    EXPECT_EQ(shownNames, names);
    EXPECT_EQ(shownTips, paths);
}
