// The sheet that tells what an import left out, on a real X display
// (Xvfb), as a new user meets it after "Add Photos…" with a mix of files:
// over the window, inside the screen, every row's file and reason readable
// in full, its button whole. A picture of the screen is kept in the build
// folder's "test-artefacts" to be looked at.
#include "ui/app/NotImportedSheet.h"
#include "ui/editors/panes/QZAlbumEditor.h"
#include "ui/widgets/MyButton.h"
#include "support/ui/LeftOutFiles.h"
#include "support/ui/OnXvfb.h"
#include "support/ui/PaneWindow.h"
#include "support/ui/ViewMouse.h"

#include <QGuiApplication>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>

#include <gtest/gtest.h>

namespace {

using NotImportedSheetScreenTest = PaneWindowTest;

TEST_F(NotImportedSheetScreenTest, TheSheetShowsEveryFileAndWhyOverTheWindow)
{
    if (!runningOnXvfb()) {
        checkRunOnXvfb(runThisTestOnXvfb());
        return;
    }
    show(album.get());
    QTemporaryDir chosen;
    LeftOutFiles files(chosen.path());
    int sheets = 0;
    modal.state->sheetAnswer = [&](QDialog* dialog) {
        ++sheets;
        auto* sheet = dynamic_cast<NotImportedSheet*>(dialog);
        EXPECT_NE(sheet, nullptr);
        if (!sheet)
            return 0;
        sheet->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(sheet));
        QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
        sheet->repaint();
        const QRect screen = QGuiApplication::primaryScreen()->geometry();
        QGuiApplication::primaryScreen()->grabWindow(0).save(testArtefactsFolder() + QStringLiteral("/sheet-not-imported.png"));
        EXPECT_TRUE(screen.contains(sheet->frameGeometry()));
        // Every row's file, problem and reason read in full.
        QTreeWidget* list = sheet->list();
        EXPECT_EQ(list->topLevelItemCount(), 4);
        for (int row = 0; row < list->topLevelItemCount(); ++row) {
            const QTreeWidgetItem* item = list->topLevelItem(row);
            int right = 0;
            for (int column : { 0, 1, 2 }) {
                EXPECT_GE(list->columnWidth(column), list->fontMetrics().horizontalAdvance(item->text(column)))
                    << item->text(column).toStdString();
                right += list->columnWidth(column);
            }
            EXPECT_LE(right - list->columnWidth(2) + list->fontMetrics().horizontalAdvance(item->text(2)), list->viewport()->width())
                << item->text(2).toStdString();
        }
        const QRect ok(sheet->okButton()->mapTo(sheet, QPoint()), sheet->okButton()->size());
        EXPECT_TRUE(sheet->rect().contains(ok));
        EXPECT_GE(sheet->okButton()->width(), sheet->okButton()->minimumSizeHint().width());
        QTest::keyClick(sheet->okButton(), Qt::Key_Return);
        return sheet->result();
    };
    window->resize(1100, 760);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    modal.state->filesPanelAnswer = files.all();
    click(*pane<QZAlbumEditor>(EditorKind::Album)->addPhotosButton(), pane<QZAlbumEditor>(EditorKind::Album)->addPhotosButton()->rect().center());
    files.vanish();
    drainQueue();
    ASSERT_TRUE(processEventsUntil([&] { return sheets == 1; }));
    EXPECT_EQ(album->numberPhotos(), 2);
}

} // namespace
