// The navigator and the trash, files and iPhoto panes on a real X display,
// used as a new user uses them: pages and a group added with the buttons,
// real JPEGs dropped on a page, a page dragged into the group, another sent
// to the trash and the trash emptied, files brought in and renamed, the
// photo library browsed. Each pane is kept as a picture to be looked at.
#include "ui/editors/iphoto/iPhoto.h"
#include "model/files/XmlFolder.h"
#include "model/site/XmlGroup.h"
#include "ui/widgets/ImageAndTextCell.h"
#include "ui/widgets/MyButton.h"
#include "support/ChildNames.h"
#include "support/ui/GridPictures.h"
#include "support/ui/OnXvfb.h"
#include "support/ui/PhotoLibrary.h"
#include "support/ui/SitePanes.h"

#include <QLineEdit>
#include <QTest>

#include <gtest/gtest.h>

namespace {

class SitePanesScreenTest : public SitePanesTest {
protected:
    void SetUp() override
    {
        library.writeSample();
        hooks.emplace(library);
        SitePanesTest::SetUp();
    }
    void press(QWidget& pane, const char* button)
    {
        auto* found = pane.findChild<MyButton*>(QString::fromLatin1(button));
        ASSERT_NE(found, nullptr) << button;
        QTest::mouseClick(found, Qt::LeftButton);
    }
    // The pixels of the row's icon that are not the row's background.
    int iconInk(XmlOutlineView& outline, const QImage& shot, XmlBase* element)
    {
        const QRect row = rectOf(outline, element).translated(outline.viewport()->mapTo(window.get(), QPoint()));
        return countPixels(shot, QRect(row.left() + 3, row.top(), 16, row.height()), [](QColor c) { return c.saturation() > 60 || c.value() < 120; });
    }

    // The window on the screen, the site's page chosen in the navigator.
    void showWithThePageChosen()
    {
        window->resize(1100, 760);
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
        choose(navOutline(), album.get());
    }

