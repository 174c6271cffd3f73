// The Versions tab: the snapshots newest first with their comments, a
// comment edited in the table written into the archive, the name column
// kept as it is, Revert and Cancel.
#include "ui/app/MenuTags.h"
#include "ui/app/MyDocumentWindow.h"
#include "ui/app/VersionList.h"
#include "document/MyDocument.h"
#include "model/site/XmlAlbum.h"
#include "model/site/XmlHomePage.h"
#include "model/site/XmlSite.h"
#include "platform/FileHelpers.h"
#include "ui/widgets/ItemModelAdaptor.h"
#include "ui/widgets/MyTabView.h"
#include "ui/widgets/MyTableView.h"
#include "ui/widgets/MyTextField.h"
#include "support/EventLoop.h"
#include "support/TestFiles.h"
#include "support/ZipListing.h"
#include "support/ui/CheckedModels.h"
#include "support/ui/SheetButtons.h"
#include "support/ui/StarterSiteWindow.h"

#include <QItemSelectionModel>
#include <QLabel>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

class VersionListTest : public StarterSiteWindowTest {
protected:
    void SetUp() override
    {
        StarterSiteWindowTest::SetUp();
        versions = window->versionList();
        // The window's tables, the versions among them, check themselves
        // at every change they report.
        models.watch(window.get());
        models.watch(versions);
    }
    void TearDown() override
    {
        EXPECT_TRUE(CheckedModels::failures().isEmpty()) << CheckedModels::failures().join(QLatin1Char('\n')).toStdString();
    }

    QAbstractItemModel* model() const { return versions->table()->model(); }
    QString cell(int row, const QString& column) const
    {
        const int at = versions->table()->adaptor()->columnWithIdentifier(column);
        return model()->data(model()->index(row, at), Qt::DisplayRole).toString();
    }
    QModelIndex index(int row, const QString& column) const
    {
        return model()->index(row, versions->table()->adaptor()->columnWithIdentifier(column));
    }
    void saveWithComment(const QString& comment)
    {
        modal.state->sheetAnswer = [comment](QDialog* sheet) { return typeAndPressTheDefaultButton(sheet, comment); };
        window->menuClicked(MenuTag::SaveWithComment);
    }
    XmlAlbum* about()
    {
        for (const XmlBasePtr& item : document.webItems()) {
            if (item->name().startsWith(QStringLiteral("About")))
                return dynamic_cast<XmlAlbum*>(item.get());
        }
        return nullptr;
    }

    CheckedModels models;
    VersionList* versions = nullptr;
};

TEST_F(VersionListTest, SnapshotsShowNewestFirstWithTheirEditableComments)
{
    about()->setName(QStringLiteral("About us"));
    saveWithComment(QStringLiteral("v2"));
    window->menuClicked(MenuTag::Versions);
    EXPECT_EQ(window->masterTab()->selectedIdentifier(), QStringLiteral("Versions"));
    ASSERT_EQ(model()->rowCount(), 2);
    EXPECT_EQ(cell(0, QStringLiteral("comment")), QStringLiteral("v2"));
    // Named by the time of the save, shown with colons.
    const QString newest = MyDocument::snapshotName(clock).replace(QLatin1Char('_'), QLatin1Char(':'));
    EXPECT_TRUE(newest.startsWith(QStringLiteral("Mon Dec 07,2026 11:21:"))) << newest.toStdString();
    EXPECT_EQ(cell(0, QStringLiteral("name")), newest);
    EXPECT_EQ(cell(1, QStringLiteral("comment")), QString());

    // The comment column takes what is typed, into the archive itself.
    EXPECT_TRUE(model()->flags(index(1, QStringLiteral("comment"))) & Qt::ItemIsEditable);
    ASSERT_TRUE(model()->setData(index(1, QStringLiteral("comment")), QStringLiteral("before the move"), Qt::EditRole));
    const QString first = versions->controller().pathAtRow(1);
    EXPECT_EQ(unzipComment(first), QStringLiteral("before the move"));
    versions->refreshFiles();
    EXPECT_EQ(cell(1, QStringLiteral("comment")), QStringLiteral("before the move"));

    // The name column stays as the file is named.
    EXPECT_FALSE(model()->flags(index(0, QStringLiteral("name"))) & Qt::ItemIsEditable);
    EXPECT_FALSE(model()->setData(index(0, QStringLiteral("name")), QStringLiteral("renamed"), Qt::EditRole));
    EXPECT_EQ(cell(0, QStringLiteral("name")), newest);
    EXPECT_TRUE(QFileInfo::exists(versions->controller().pathAtRow(0)));
}

