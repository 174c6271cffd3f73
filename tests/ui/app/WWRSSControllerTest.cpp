// The feed settings of the publish panel: the feed's flag and texts, and its
// entries, edited in a sheet that links each to one page of the site.
#include "ui/app/ExportController.h"
#include "document/MyDocument.h"
#include "ui/app/MyDocumentWindow.h"
#include "ui/app/WWRSSController.h"
#include "model/feed/XmlRSS.h"
#include "model/feed/XmlRSSItem.h"
#include "model/site/XmlAlbum.h"
#include "model/site/XmlHomePage.h"
#include "model/site/XmlSite.h"
#include "ui/widgets/ModalHandler.h"
#include "ui/widgets/MyCheckBox.h"
#include "ui/widgets/MyPopUpButton.h"
#include "ui/widgets/MyTabView.h"
#include "ui/widgets/MyTableView.h"
#include "ui/widgets/MyTextField.h"
#include "support/ui/CheckedModels.h"
#include "support/ui/SheetHands.h"
#include "support/ui/StarterArchive.h"

#include <QApplication>
#include <QDialog>
#include <QPushButton>
#include <QTest>
#include <QDir>
#include <QKeyEvent>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>

namespace {

// Runs the test's hands in place of the user while a sheet is up.
class SheetHands : public lq::ModalHandler {
public:
    explicit SheetHands(std::function<void(QDialog*)>& hands) : _hands(hands) {}
    int runSheet(QDialog* sheet) override
    {
        if (_hands)
            _hands(sheet);
        return sheet->result();
    }
    int runAlert(const lq::AlertRequest&) override { return 0; }

private:
    std::function<void(QDialog*)>& _hands;
};

class WWRSSControllerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(work.isValid());
        oldHome = qgetenv("HOME");
        const QString homeFolder = work.filePath(QStringLiteral("home"));
        ASSERT_TRUE(QDir().mkpath(homeFolder + QStringLiteral("/Desktop")));
        qputenv("HOME", homeFolder.toUtf8());
        lq::setModalHandler(std::make_unique<SheetHands>(hands));

        const QString archive = work.filePath(QStringLiteral("default.qvzip"));
        ASSERT_TRUE(writeStarterArchive(work.path(), archive, false));
        ASSERT_TRUE(document.newDocumentFromArchive(work.filePath(QStringLiteral("Site.lqxl")), archive));
        XmlHomePage* home = document.site()->homepage();
        for (const char* name : {"Travels", "Garden", "Kitchen"}) {
            auto page = XmlAlbum::create();
            home->addChild(page);
            page->newDocument();
            page->setName(QString::fromLatin1(name));
            page->setPageUUID(QStringLiteral("PAGE-") + QString::fromLatin1(name));
        }
        pages = document.webItems();
        ASSERT_GE(pages.size(), 3);
        window = std::make_unique<MyDocumentWindow>(document, nullptr);
        feed = window->exportController()->rssController();
        ASSERT_NE(feed, nullptr);
        document.clearChangeCount();
        // The entries' table checks itself at every change it reports.
        models.watch(feed->entryTable());
    }
    void TearDown() override
    {
        window.reset();
        lq::setModalHandler(nullptr);
        qputenv("HOME", oldHome);
        EXPECT_TRUE(CheckedModels::failures().isEmpty()) << CheckedModels::failures().join(QLatin1Char('\n')).toStdString();
    }

    XmlRSS& rss() { return *document.rss(); }
    QString pageUUID(int index) { return XmlWebItem::cast(pages[index].get())->pageUUID(); }
    QStringList titles()
    {
        QStringList list;
        for (int i = 0; i < rss().numberChildren(); ++i)
            list << XmlRSSItem::cast(rss().childAtIndex(i).get())->title();
        return list;
    }
    QStringList tableTitles()
    {
        QStringList list;
        QAbstractItemModel* model = feed->entryTable()->model();
        for (int row = 0; row < model->rowCount(); ++row)
            list << model->index(row, 0).data().toString();
        return list;
    }
    // The sheet's fields as the user leaves them, then its OK button.
    void answerSheet(const QString& title, const QString& description, int page)
    {
        hands = [=, this](QDialog*) {
            feed->itemTitle()->setText(title);
            feed->itemDescription()->setText(description);
            if (page >= 0)
                feed->itemLink()->setCurrentIndex(page);
            feed->doneRSSItem();
        };
    }
    void addEntry(const QString& title, int page = 0)
    {
        answerSheet(title, title + QStringLiteral(" text"), page);
        feed->addEntry();
    }

    QTemporaryDir work;
    QByteArray oldHome;
    std::function<void(QDialog*)> hands;
    CheckedModels models;
    MyDocument document;
    QList<std::shared_ptr<XmlBase>> pages;
    std::unique_ptr<MyDocumentWindow> window;
    WWRSSController* feed = nullptr;
};

