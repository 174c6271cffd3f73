// The document window: its tabs, the close protocol, editor switching over
// the stand-in panels and the edited mark.
#include "document/MyDocument.h"
#include "ui/app/MyDocumentWindow.h"
#include "ui/app/VersionList.h"
#include "document/LayoutControllerBase.h"
#include "support/ScopedServices.h"
#include "support/ui/RecordingEditorPanel.h"
#include "model/files/XmlFiles.h"
#include "model/site/XmlAlbum.h"
#include "model/site/XmlGroup.h"
#include "model/site/XmlHomePage.h"
#include "model/site/XmlPhoto.h"
#include "model/site/XmlSite.h"
#include "model/site/XmlTrash.h"
#include "theme/XmlTheme.h"
#include "templates/XmlStyleSheet.h"
#include "pipeline/XmlProcessor.h"
#include "pipeline/ProcessorQueue.h"
#include "platform/UserDefaults.h"
#include "ui/widgets/MyTabView.h"
#include "support/EventLoop.h"
#include "support/ui/ScriptedModalHandler.h"
#include "support/ui/StarterArchive.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QPlainTextEdit>
#include <QSettings>
#include <QSplitter>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

RecordingEditorPanel* stub(MyDocumentWindow& window, EditorKind kind)
{
    return RecordingEditorPanel::of(window, kind);
}

QStringList identifiers(MyTabView* tabs)
{
    QStringList ids;
    for (int i = 0; i < tabs->count(); ++i) {
        for (const char* id : {"Editing", "Activity", "Versions", "Themes", "Send", "content", "layout", "preview"}) {
            if (tabs->indexOfTabViewItemWithIdentifier(QString::fromLatin1(id)) == i)
                ids.append(QString::fromLatin1(id));
        }
    }
    return ids;
}

// A site document made from a starter archive the test writes, with or
// without one album page under the home page.
class DocumentWindowTest : public ::testing::Test {
protected:
    void open(bool withPage, bool dropTemp = false)
    {
        ASSERT_TRUE(work.isValid());
        const QString archive = work.filePath(QStringLiteral("default.qvzip"));
        ASSERT_TRUE(writeStarterArchive(work.path(), archive, false));
        ASSERT_TRUE(document.newDocumentFromArchive(work.filePath(QStringLiteral("Site.lqxl")), archive));
        if (dropTemp) {
            // Without its "temp" folder the site is rebuilt after opening.
            ASSERT_TRUE(QDir(work.filePath(QStringLiteral("Site.lqxl/temp"))).removeRecursively());
            ASSERT_TRUE(document.readFromFile(work.filePath(QStringLiteral("Site.lqxl"))));
            ASSERT_TRUE(document.siteNeedsRebuild());
        }
        if (withPage) {
            album = XmlAlbum::create();
            document.site()->homepage()->insertChildAtIndex(album, 0);
        }
        document.clearChangeCount();
        defaults = std::make_unique<lq::UserDefaults>(std::make_unique<QSettings>(work.filePath(QStringLiteral("prefs.conf")), QSettings::IniFormat));
        window = std::make_unique<MyDocumentWindow>(document, defaults.get());
    }

    QTemporaryDir work;
    ScopedModalHandler modal;
    ScopedRecordingPanels panels;
    MyDocument document;
    std::shared_ptr<XmlAlbum> album;
    std::unique_ptr<lq::UserDefaults> defaults;
    std::unique_ptr<MyDocumentWindow> window;
};

TEST_F(DocumentWindowTest, TabsAndFirstPanel)
{
    open(false);
    EXPECT_EQ(identifiers(window->masterTab()), (QStringList{"Editing", "Activity", "Versions", "Themes", "Send"}));
    EXPECT_EQ(identifiers(window->tabView()), (QStringList{"content", "layout", "preview"}));
    // The home page's site panel was given the document, then loaded.
    RecordingEditorPanel* site = stub(*window, EditorKind::Website);
    EXPECT_EQ(site->document(), window.get());
    EXPECT_TRUE(site->calls().contains(QStringLiteral("loadEditor")));
    EXPECT_EQ(window->currentType(), 0);
    EXPECT_EQ(window->lastEditView(), site->superView());
    EXPECT_TRUE(document.testMode());
    // The snapshot of the new site shows in the Versions tab.
    EXPECT_EQ(window->versionList()->controller().numberOfRows(), 1);
}