TEST_F(VersionListTest, RevertBringsBackTheChosenVersionAndReturnsToEditing)
{
    about()->setName(QStringLiteral("About us"));
    window->menuClicked(MenuTag::Save);
    window->setMainTab(QStringLiteral("Versions"));
    ASSERT_EQ(model()->rowCount(), 2);

    // Nothing chosen: back to editing, nothing else.
    versions->revertButton()->click();
    EXPECT_EQ(window->masterTab()->selectedIdentifier(), QStringLiteral("Editing"));
    EXPECT_EQ(about()->name(), QStringLiteral("About us"));

    // Unsaved changes are asked about; Cancel keeps them.
    window->setMainTab(QStringLiteral("Versions"));
    versions->table()->selectionModel()->select(index(1, QStringLiteral("name")), QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    about()->setName(QStringLiteral("About (not saved)"));
    modal.state->alertAnswers = {1};
    versions->revertButton()->click();
    ASSERT_EQ(modal.state->alerts.size(), 1);
    EXPECT_TRUE(modal.state->alerts[0].message.contains(QStringLiteral("not saved")));
    EXPECT_EQ(about()->name(), QStringLiteral("About (not saved)"));
    EXPECT_EQ(window->masterTab()->selectedIdentifier(), QStringLiteral("Versions"));

    // Revert: the first version is back, and the editing tab with it.
    modal.state->alertAnswers = {0};
    versions->revertButton()->click();
    EXPECT_EQ(window->masterTab()->selectedIdentifier(), QStringLiteral("Editing"));
    ASSERT_NE(about(), nullptr);
    EXPECT_EQ(about()->name(), QStringLiteral("About"));
    EXPECT_EQ(window->currentType(), 0);
    EXPECT_EQ(model()->rowCount(), 2);
}

TEST_F(VersionListTest, CancelLeavesTheTabAndTrimmingShowsItsLine)
{
    // 22 snapshots: two beyond the newest 20, without comments.
    for (int i = 0; i < 21; ++i)
        window->menuClicked(MenuTag::Save);
    window->menuClicked(MenuTag::Versions);
    ASSERT_EQ(model()->rowCount(), 22);
    EXPECT_FALSE(versions->statusMessage()->isHidden());
    versions->cancelButton()->click();
    EXPECT_EQ(window->masterTab()->selectedIdentifier(), QStringLiteral("Editing"));
    EXPECT_TRUE(versions->statusMessage()->isHidden());
    // Cancelled, the trimming removed nothing.
    EXPECT_EQ(lq::folderEntries(folder + QStringLiteral("/revert")).size(), 22);
}

TEST_F(VersionListTest, TrimmingLineGoesOnceTheOlderVersionsAreRemoved)
{
    for (int i = 0; i < 21; ++i)
        window->menuClicked(MenuTag::Save);
    window->menuClicked(MenuTag::Versions);
    ASSERT_FALSE(versions->statusMessage()->isHidden());
    ASSERT_TRUE(processEventsUntil([&] { return lq::folderEntries(folder + QStringLiteral("/revert")).size() == 20; }));
    // The line on screen follows, not only the controller's flag.
    EXPECT_TRUE(processEventsUntil([&] { return versions->statusMessage()->isHidden(); }));
    EXPECT_EQ(model()->rowCount(), 20);
}

} // namespace