TEST_F(WWRSSControllerTest, ShowsTheFeedAndStoresEveryEdit)
{
    EXPECT_NE(window->exportController()->firstTab()->tabViewItemWithIdentifier(QStringLiteral("rss")), nullptr);
    rss().setPublish(true);
    rss().setTitle(QStringLiteral("News"));
    rss().setLink(QStringLiteral("http://example.org/"));
    rss().setDescription(QStringLiteral("What is new"));
    // Refreshed together with the publish panel.
    window->exportController()->updateGUI();
    EXPECT_TRUE(feed->publishBox()->isChecked());
    EXPECT_EQ(feed->titleField()->text(), QStringLiteral("News"));
    EXPECT_EQ(feed->linkField()->text(), QStringLiteral("http://example.org/"));
    EXPECT_EQ(feed->descriptionField()->text(), QStringLiteral("What is new"));
    EXPECT_FALSE(document.isDocumentEdited());

    // Any one change stores all three texts.
    feed->titleField()->setText(QStringLiteral("Latest"));
    feed->descriptionField()->setText(QStringLiteral("Fresh pages"));
    feed->controlTextDidChange();
    EXPECT_EQ(rss().title(), QStringLiteral("Latest"));
    EXPECT_EQ(rss().link(), QStringLiteral("http://example.org/"));
    EXPECT_EQ(rss().description(), QStringLiteral("Fresh pages"));
    EXPECT_TRUE(document.isDocumentEdited());

    document.clearChangeCount();
    feed->publishBox()->click();
    EXPECT_FALSE(rss().publish());
    EXPECT_TRUE(document.isDocumentEdited());
    // The feed is saved with the document and read back.
    ASSERT_TRUE(document.saveFileWithComment(document.fileName(), QString()));
    MyDocument reopened;
    ASSERT_TRUE(reopened.readFromFile(document.fileName()));
    EXPECT_EQ(reopened.rss()->title(), QStringLiteral("Latest"));
    EXPECT_FALSE(reopened.rss()->publish());
}

TEST_F(WWRSSControllerTest, NewEntryIsEditedInTheSheetAndGoesFirst)
{
    hands = [this](QDialog* sheet) {
        // The sheet opens on the placeholder texts and the first page, titled by page names.
        EXPECT_EQ(sheet, feed->itemWindow());
        EXPECT_EQ(feed->itemTitle()->text(), QStringLiteral("Type Title Here"));
        EXPECT_EQ(feed->itemDescription()->text(), QStringLiteral("Type Description Here"));
        ASSERT_EQ(feed->itemLink()->count(), pages.size());
        EXPECT_EQ(feed->itemLink()->itemText(1), pages[1]->name());
        EXPECT_EQ(feed->itemLink()->currentIndex(), 0);
        feed->itemTitle()->setText(QStringLiteral("Spring garden"));
        feed->itemDescription()->setText(QStringLiteral("New photos"));
        feed->itemLink()->setCurrentIndex(1);
        feed->doneRSSItem();
    };
    feed->addEntry();
    addEntry(QStringLiteral("Newer"), 2);

    ASSERT_EQ(titles(), (QStringList{QStringLiteral("Newer"), QStringLiteral("Spring garden")}));
    auto* entry = XmlRSSItem::cast(rss().childAtIndex(1).get());
    EXPECT_EQ(entry->description(), QStringLiteral("New photos"));
    EXPECT_EQ(entry->link(), pageUUID(1));
    EXPECT_EQ(XmlRSSItem::cast(rss().childAtIndex(0).get())->link(), pageUUID(2));
    EXPECT_EQ(tableTitles(), titles());
    EXPECT_FALSE(feed->entryTable()->model()->flags(feed->entryTable()->model()->index(0, 0)).testFlag(Qt::ItemIsEditable));
    EXPECT_TRUE(document.isDocumentEdited());
}