TEST_F(DocumentWindowTest, CloseFromAnotherTabFirstReturnsToEditing)
{
    open(false);
    window->show();
    window->setMainTab(QStringLiteral("Activity"));
    EXPECT_FALSE(window->close());
    EXPECT_EQ(window->masterTab()->selectedIdentifier(), QStringLiteral("Editing"));
    EXPECT_TRUE(window->isVisible());
    EXPECT_FALSE(defaults->hasKey(QStringLiteral("DocWindowPos")));
    EXPECT_TRUE(window->close());
    EXPECT_TRUE(defaults->hasKey(QStringLiteral("DocWindowPos")));
}

TEST_F(DocumentWindowTest, LayoutAndPreviewNeedAPage)
{
    open(false);
    window->tabView()->selectTabViewItemWithIdentifier(QStringLiteral("layout"));
    ASSERT_EQ(modal.state->alerts.size(), 1);
    EXPECT_EQ(modal.state->alerts[0].title, QStringLiteral("Error"));
    EXPECT_EQ(modal.state->alerts[0].message,
        QStringLiteral("There are no webpages in the website.  Add a webpage before Previewing or editing Template"));
    EXPECT_EQ(window->tabView()->selectedIdentifier(), QStringLiteral("content"));
    window->tabView()->selectTabViewItemWithIdentifier(QStringLiteral("preview"));
    EXPECT_EQ(modal.state->alerts.size(), 2);
    EXPECT_EQ(window->tabView()->selectedIdentifier(), QStringLiteral("content"));
}

TEST_F(DocumentWindowTest, LayoutTabLeavesTestMode)
{
    open(true);
    window->tabView()->selectTabViewItemWithIdentifier(QStringLiteral("layout"));
    EXPECT_TRUE(modal.state->alerts.isEmpty());
    EXPECT_EQ(window->tabView()->selectedIdentifier(), QStringLiteral("layout"));
    EXPECT_FALSE(document.testMode());
    window->tabView()->selectTabViewItemWithIdentifier(QStringLiteral("preview"));
    EXPECT_TRUE(document.testMode());
}

TEST_F(DocumentWindowTest, SuppressedChangesNeverMarkTheWindow)
{
    open(false);
    EXPECT_FALSE(window->isWindowModified());
    document.falseAlarm(true);
    document.falseAlarm(true);
    document.falseAlarm(false);
    document.updateChangeCount(0);
    EXPECT_FALSE(window->isWindowModified());
    document.falseAlarm(false);
    EXPECT_FALSE(window->isWindowModified());   // the dropped change is not replayed
    document.updateChangeCount(0);
    EXPECT_TRUE(window->isWindowModified());
}

TEST_F(DocumentWindowTest, PanelsFollowTheCurrentObject)
{
    open(true);
    XmlSite* site = document.site();
    auto photo = XmlPhoto::create();
    album->insertChildAtIndex(photo, 0);

    window->setCurrentObject(album.get());
    EXPECT_EQ(window->currentType(), 1);
    EXPECT_EQ(window->currentAlbum(), album.get());
    EXPECT_EQ(window->lastEditView(), stub(*window, EditorKind::Album)->superView());

    // PayPal is the album's alternate panel; a photo resets the flag.
    window->switchToPayPalEditor();
    EXPECT_EQ(window->currentEditor(), 1);
    EXPECT_EQ(window->lastEditView(), stub(*window, EditorKind::PayPal)->superView());
    window->setCurrentObject(photo.get());
    EXPECT_EQ(window->currentType(), 3);
    EXPECT_EQ(window->currentEditor(), 0);
    EXPECT_EQ(window->currentAlbum(), album.get());
    window->setCurrentObject(album.get());
    EXPECT_EQ(window->lastEditView(), stub(*window, EditorKind::Album)->superView());

    // The home page keeps the flag; the trash clears it.
    window->setCurrentObject(site->homepage());
    window->switchToHTMLEditor();
    EXPECT_EQ(window->lastEditView(), stub(*window, EditorKind::Html)->superView());
    window->setCurrentObject(site->trash());
    EXPECT_EQ(window->currentType(), 4);
    window->setCurrentObject(site->homepage());
    EXPECT_EQ(window->lastEditView(), stub(*window, EditorKind::Website)->superView());

    // An object without a panel empties the area and keeps the type.
    window->setCurrentObject(site->files());
    EXPECT_EQ(window->currentType(), 6);
    window->setCurrentObject(site);
    EXPECT_EQ(window->lastEditView(), nullptr);
    EXPECT_EQ(window->currentType(), 6);
    EXPECT_TRUE(stub(*window, EditorKind::Navigator)->calls().contains(QStringLiteral("selectObject:") + site->UUID()));

    // A deleted photo falls back to the home page.
    window->setCurrentObject(photo.get());
    album->removeChild(photo.get());
    photo.reset();
    EXPECT_EQ(window->currentObject().get(), site->homepage());
    EXPECT_EQ(window->currentType(), 0);
}

