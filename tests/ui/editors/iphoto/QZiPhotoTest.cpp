// The photo library in a site window: its row in the navigator brings up
// the iPhoto pane over the document's own library; albums and folders are
// imported as new pages, dragged onto the navigator, and pictures dropped
// anywhere get the library's captions, stored as text.
#include "ui/editors/iphoto/iPhoto.h"
#include "ui/editors/iphoto/iPhotoAlbum.h"
#include "ui/editors/iphoto/QZiPhoto.h"
#include "support/ChildNames.h"
#include "support/ui/GridPictures.h"
#include "support/ui/PhotoLibrary.h"
#include "support/ui/SitePanes.h"

#include <QLabel>
#include <QTest>

#include <functional>

#include <gtest/gtest.h>

namespace {

class QZiPhotoTest : public SitePanesTest {
protected:
    void SetUp() override
    {
        library.writeSample();
        hooks.emplace(library);
        SitePanesTest::SetUp();
    }
    void TearDown() override { MyApplication::shared().setImportCaptions(0); }

    // The site's "iPhoto Library" row.
    XmlBase* libraryRow() { return site().firstChildOfType<iPhoto>().get(); }
    iPhotoAlbum* libraryAlbum(const QString& name)
    {
        std::function<iPhotoAlbum*(XmlBase&)> find = [&](XmlBase& parent) -> iPhotoAlbum* {
            for (const XmlBasePtr& child : parent.children()) {
                if (child->name() == name)
                    return iPhotoAlbum::cast(child.get());
                if (iPhotoAlbum* inside = find(*child))
                    return inside;
            }
            return nullptr;
        };
        return find(*window->iPhotoLibrary());
    }
    XmlOutlineView& paneOutline() { return *iPhotoPane().outline(); }