TEST_F(WWRSSControllerTest, TheEntrySheetTakesReturnAndEscape)
{
    addEntry(QStringLiteral("Kept"));
    const struct {
        Ending ending;
        bool added;
    } cases[] = {{Ending::Return, true}, {Ending::Escape, false}, {Ending::CancelButton, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.ending));
        const int before = rss().numberChildren();
        hands = [&](QDialog* sheet) {
            sheet->show();
            feed->itemTitle()->setText(QStringLiteral("Typed"));
            endSheet(sheet, feed->itemTitle(), c.ending);
            sheet->hide();
        };
        feed->addEntry();
        ASSERT_EQ(rss().numberChildren(), before + (c.added ? 1 : 0));
        EXPECT_EQ(titles().first(), c.added ? QStringLiteral("Typed") : QStringLiteral("Kept"));
        if (c.added)
            rss().removeChild(rss().childAtIndex(0).get());
    }
    // A cancelled edit leaves the entry as it was.
    hands = [&](QDialog* sheet) {
        sheet->show();
        feed->itemTitle()->setText(QStringLiteral("Changed"));
        endSheet(sheet, feed->itemTitle(), Ending::Escape);
        sheet->hide();
    };
    feed->doubleClickItem(0);
    EXPECT_EQ(titles().first(), QStringLiteral("Kept"));
}

TEST_F(WWRSSControllerTest, TheEleventhEntryPushesOutTheOldest)
{
    for (int i = 1; i <= 11; ++i)
        addEntry(QString::number(i));
    const QStringList expected = {"11", "10", "9", "8", "7", "6", "5", "4", "3", "2"};
    EXPECT_EQ(titles(), expected);
    EXPECT_EQ(tableTitles(), expected);
}

TEST_F(WWRSSControllerTest, SheetSelectsTheLinkedPage)
{
    // Two pages sharing one identity: the last of them is selected.
    XmlWebItem::cast(pages[2].get())->setPageUUID(pageUUID(1));
    struct Case {
        QString link;
        int shown;
    };
    for (const Case& c : {Case{pageUUID(0), 0}, Case{pageUUID(1), 2}, Case{QStringLiteral("GONE"), 0}}) {
        auto entry = XmlRSSItem::create();
        entry->setLink(c.link);
        int shown = -1;
        hands = [&](QDialog*) {
            shown = feed->itemLink()->currentIndex();
            feed->doneRSSItem();
        };
        feed->editRSSItem(entry.get());
        EXPECT_EQ(shown, c.shown) << c.link.toStdString();
        // Closing the sheet keeps the page that it showed.
        EXPECT_EQ(entry->link(), pageUUID(c.shown)) << c.link.toStdString();
    }
}

TEST_F(WWRSSControllerTest, DoubleClickEditsTheRowAndDeleteRemovesTheSelectedOne)
{
    for (const char* title : {"a", "b", "c"})
        addEntry(QString::fromLatin1(title));
    answerSheet(QStringLiteral("B"), QStringLiteral("edited"), -1);
    feed->doubleClickItem(1);
    EXPECT_EQ(titles(), (QStringList{"c", "B", "a"}));
    EXPECT_EQ(tableTitles(), titles());
    // A click outside the rows edits nothing.
    hands = [](QDialog*) { ADD_FAILURE() << "no sheet expected"; };
    feed->doubleClickItem(-1);
    feed->doubleClickItem(3);

    MyTableView* table = feed->entryTable();
    QKeyEvent none(QEvent::KeyPress, Qt::Key_Delete, Qt::NoModifier);
    QApplication::sendEvent(table, &none);
    EXPECT_EQ(titles().size(), 3);
    table->selectRow(2);
    QKeyEvent del(QEvent::KeyPress, Qt::Key_Delete, Qt::NoModifier);
    QApplication::sendEvent(table, &del);
    EXPECT_EQ(titles(), (QStringList{"c", "B"}));
    table->selectRow(0);
    QKeyEvent backspace(QEvent::KeyPress, Qt::Key_Backspace, Qt::NoModifier);
    QApplication::sendEvent(table, &backspace);
    EXPECT_EQ(titles(), (QStringList{"B"}));
    EXPECT_EQ(tableTitles(), titles());
}

} // namespace