TEST_F(DocumentWindowTest, MenuStateComesFromTheRegularPanelsOnly)
{
    open(true);
    window->setCurrentObject(album.get());
    EXPECT_EQ(window->getMenuItemState(200), 0);
    window->switchToPayPalEditor();
    EXPECT_EQ(window->getMenuItemState(200), -1);
    window->setCurrentObject(document.site()->trash());
    EXPECT_EQ(window->getMenuItemState(200), -1);
}

TEST_F(DocumentWindowTest, MissingCachesOfferTheRebuild)
{
    int builds = 0;
    const ScopedServices countedBuilds([&](lq::Services& services) {
        services.siteBuilder = [&](MyDocument&, std::function<void()> then) {
            ++builds;
            then();
        };
    });
    open(false, true);
    EXPECT_TRUE(modal.state->alerts.isEmpty());
    EXPECT_TRUE(processEventsUntil([&] { return !modal.state->alerts.isEmpty(); }, 10000));
    ASSERT_EQ(modal.state->alerts.size(), 1);
    EXPECT_EQ(modal.state->alerts[0].title, QStringLiteral("Rebuild Website"));
    EXPECT_EQ(modal.state->alerts[0].message,
        QStringLiteral("Lumenquill has detected your site needs to be rebuilt - this will optimize your file and correct any errors."));
    EXPECT_EQ(builds, 1);
}

TEST_F(DocumentWindowTest, ActivityTabShowsTheLog)
{
    open(false);
    document.addActivityString(QStringLiteral("Sent index.html"));
    EXPECT_TRUE(processEventsUntil([&] { return window->activityView()->toPlainText().contains(QStringLiteral("Sent index.html")); }, 5000));
}

TEST_F(DocumentWindowTest, StatusLineGoesWhenTheBuildEnds)
{
    open(true);
    const QString folder = work.filePath(QStringLiteral("Site.lqxl"));
    auto script = std::dynamic_pointer_cast<XmlProcessor>(XmlBase::createWithXmlRootDir(
        QStringLiteral("<QZprocessor rootDir=\"") + folder + QStringLiteral("\" status=\"Creating HTML for page1.html\">"
                                                                         "<QZcreate dir=\"homepage\" filename=\"a.html\">a</QZcreate>"
                                                                         "<QZcreate dir=\"homepage\" filename=\"b.html\">b</QZcreate></QZprocessor>"),
        QString()));
    ASSERT_TRUE(script);
    for (const char* tab : {"content", "preview"}) {
        SCOPED_TRACE(tab);
        window->tabView()->selectTabViewItemWithIdentifier(QString::fromLatin1(tab));
        document.startProcessor(std::dynamic_pointer_cast<XmlProcessor>(script->copyWithZone()));
        ASSERT_TRUE(processEventsUntil([&] { return document.queue().isIdle() && !document.queue().isArmed(); }, 10000));
        EXPECT_TRUE(QFileInfo::exists(folder + QStringLiteral("/homepage/b.html")));
        EXPECT_FALSE(window->statusLine()->text().contains(QStringLiteral("Creating HTML"))) << window->statusLine()->text().toStdString();
        EXPECT_TRUE(window->progressBarHidden());
        EXPECT_TRUE(window->statusLine()->isHidden());
        QFile::remove(folder + QStringLiteral("/homepage/b.html"));
    }
}