    PhotoLibrary library;
    std::optional<ScopedPhotoLibrary> hooks;
};

TEST_F(QZiPhotoTest, TheLibraryRowShowsTheDocumentsOwnLibrary)
{
    ASSERT_NE(libraryRow(), nullptr);
    EXPECT_EQ(rowNames(navOutline()), (QStringList { home().name(), files().name(), "iPhoto Library", trash().name() }));
    EXPECT_FALSE(navOutline().adaptor()->hasChildren(rowOf(navOutline(), libraryRow()))) << "its albums are the pane's";
    EXPECT_FALSE(navOutline().dragIdentifiersForItems({ libraryRow() }).has_value());
    EXPECT_FALSE(libraryRow()->iconImage().isNull());

    choose(navOutline(), libraryRow());
    EXPECT_EQ(window->currentType(), 7);
    EXPECT_EQ(window->lastEditView(), &iPhotoPane());
    EXPECT_EQ(window->currentObject(), window->iPhotoLibrary()) << "the document's own library, read";
    EXPECT_NE(window->iPhotoLibrary().get(), libraryRow());
    EXPECT_EQ(rowNames(paneOutline()), (QStringList { "Trips", "Book", "Show", "Loose", "Empty" }));
    ItemModelAdaptor* rows = paneOutline().adaptor();
    EXPECT_TRUE(rows->hasChildren(rowOf(paneOutline(), libraryAlbum(QStringLiteral("Trips")))));
    EXPECT_FALSE(rows->hasChildren(rowOf(paneOutline(), libraryAlbum(QStringLiteral("Book")))));
    EXPECT_FALSE(rows->flags(rowOf(paneOutline(), libraryAlbum(QStringLiteral("Book")))) & Qt::ItemIsEditable);

    // The row stays where it is, and a new page made with it chosen goes into the home page.
    QTest::keyClick(&navOutline(), Qt::Key_Delete);
    EXPECT_EQ(libraryRow()->parent(), &site());
    const int pages = home().numberChildren();
    navigator().addAlbum();
    EXPECT_EQ(home().numberChildren(), pages + 1);

    // Read anew from the pane.
    library.writeAlbumData({}, { { 30, QStringLiteral("Only"), QString(), {} } });
    choose(navOutline(), libraryRow());
    iPhotoPane().refresh();
    EXPECT_EQ(rowNames(paneOutline()), QStringList { "Only" });
}

TEST_F(QZiPhotoTest, AFolderBecomesOnePageWithItsAlbumsInTurn)
{
    choose(navOutline(), libraryRow());
    const int pages = home().numberChildren();
    // Nothing chosen in the pane: nothing.
    iPhotoPane().importPhotoLibrary();
    EXPECT_EQ(home().numberChildren(), pages);

    choose(paneOutline(), libraryAlbum(QStringLiteral("Trips")));
    iPhotoPane().importPhotoLibrary();
    ASSERT_EQ(home().numberChildren(), pages + 1);
    auto* page = XmlAlbum::cast(home().lastChild().get());
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(page->name(), QStringLiteral("Page ") + QString::number(page->pageSeqNumber())) << "not the album's name";
    EXPECT_TRUE(rowOf(navOutline(), page).isValid()) << "shown in the navigator";
    drainQueue();
    // Hills (c, b), then Beach (a, d); each picture with the library's title,
    // stored as text; a blank title gives the file's name.
    EXPECT_EQ(page->photoCaptions(), (QStringList { "<p>c</p>", "<p>Rocks &amp; &lt;pools&gt;</p>", "<p>Sandy</p>", "<p>Dunes</p>" }));
    EXPECT_TRUE(document.activityText().contains(QStringLiteral("Importing iPhotos..."))) << document.activityText().toStdString();

    // An album without pictures still gives its page, and queues nothing.
    choose(navOutline(), libraryRow());
    choose(paneOutline(), libraryAlbum(QStringLiteral("Empty")));
    iPhotoPane().importPhotoLibrary();
    ASSERT_EQ(home().numberChildren(), pages + 2);
    EXPECT_EQ(home().lastChild()->numberChildren(), 0);
    EXPECT_TRUE(document.queue().isIdle());
}

TEST_F(QZiPhotoTest, DroppedPicturesTakeTheLibrarysCaptionsAsText)
{
    const QPoint onHoliday = rectOf(navOutline(), album.get()).center();
    EXPECT_TRUE(dropFiles(navOutline(), { library.path(QStringLiteral("a.jpg")) }, onHoliday).accepted);
    drainQueue();
    EXPECT_TRUE(dropFiles(navOutline(), { sourcePicture(QStringLiteral("a<b.jpg"), Qt::cyan) }, onHoliday).accepted);
    drainQueue();
    MyApplication::shared().setImportCaptions(2);
    EXPECT_TRUE(dropFiles(navOutline(), { library.path(QStringLiteral("e  f&g.jpg")), library.path(QStringLiteral("a.jpg")) }, onHoliday).accepted);
    drainQueue();
    EXPECT_EQ(album->photoCaptions(),
        (QStringList { "<p>Sandy - The first morning</p>", "<p>Odd name</p>", "<p>a&lt;b</p>", "<p>Sandy</p>" }))
        << "dropped files go in the order of their names";
}

TEST_F(QZiPhotoTest, AnAlbumDraggedOntoTheNavigatorIsImported)
{
    choose(navOutline(), libraryRow());
    iPhotoAlbum* beach = libraryAlbum(QStringLiteral("Beach"));
    ASSERT_NE(beach, nullptr);
    EXPECT_TRUE(paneOutline().dragIdentifiersForItems({ beach }).has_value()) << "albums are dragged out of the pane";

    // Not into the trash, the files or the library.
    for (XmlBase* refusing : { static_cast<XmlBase*>(&trash()), static_cast<XmlBase*>(&files()), libraryRow() })
        EXPECT_FALSE(dropElement(navOutline(), *beach, rectOf(navOutline(), refusing).center()).accepted) << refusing->name().toStdString();

    const DragAnswer answer = dropElement(navOutline(), *beach, rectOf(navOutline(), album.get()).center());
    EXPECT_TRUE(answer.accepted);
    EXPECT_EQ(answer.action, Qt::CopyAction);
    drainQueue();
    EXPECT_EQ(album->photoCaptions(), (QStringList { "<p>Sandy</p>", "<p>Dunes</p>" }));
    EXPECT_EQ(beach->parent(), libraryAlbum(QStringLiteral("Trips"))) << "the library keeps its album";
    EXPECT_EQ(beach->photos().size(), 2);

    // Between the top rows: a new page.
    const int pages = home().numberChildren();
    EXPECT_TRUE(dropElement(navOutline(), *libraryAlbum(QStringLiteral("Book")), gapAbove(navOutline(), &trash())).accepted);
    ASSERT_EQ(home().numberChildren(), pages + 1);
    drainQueue();
    EXPECT_EQ(XmlAlbum::cast(home().lastChild().get())->photoCaptions(), QStringList { "<p>Rocks &amp; &lt;pools&gt;</p>" });
}

// A home folder with no library, or only part of one.
class QZiPhotoWithoutLibraryTest : public SitePanesTest {
protected:
    void SetUp() override
    {
        hooks.emplace(library);
        SitePanesTest::SetUp();
    }

    PhotoLibrary library;
    std::optional<ScopedPhotoLibrary> hooks;
};

TEST_F(QZiPhotoWithoutLibraryTest, ThePaneSaysWhereItLookedAndThatNoneWasFound)
{
    struct Case {
        const char* what;
        std::function<void()> prepare;
        QString named; // "" when a library is found
    };
    const Case cases[] = {
        {"no preferences", [] {}, library.home + QStringLiteral("/Library/Preferences/com.apple.iPhoto.plist")},
        {"preferences without the album data", [&] { library.writePreferences(); },
            library.home + QStringLiteral("/Pictures/iPhoto Library/AlbumData.xml")},
        {"a whole library", [&] { library.writeSample(); }, QString()},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        c.prepare();
        // A new window looks the library up anew.
        window = std::make_unique<MyDocumentWindow>(document, defaults.get());
        window->resize(1000, 720);
        window->show();
        choose(navOutline(), site().firstChildOfType<iPhoto>().get());
        ASSERT_EQ(window->lastEditView(), &iPhotoPane());
        const QLabel* message = iPhotoPane().notFoundMessage();
        if (c.named.isEmpty()) {
            EXPECT_TRUE(message->isHidden());
            EXPECT_FALSE(iPhotoPane().outline()->model()->rowCount() == 0);
            continue;
        }
        widgetPicture(*window, QStringLiteral("iphoto-pane-without-library.png"));
        EXPECT_TRUE(message->isVisible());
        EXPECT_TRUE(message->text().startsWith(QStringLiteral("No iPhoto library was found."))) << message->text().toStdString();
        EXPECT_TRUE(message->text().contains(c.named)) << message->text().toStdString();
    }
}

} // namespace