    PhotoLibrary library;
    std::optional<ScopedPhotoLibrary> hooks;
};

TEST_F(SitePanesScreenTest, ANewUserBuildsASiteWithTheNavigator)
{
    if (!runningOnXvfb()) {
        checkRunOnXvfb(runThisTestOnXvfb());
        return;
    }
    showWithThePageChosen();

    // Two pages and a group, with the navigator's buttons.
    const int pages = home().numberChildren();
    press(navigator(), "addAlbum");
    press(navigator(), "addAlbum");
    press(navigator(), "addGroup");
    ASSERT_EQ(home().numberChildren(), pages + 3);
    auto* first = XmlAlbum::cast(home().childAtIndex(pages).get());
    auto* second = XmlAlbum::cast(home().childAtIndex(pages + 1).get());
    auto* group = XmlGroup::cast(home().lastChild().get());
    ASSERT_TRUE(first && second && group);

    // Three pictures dropped on the first new page, which then opens.
    const QStringList pictures { sourcePicture(QStringLiteral("Harbour.jpg"), QColor(30, 90, 200)),
        sourcePicture(QStringLiteral("Lighthouse.jpg"), QColor(220, 40, 40)), sourcePicture(QStringLiteral("Meadow.jpg"), QColor(40, 170, 60)) };
    ASSERT_TRUE(dropFiles(navOutline(), pictures, rectOf(navOutline(), first).center()).accepted);
    drainQueue();
    EXPECT_EQ(childNames(*first), (QStringList { "Harbour", "Lighthouse", "Meadow" }));
    // The second page into the group.
    ASSERT_TRUE(dropElement(navOutline(), *second, rectOf(navOutline(), group).center()).accepted);
    EXPECT_EQ(second->parent(), group);
    navOutline().expandObject(first);
    navOutline().expandObject(second);
    const QImage tree = widgetPicture(*window, QStringLiteral("navigator-site-tree.png"));
    for (XmlBase* row : { static_cast<XmlBase*>(&home()), static_cast<XmlBase*>(first), static_cast<XmlBase*>(group), first->firstChild().get(),
             static_cast<XmlBase*>(&trash()) })
        EXPECT_GT(iconInk(navOutline(), tree, row), 12) << "the icon of " << row->name().toStdString();

    // The group to the trash with the Delete key, then the trash emptied.
    choose(navOutline(), group);
    QTest::keyClick(&navOutline(), Qt::Key_Delete);
    EXPECT_EQ(group->parent(), &trash());
    choose(navOutline(), &trash());
    widgetPicture(*window, QStringLiteral("trash-pane.png"));
    press(trashPane(), "emptyTrash");
    EXPECT_EQ(trash().numberChildren(), 0);

    // Files: one brought in, a new folder, and a rename typed in the row.
    choose(navOutline(), &files());
    ASSERT_TRUE(dropFiles(*filesPane().outline(), { pictures.first() }, QPoint(40, 200)).accepted);
    press(filesPane(), "addFolder");
    XmlBasePtr folder = files().firstChildOfType<XmlFolder>();
    ASSERT_NE(folder, nullptr);
    XmlOutlineView& filesOutline = *filesPane().outline();
    filesOutline.setCurrentIndex(rowOf(filesOutline, folder.get()));
    filesOutline.edit(rowOf(filesOutline, folder.get()));
    auto* field = filesOutline.viewport()->findChild<QLineEdit*>();
    ASSERT_NE(field, nullptr);
    QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(field, QStringLiteral("Downloads"));
    QTest::keyClick(field, Qt::Key_Return);
    QCoreApplication::processEvents();
    EXPECT_EQ(XmlFolder::cast(folder.get())->foldername(), QStringLiteral("Downloads"));
    EXPECT_TRUE(QFileInfo(files().fullname() + QStringLiteral("/Downloads")).isDir());
    widgetPicture(*window, QStringLiteral("files-pane.png"));

    // The photo library.
    choose(navOutline(), site().firstChildOfType<iPhoto>().get());
    iPhotoPane().outline()->expandAll();
    const QImage libraryShot = widgetPicture(*window, QStringLiteral("iphoto-pane.png"));
    EXPECT_EQ(window->currentType(), 7);
    EXPECT_TRUE(modal.state->alerts.size() == 1) << "only the question of the trash";
}

// A page renamed in its row: the editor covers the old name as the new one
// is typed, so that "Pag" never reads "PagHoliday".
TEST_F(SitePanesScreenTest, TheRenameEditorCoversTheOldName)
{
    if (!runningOnXvfb()) {
        checkRunOnXvfb(runThisTestOnXvfb());
        return;
    }
    showWithThePageChosen();
    navOutline().edit(rowOf(navOutline(), album.get()));
    auto* field = navOutline().viewport()->findChild<QLineEdit*>();
    ASSERT_NE(field, nullptr);
    ASSERT_TRUE(field->isVisible());
    QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(field, QStringLiteral("Pag"));
    QCoreApplication::processEvents();
    const QImage shot = widgetPicture(*window, QStringLiteral("navigator-rename.png"));
    const QPoint inWindow = navOutline().viewport()->mapTo(window.get(), QPoint());
    // The selected row's colour is gone from the name: the editor covers it all.
    const QModelIndex row = rowOf(navOutline(), album.get());
    const QImage icon = row.data(Qt::DecorationRole).value<QImage>();
    const QRect name = ImageAndTextCell::textFrame(navOutline().visualRect(row), icon.size()).translated(inWindow);
    const QColor selected = navOutline().palette().color(QPalette::Highlight);
    EXPECT_EQ(countPixels(shot, name, [&](QColor c) { return near(c, selected, 24); }), 0) << "the old name beside the editor";
    // Right of what was typed, the editor shows nothing of the old name.
    const QRect editor = field->geometry().translated(inWindow);
    const int typed = field->fontMetrics().horizontalAdvance(QStringLiteral("Pag"));
    const QRect rest(editor.left() + typed + 12, editor.top() + 3, editor.width() - typed - 16, editor.height() - 6);
    ASSERT_GT(rest.width(), 20);
    EXPECT_EQ(countPixels(shot, rest, [](QColor c) { return isDark(c); }), 0) << "letters of the old name beside the new one";
    QTest::keyClick(field, Qt::Key_Escape);
    EXPECT_EQ(album->name(), QStringLiteral("Holiday"));
}

} // namespace