// A layout editor that notes every call the window and the document make.
class RecordingLayout : public LayoutControllerBase {
public:
    void addTrackingDataForObjectDataRect(const QString& uuid, const QString& data, const lq::Rect& rect) override
    {
        note(QStringLiteral("add ") + uuid + QLatin1Char(' ') + data + QLatin1Char(' ') + rect.toString());
    }
    void clearTrackingDataForObject(const QString& uuid) override { note(QStringLiteral("clear ") + uuid); }
    void clearTrackingData() override { note(QStringLiteral("clearAll")); }
    void redisplayRect(const lq::Rect& rect) override { note(QStringLiteral("redisplay ") + rect.toString()); }
    lq::PreviewView* getWidgetView(int number) override
    {
        note(QStringLiteral("widget ") + QString::number(number));
        return nullptr;
    }
    int globalIndex() const override { return index; }
    void setGlobalIndex(int value) override { index = value; }
    void setPreviewPageIndex(const QString& page, int value) override
    {
        note(QStringLiteral("show ") + page + QLatin1Char(' ') + QString::number(value));
    }
    void activateTab(bool testMode) override { note(QStringLiteral("activate ") + QString::number(testMode)); }
    void saveEdits() override { note(QStringLiteral("saveEdits")); }
    void refreshEditor() override { note(QStringLiteral("refresh")); }
    void layoutViewSelectedObjectRefresh() override { note(QStringLiteral("selectedObjectRefresh")); }
    void updateTemplateSelector() override { note(QStringLiteral("templates")); }
    void enableRTL(int flag) override { note(QStringLiteral("rtl ") + QString::number(flag)); }
    void compactUI(bool compact) override { note(QStringLiteral("compact ") + QString::number(compact)); }
    std::shared_ptr<XmlStyleSheet> getTemplate() override { return nullptr; }

    void note(const QString& call) { calls.append(call); }
    QStringList calls;
    int index = -1;
};

class WindowWithLayoutTest : public DocumentWindowTest {
protected:
    const ScopedServices recordingLayouts { [this](lq::Services& services) {
        services.layoutFactory = [this](MyDocumentWindow&) {
            auto made = std::make_unique<RecordingLayout>();
            layout = made.get();
            return made;
        };
    } };

    // The calls since the last look.
    QStringList taken()
    {
        QStringList calls = layout->calls;
        layout->calls.clear();
        return calls;
    }

    RecordingLayout* layout = nullptr;
};

TEST_F(WindowWithLayoutTest, TabsDriveTheLayoutEditor)
{
    open(true);
    ASSERT_NE(layout, nullptr);
    EXPECT_EQ(window->layout(), layout);
    EXPECT_EQ(document.layout(), layout);
    EXPECT_TRUE(layout->calls.contains(QStringLiteral("rtl 0")));
    window->setCurrentObject(album.get());
    taken();

    const QString show = QStringLiteral("show ") + album->UUID() + QStringLiteral(" -1");
    window->tabView()->selectTabViewItemWithIdentifier(QStringLiteral("layout"));
    EXPECT_FALSE(document.testMode());
    // Saving the panel drops the canvas selection first, every time.
    EXPECT_EQ(taken(), (QStringList {QStringLiteral("saveEdits"), QStringLiteral("compact 1"), QStringLiteral("saveEdits"), show}));

    window->tabView()->selectTabViewItemWithIdentifier(QStringLiteral("preview"));
    EXPECT_TRUE(document.testMode());
    EXPECT_EQ(taken(), (QStringList {QStringLiteral("saveEdits"), QStringLiteral("saveEdits"), show}));

    // A refresh reaches the layout while it is shown, and only then.
    window->refreshEditor();
    EXPECT_EQ(taken(), (QStringList {QStringLiteral("refresh")}));
    window->tabView()->selectTabViewItemWithIdentifier(QStringLiteral("content"));
    taken();
    window->refreshEditor();
    EXPECT_TRUE(taken().isEmpty());

    window->show();
    taken();
    window->resize(window->width() + 50, window->height() + 40);
    EXPECT_TRUE(taken().contains(QStringLiteral("selectedObjectRefresh")));
}

