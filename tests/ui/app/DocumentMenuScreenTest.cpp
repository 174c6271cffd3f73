// The document window's menus and sheets on a real X display (Xvfb): each
// menu opens inside the screen with its items, and each sheet shows all its
// controls and buttons over the window. Pictures of the screen are kept in
// the build folder's "test-artefacts" to be looked at.
#include "ui/app/MenuTags.h"
#include "model/site/XmlSite.h"
#include "platform/Zip.h"
#include "ui/app/VersionList.h"
#include "ui/app/WatermarkSheet.h"
#include "ui/widgets/MyTableView.h"
#include "support/EventLoop.h"
#include "support/TestFiles.h"
#include "support/ZipListing.h"
#include "support/ui/LayoutWindow.h"
#include "support/ui/OnXvfb.h"
#include "support/ui/SheetButtons.h"

#include <QAction>
#include <QGuiApplication>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QTest>

#include <gtest/gtest.h>

namespace {

using DocumentMenuScreenTest = LayoutWindowTest;

// Lays the widget out and paints it on the screen at once: the picture
// that follows shows it as it stands.
void paintNow(QWidget* widget)
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
    widget->repaint();
}

QImage screenPicture(const QString& name)
{
    QImage picture = QGuiApplication::primaryScreen()->grabWindow(0).toImage();
    picture.save(testArtefactsFolder() + QStringLiteral("/") + name);
    return picture;
}

// Every button of the widget lies inside it, at its full size.
void expectButtonsWhole(QWidget& widget)
{
    for (QPushButton* button : widget.findChildren<QPushButton*>()) {
        if (!button->isVisibleTo(&widget))
            continue;
        const QRect place(button->mapTo(&widget, QPoint(0, 0)), button->size());
        EXPECT_TRUE(widget.rect().contains(place)) << button->text().toStdString();
        EXPECT_GE(button->width(), button->minimumSizeHint().width()) << button->text().toStdString();
    }
}

TEST_F(DocumentMenuScreenTest, MenusAndSheetsShowWholeOverTheWindow)
{
    if (!runningOnXvfb()) {
        checkRunOnXvfb(runThisTestOnXvfb());
        return;
    }
    window->resize(1100, 780);
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    const QRect screen = QGuiApplication::primaryScreen()->geometry();

    // Each menu opens below its title with every item readable.
    for (QAction* top : window->menuBar()->actions()) {
        QMenu* menu = top->menu();
        ASSERT_NE(menu, nullptr);
        menu->popup(window->menuBar()->mapToGlobal(window->menuBar()->actionGeometry(top).bottomLeft()));
        ASSERT_TRUE(QTest::qWaitForWindowExposed(menu));
        EXPECT_TRUE(screen.contains(menu->geometry())) << top->text().toStdString();
        screenPicture(QStringLiteral("menu-") + top->text().remove(QLatin1Char('&')).toLower() + QStringLiteral(".png"));
        menu->hide();
    }
    // The sheets, each shown over the window, pictured and answered.
    QStringList shown;
    modal.state->sheetAnswer = [&](QDialog* sheet) {
        sheet->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(sheet));
        paintNow(sheet);
        const QString name = sheet->windowTitle().toLower().replace(QLatin1Char(' '), QLatin1Char('-'));
        shown.append(sheet->windowTitle());
        screenPicture(QStringLiteral("sheet-") + name + QStringLiteral(".png"));
        EXPECT_TRUE(screen.contains(sheet->frameGeometry())) << name.toStdString();
        expectButtonsWhole(*sheet);
        return pressKey(sheet, Qt::Key_Escape);
    };
    window->setCurrentObject(page(QStringLiteral("Photos")).get());
    writeAll(work.filePath(QStringLiteral("Site.lqxl/files/pics/logo.png")), "a picture");
    writeAll(work.filePath(QStringLiteral("Site.lqxl/files/about.pdf")), "a document");
    document.site()->refreshFiles();
    window->menuClicked(MenuTag::Watermark);
    window->menuClicked(MenuTag::SaveWithComment);
    window->menuClicked(MenuTag::ExportTheme);
    layout->templateSelector().copyElements();
    const QString theme = work.filePath(QStringLiteral("Mine.qvzip"));
    ASSERT_TRUE(lq::zipAdd(theme, work.filePath(QStringLiteral("Site.lqxl")), QStringLiteral("theme.xmlbase"), false));
    window->setNewTheme(theme);
    EXPECT_EQ(shown, (QStringList{QStringLiteral("Watermark"), QStringLiteral("Save with Comment"), QStringLiteral("Include Files"),
                         QStringLiteral("Copy Elements"), QStringLiteral("Import Theme")}));

    // The Versions tab after a save with a comment.
    modal.state->sheetAnswer = [](QDialog* sheet) { return typeAndPressTheDefaultButton(sheet, QStringLiteral("Before the new colours")); };
    window->menuClicked(MenuTag::SaveWithComment);
    window->menuClicked(MenuTag::Versions);
    paintNow(window.get());
    screenPicture(QStringLiteral("versions-tab.png"));
    expectButtonsWhole(*window->versionList());
    QAbstractItemModel* versions = window->versionList()->table()->model();
    EXPECT_EQ(versions->data(versions->index(0, 1), Qt::DisplayRole).toString(), QStringLiteral("Before the new colours"));
}

} // namespace