TEST_F(WindowWithLayoutTest, TheDocumentPassesCanvasRequestsOn)
{
    open(true);
    taken();
    document.addTrackingDataForObjectDataRect(QStringLiteral("A1"), QStringLiteral("link"), lq::Rect(1, 2, 3, 4));
    document.clearTrackingDataForObject(QStringLiteral("A1"));
    document.clearTrackingData();
    document.redisplayRect(lq::Rect(5, 6, 7, 8));
    document.layoutViewSelectedObjectRefresh();
    EXPECT_EQ(document.getWidgetView(3), nullptr);
    document.setGlobalIndex(2);
    EXPECT_EQ(document.globalIndex(), 2);
    EXPECT_EQ(taken(), (QStringList {
                           QStringLiteral("add A1 link ") + lq::Rect(1, 2, 3, 4).toString(),
                           QStringLiteral("clear A1"),
                           QStringLiteral("clearAll"),
                           QStringLiteral("redisplay ") + lq::Rect(5, 6, 7, 8).toString(),
                           QStringLiteral("selectedObjectRefresh"),
                           QStringLiteral("widget 3"),
                       }));

    // A page element asks to show a page; nothing stands for the default album.
    document.selectWebPageIndex(album.get(), 4);
    document.selectWebPageIndex(nullptr, -1);
    const XmlBasePtr first = document.site()->defaultAlbum();
    EXPECT_EQ(taken(), (QStringList {QStringLiteral("show ") + album->UUID() + QStringLiteral(" 4"),
                           QStringLiteral("show ") + first->UUID() + QStringLiteral(" -1")}));

    // The end of in-place editing reloads the current panel, not the whole window.
    window->setCurrentObject(album.get());
    RecordingEditorPanel* albumPanel = stub(*window, EditorKind::Album);
    const qsizetype loads = albumPanel->calls().count(QStringLiteral("loadEditor"));
    document.layoutDidContentEditing();
    EXPECT_EQ(albumPanel->calls().count(QStringLiteral("loadEditor")), loads + 1);
    EXPECT_EQ(window->currentObject().get(), album.get());

    // A revert brings new trees: the template list shows the new theme.
    const QFileInfoList snapshots = QDir(work.filePath(QStringLiteral("Site.lqxl/revert"))).entryInfoList({QStringLiteral("*.qvzip")});
    ASSERT_FALSE(snapshots.isEmpty());
    taken();
    ASSERT_TRUE(document.revertFromFile(snapshots.first().absoluteFilePath()));
    EXPECT_TRUE(taken().contains(QStringLiteral("templates")));

    // Without its window the document passes nothing on.
    window.reset();
    EXPECT_EQ(document.layout(), nullptr);
    document.clearTrackingData();
    EXPECT_EQ(document.globalIndex(), -1);
}

TEST_F(DocumentWindowTest, PagesUsingATemplateAndTheNavigatorsWidth)
{
    open(true);
    auto sheet = XmlStyleSheet::create();
    sheet->setTemplateSeqNum(7);
    auto group = XmlGroup::create();
    document.site()->homepage()->insertChildAtIndex(group, 1);
    album->setTemplateNum(7);
    group->setTemplateNum(7);
    EXPECT_EQ(window->numPagesUsingStylesheet(sheet.get()), 2);
    group->setTemplateNum(3);
    EXPECT_EQ(window->numPagesUsingStylesheet(sheet.get()), 1);
    EXPECT_EQ(window->numPagesUsingStylesheet(nullptr), 0);

    window->resize(1000, 700);
    window->show();
    QSplitter* split = window->splitView();
    split->setSizes({800, 200});
    Q_EMIT split->splitterMoved(800, 1);
    EXPECT_LE(split->sizes()[0], split->width() / 2 + 1);
    split->setSizes({10, 990});
    EXPECT_GE(split->sizes()[0], 100);
}

} // namespace
