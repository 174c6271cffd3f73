// The application delegate's commands: the new-site panel, the open
// documents' folders, commands without a document, the ruler unit and the
// preferences panel.
#include "document/MyDocument.h"
#include "ui/app/MyDocumentController.h"
#include "ui/app/ExportController.h"
#include "ui/app/MenuTags.h"
#include "ui/app/MyDocumentWindow.h"
#include "ui/app/WWRSSController.h"
#include "model/feed/XmlRSS.h"
#include "support/ScopedServices.h"
#include "support/ui/RecordingEditorPanel.h"
#include "ui/app/StartWindow.h"
#include "model/site/XmlSite.h"
#include "theme/XmlTheme.h"
#include "platform/Alert.h"
#include "platform/Resources.h"
#include "application/MyApplication.h"
#include "platform/UserDefaults.h"
#include "platform/Workspace.h"
#include "ui/widgets/ControlTags.h"
#include "ui/widgets/MyCheckBox.h"
#include "ui/widgets/MyImageView.h"
#include "ui/widgets/MyMatrix.h"
#include "ui/widgets/MyPopUpButton.h"
#include "ui/widgets/MyTextField.h"
#include "ui/widgets/RulerUnit.h"
#include "pipeline/XmlProcessor.h"
#include "platform/DelayedCall.h"
#include "platform/Exception.h"
#include "ui/widgets/MyTextView.h"
#include "support/LogCapture.h"
#include "support/RecordingStep.h"
#include "support/SiteHelperProcess.h"
#include "support/SmallFilesystem.h"
#include "support/ui/LocalHttpServer.h"
#include "support/EventLoop.h"
#include "support/ui/OnXvfb.h"
#include "support/ui/ScriptedModalHandler.h"
#include "support/ui/StarterArchive.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QScrollBar>
#include <QPushButton>
#include <QLabel>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QTemporaryDir>
#include <QPlainTextEdit>
#include <QTest>

#include <gtest/gtest.h>

namespace {

class ControllerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        _defaults = std::make_unique<lq::UserDefaults>(std::make_unique<QSettings>(_folder.path() + QStringLiteral("/prefs.conf"), QSettings::IniFormat));
        controller = std::make_unique<MyDocumentController>(*_defaults, _folder.path());
        // New sites come from a starter archive of our own.
        ASSERT_TRUE(QDir().mkpath(_resources.filePath(QStringLiteral("styles"))));
        ASSERT_TRUE(writeStarterArchive(_resources.path(), _resources.filePath(QStringLiteral("styles/default.qvzip"))));
        lq::setResourceFolder(_resources.path());
    }
    void TearDown() override { lq::setResourceFolder(QStringLiteral(LQ_TEST_RESOURCES)); }

    QTemporaryDir _folder;
    QTemporaryDir _resources;
    ScopedModalHandler modal;
    ScopedRecordingPanels panels;
    std::unique_ptr<lq::UserDefaults> _defaults;
    std::unique_ptr<MyDocumentController> controller;
};

TEST_F(ControllerTest, ANewSiteThatCannotBeUnpackedSaysWhyAndLeavesNoFolder)
{
    SmallFilesystem disk(1024 * 1024);
    LQ_REQUIRE_MOUNTED(disk);
    disk.fillLeaving(8 * 1024);
    modal.state->panelAnswer = disk.filePath(QStringLiteral("MyWebsite"));
    controller->menuClicked(50);
    EXPECT_TRUE(controller->documents().empty());
    ASSERT_EQ(modal.state->alerts.size(), 1);
    EXPECT_EQ(modal.state->alerts[0].title, QStringLiteral("Whoops"));
    EXPECT_TRUE(modal.state->alerts[0].message.contains(QStringLiteral("No space left on device"))) << modal.state->alerts[0].message.toStdString();
    EXPECT_FALSE(QFileInfo::exists(disk.filePath(QStringLiteral("MyWebsite.lqxl"))));
}

TEST_F(ControllerTest, NewSiteInAFolderThatIsAlreadyOpenIsRefused)
{
    modal.state->panelAnswer = _folder.path() + QStringLiteral("/MyWebsite");
    controller->menuClicked(50);
    ASSERT_EQ(controller->documents().size(), 1u);
    const QString made = _folder.path() + QStringLiteral("/MyWebsite.lqxl");
    EXPECT_TRUE(QFileInfo(made + QStringLiteral("/site.xmlbase")).isFile());
    ASSERT_EQ(modal.state->panels.size(), 1);
    EXPECT_EQ(modal.state->panels[0].title, QStringLiteral("Create New Lumenquill Website"));
    EXPECT_EQ(modal.state->panels[0].proposedName, QStringLiteral("MyWebsite"));
    EXPECT_EQ(controller->recentDocuments(), QStringList{made});
    EXPECT_TRUE(modal.state->alerts.isEmpty());

    controller->menuClicked(50);
    EXPECT_EQ(controller->documents().size(), 1u);
    ASSERT_EQ(modal.state->alerts.size(), 1);
    EXPECT_EQ(modal.state->alerts[0].title, QStringLiteral("Whoops"));
    EXPECT_EQ(modal.state->alerts[0].message,
        QStringLiteral("A document with that name is already open.  Close the existing document first to create a new document with that name."));

    // Cancelling the panel does nothing.
    modal.state->panelAnswer.clear();
    controller->menuClicked(50);
    EXPECT_EQ(controller->documents().size(), 1u);
    EXPECT_EQ(modal.state->alerts.size(), 1);
}

TEST_F(ControllerTest, OpenAndRecentSites)
{
    const QString site = _folder.path() + QStringLiteral("/Travel.lqxl");
    {
        MyDocument document;
        ASSERT_TRUE(document.newDocument(site));
    }
    StartWindow* window = controller->startWindow();
    EXPECT_FALSE(window->recentPopUp()->isEnabled());
    modal.state->panelAnswer = site;
    controller->menuClicked(51);
    ASSERT_EQ(controller->documents().size(), 1u);
    EXPECT_TRUE(window->recentPopUp()->isEnabled());
    EXPECT_EQ(window->recentPopUp()->itemText(0), QStringLiteral("Travel"));
    // Opening it again keeps the one document.
    EXPECT_TRUE(controller->openDocumentAtPath(site));
    EXPECT_EQ(controller->documents().size(), 1u);

    EXPECT_FALSE(controller->openDocumentAtPath(_folder.path() + QStringLiteral("/Nothing.lqxl")));
    ASSERT_EQ(modal.state->alerts.size(), 1);
    EXPECT_EQ(modal.state->alerts[0].title, QStringLiteral("Whoops"));
}

TEST_F(ControllerTest, AFolderThatIsNoSiteGivesOneAlertWithTheReason)
{
    // Any alert the document itself might raise is counted too.
    int documentAlerts = 0;
    const ScopedServices countedAlerts([&](lq::Services& services) {
        services.alertHandler = [&](const QString&, const QString&, const QString&) { ++documentAlerts; };
    });
    const QString photos = _folder.path() + QStringLiteral("/Photos");
    ASSERT_TRUE(QDir().mkpath(photos));
    QFile note(photos + QStringLiteral("/note.txt"));
    ASSERT_TRUE(note.open(QIODevice::WriteOnly));
    note.close();
    EXPECT_FALSE(controller->openDocumentAtPath(photos));
    EXPECT_EQ(documentAlerts, 0);
    ASSERT_EQ(modal.state->alerts.size(), 1);
    EXPECT_EQ(modal.state->alerts[0].message,
        QStringLiteral("The website at ") + photos + QStringLiteral(" could not be opened: it holds no Lumenquill website (no site.xmlbase and theme.xmlbase)."));
    // The folder is left as it was.
    EXPECT_EQ(QDir(photos).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList{QStringLiteral("note.txt")});
}

TEST_F(ControllerTest, ASiteOpenInAnotherProgramGivesOneAlertNamingThatProgram)
{
    const QString site = _folder.path() + QStringLiteral("/Shared.lqxl");
    {
        MyDocument document;
        ASSERT_TRUE(document.newDocument(site));
    }
    SiteHelperProcess other(QStringLiteral("hold"), site);
    ASSERT_EQ(other.nextLine(), QStringLiteral("opened"));
    EXPECT_FALSE(controller->openDocumentAtPath(site));
    EXPECT_TRUE(controller->documents().empty());
    ASSERT_EQ(modal.state->alerts.size(), 1);
    EXPECT_EQ(modal.state->alerts[0].title, QStringLiteral("Whoops"));
    EXPECT_TRUE(modal.state->alerts[0].message.startsWith(
        QStringLiteral("The website at ") + site + QStringLiteral(" could not be opened: it is open in another program: site_helper, process ")
        + QString::number(other.pid())))
        << modal.state->alerts[0].message.toStdString();

    // Once that program has closed it, it opens here.
    other.go();
    ASSERT_TRUE(other.finishedWell());
    EXPECT_TRUE(controller->openDocumentAtPath(site));
    EXPECT_EQ(controller->documents().size(), 1u);
}

TEST_F(ControllerTest, OpeningASiteOpensItsWindowAndClosingItLetsTheSiteGo)
{
    const QString site = _folder.path() + QStringLiteral("/Travel.lqxl");
    {
        MyDocument document;
        ASSERT_TRUE(document.newDocument(site));
    }
    ASSERT_TRUE(controller->openDocumentAtPath(site));
    ASSERT_EQ(controller->documents().size(), 1u);
    MyDocumentWindow* window = controller->windowOf(controller->documents()[0].get());
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->isVisible());
    EXPECT_TRUE(window->close());
    ASSERT_TRUE(processEventsUntil([&] { return controller->documents().empty(); }));
    EXPECT_TRUE(_defaults->hasKey(QStringLiteral("DocWindowPos")));
    // It opens again.
    EXPECT_TRUE(controller->openDocumentAtPath(site));
    EXPECT_EQ(controller->documents().size(), 1u);
}

TEST_F(ControllerTest, CommandsWithoutADocumentOrServerDoNothingHarmful)
{
    QList<QUrl> opened;
    lq::setOpenURLHandler([&](const QUrl& url) {
        opened.append(url);
        return true;
    });
    controller->menuClicked(150);   // a document command with no document
    controller->menuClicked(58);    // no command
    EXPECT_TRUE(modal.state->alerts.isEmpty());

    controller->menuClicked(55);    // no server: the pages are off
    ASSERT_EQ(modal.state->alerts.size(), 1);
    EXPECT_TRUE(opened.isEmpty());

    _defaults->setString(QStringLiteral("ServerAddress"), QStringLiteral("http://127.0.0.1:9"));
    controller->menuClicked(55);
    controller->menuClicked(62);
    lq::setOpenURLHandler({});
    EXPECT_EQ(opened, (QList<QUrl>{QUrl(QStringLiteral("http://127.0.0.1:9/LQ2Manual/start.php?build=288")),
                          QUrl(QStringLiteral("http://127.0.0.1:9/lqtemplates/"))}));
}

TEST_F(ControllerTest, GrummetsAreRegisteredOnce)
{
    controller->makeGrummets();
    EXPECT_TRUE(controller->grummetsMade());
    const std::optional<RulerUnit> unit = RulerUnit::unitNamed(QStringLiteral("Grummets"));
    ASSERT_TRUE(unit);
    EXPECT_DOUBLE_EQ(unit->pointsPerUnit, 100.0);
    EXPECT_EQ(unit->stepDownCycle, (QList<double>{0.5, 0.2}));
}

TEST_F(ControllerTest, PreferencesPanelShowsAndStoresTheChoices)
{
    MyApplication& app = MyApplication::shared();
    app.setImportCaptions(2);
    app.setCheckForUpdates(1);
    _defaults->setString(QStringLiteral("ServerAddress"), QStringLiteral("http://127.0.0.1:9"));
    controller->showPreferences();
    QDialog* panel = controller->preferencesPanel();
    ASSERT_NE(panel, nullptr);
    auto* captions = qobject_cast<MyMatrix*>(lq::viewWithTag(panel, 15));
    auto* updates = qobject_cast<MyCheckBox*>(lq::viewWithTag(panel, 11));
    ASSERT_TRUE(captions && updates);
    EXPECT_EQ(captions->selectedTag(), 2);
    EXPECT_TRUE(updates->isChecked());
    captions->selectCellWithTag(1);
    updates->setChecked(false);
    controller->donePrefs();
    EXPECT_EQ(app.importCaptions(), 1);
    EXPECT_EQ(app.checkForUpdates(), 0);
    EXPECT_FALSE(panel->isVisible());
    EXPECT_EQ(_defaults->integerForKey(QStringLiteral("importCaptions")), 1);
    EXPECT_EQ(_defaults->integerForKey(QStringLiteral("Version")), 6);
}

TEST_F(ControllerTest, UpdateCheckIsOffAndDisabledWithoutAServer)
{
    MyApplication& app = MyApplication::shared();
    app.setCheckForUpdates(1);
    controller->showPreferences();
    auto* updates = qobject_cast<MyCheckBox*>(lq::viewWithTag(controller->preferencesPanel(), 11));
    auto* server = qobject_cast<MyTextField*>(lq::viewWithTag(controller->preferencesPanel(), 16));
    ASSERT_TRUE(updates && server);
    EXPECT_FALSE(updates->isEnabled());
    EXPECT_FALSE(updates->isChecked());
    // Closing the panel keeps the stored choice for when a server is set.
    controller->donePrefs();
    EXPECT_EQ(app.checkForUpdates(), 1);

    controller->showPreferences();
    server->setText(QStringLiteral("http://127.0.0.1:9"));
    EXPECT_TRUE(updates->isEnabled());
    EXPECT_TRUE(updates->isChecked());
    server->clear();
    EXPECT_FALSE(updates->isEnabled());
    EXPECT_FALSE(updates->isChecked());
    controller->donePrefs();
}

TEST_F(ControllerTest, RightToLeftReachesTheEditorsOfEveryOpenWindow)
{
    QList<MyDocumentWindow*> windows;
    for (const QString& name : {QStringLiteral("/One.lqxl"), QStringLiteral("/Two.lqxl")}) {
        {
            MyDocument document;
            ASSERT_TRUE(document.newDocument(_folder.path() + name));
        }
        ASSERT_TRUE(controller->openDocumentAtPath(_folder.path() + name));
        windows.append(controller->windowOf(controller->documents().back().get()));
    }
    controller->showPreferences();
    qobject_cast<MyCheckBox*>(lq::viewWithTag(controller->preferencesPanel(), 13))->setChecked(true);
    controller->donePrefs();
    MyApplication::shared().setEnableRTL(0);
    for (MyDocumentWindow* window : windows) {
        for (EditorKind kind : {EditorKind::Album, EditorKind::Website, EditorKind::Group})
            EXPECT_TRUE(RecordingEditorPanel::of(*window, kind)->calls().contains(QStringLiteral("enableRTL:1")));
        EXPECT_FALSE(RecordingEditorPanel::of(*window, EditorKind::PayPal)->calls().contains(QStringLiteral("enableRTL:1")));
    }
}

// A site whose feed title was saved as "Old" and is now typed as "New" in
// the publish panel's feed settings, unsaved.
MyDocumentWindow* openWithNewFeedTitle(MyDocumentController& controller, const QString& site)
{
    if (!QFileInfo::exists(site)) {
        MyDocument document;
        EXPECT_TRUE(document.newDocument(site));
        document.rss()->setTitle(QStringLiteral("Old"));
        EXPECT_TRUE(document.writeWithBackupToFile(site));
    }
    EXPECT_TRUE(controller.openDocumentAtPath(site));
    MyDocumentWindow* window = controller.windowOf(controller.documents().back().get());
    WWRSSController* feed = window->exportController()->rssController();
    feed->titleField()->setText(QStringLiteral("New"));
    feed->controlTextDidChange();
    EXPECT_TRUE(window->isWindowModified());
    return window;
}

TEST_F(ControllerTest, ClosingAnEditedSiteAsksAboutItsChanges)
{
    const QString site = _folder.path() + QStringLiteral("/Feed.lqxl");
    struct Case {
        const char* answer;
        int button;
        bool closes;
        QString savedTitle;
    };
    const Case cases[] = {
        {"Cancel", 2, false, QStringLiteral("Old")},
        {"Don't Save", 1, true, QStringLiteral("Old")},
        {"Save", 0, true, QStringLiteral("New")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.answer);
        MyDocumentWindow* window = openWithNewFeedTitle(*controller, site);
        modal.state->alerts.clear();
        modal.state->alertAnswers = {c.button};
        EXPECT_EQ(window->close(), c.closes);
        ASSERT_EQ(modal.state->alerts.size(), 1);
        EXPECT_EQ(modal.state->alerts[0].title, QStringLiteral("Save changes to \"Feed\" before closing?"));
        EXPECT_EQ(modal.state->alerts[0].buttons, (QStringList{"Save", "Don't Save", "Cancel"}));
        if (!c.closes) {
            EXPECT_TRUE(window->isWindowModified());
            EXPECT_TRUE(controller->documents().back()->isDocumentEdited());
            modal.state->alertAnswers = {1};
            ASSERT_TRUE(window->close());
        }
        ASSERT_TRUE(processEventsUntil([&] { return controller->documents().empty(); }));
        MyDocument reopened;
        ASSERT_TRUE(reopened.readFromFile(site));
        EXPECT_EQ(reopened.rss()->title(), c.savedTitle);
        // Saved or not, the site is the one on disk again.
        if (c.savedTitle == QStringLiteral("New")) {
            reopened.rss()->setTitle(QStringLiteral("Old"));
            ASSERT_TRUE(reopened.writeWithBackupToFile(site));
        }
    }
}

TEST_F(ControllerTest, UnchangedSiteClosesWithoutAQuestionAndCtrlSSavesFromAnyTab)
{
    MyDocumentWindow* window = openWithNewFeedTitle(*controller, _folder.path() + QStringLiteral("/Keys.lqxl"));
    window->setMainTab(QStringLiteral("Activity"));
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window));
    QTest::keyClick(window->activityView(), Qt::Key_S, Qt::ControlModifier);
    EXPECT_FALSE(window->isWindowModified());
    EXPECT_FALSE(controller->documents().back()->isDocumentEdited());
    MyDocument reopened;
    ASSERT_TRUE(reopened.readFromFile(_folder.path() + QStringLiteral("/Keys.lqxl")));
    EXPECT_EQ(reopened.rss()->title(), QStringLiteral("New"));
    window->setMainTab(QStringLiteral("Editing"));
    EXPECT_TRUE(window->close());
    EXPECT_TRUE(modal.state->alerts.isEmpty());
}

TEST_F(ControllerTest, QuittingAsksEachEditedWindowInTurn)
{
    // Quitting asks wherever a window stands, the Send tab included.
    openWithNewFeedTitle(*controller, _folder.path() + QStringLiteral("/One.lqxl"))->setMainTab(QStringLiteral("Send"));
    openWithNewFeedTitle(*controller, _folder.path() + QStringLiteral("/Two.lqxl"));
    openWithNewFeedTitle(*controller, _folder.path() + QStringLiteral("/Three.lqxl"));
    // Don't Save for the first, Cancel for the second: quitting stops there.
    modal.state->alertAnswers = {1, 2};
    EXPECT_FALSE(controller->closeAllDocuments());
    ASSERT_EQ(modal.state->alerts.size(), 2);
    EXPECT_TRUE(modal.state->alerts[0].title.contains(QStringLiteral("\"One\"")));
    EXPECT_TRUE(modal.state->alerts[1].title.contains(QStringLiteral("\"Two\"")));
    ASSERT_TRUE(processEventsUntil([&] { return controller->documents().size() == 2u; }));

    // Asked again, both are saved and quitting may go on.
    modal.state->alerts.clear();
    modal.state->alertAnswers = {0, 0};
    EXPECT_TRUE(controller->closeAllDocuments());
    EXPECT_EQ(modal.state->alerts.size(), 2);
    ASSERT_TRUE(processEventsUntil([&] { return controller->documents().empty(); }));
    MyDocument three;
    ASSERT_TRUE(three.readFromFile(_folder.path() + QStringLiteral("/Three.lqxl")));
    EXPECT_EQ(three.rss()->title(), QStringLiteral("New"));
}

TEST_F(ControllerTest, TheApplicationCommandsOfADocumentWindowReachTheController)
{
    MyDocumentWindow* window = openWithNewFeedTitle(*controller, _folder.path() + QStringLiteral("/Menus.lqxl"));
    ASSERT_TRUE(QDir().mkpath(_resources.filePath(QStringLiteral("images"))));
    ASSERT_TRUE(QFile::copy(QStringLiteral(LQ_TEST_RESOURCES "/images/lumenquill.png"), _resources.filePath(QStringLiteral("images/lumenquill.png"))));
    window->menuItem(MenuTag::About)->trigger();
    ASSERT_NE(controller->aboutBox(), nullptr);
    EXPECT_TRUE(controller->aboutBox()->isVisible());
    QStringList texts;
    for (const QLabel* label : controller->aboutBox()->findChildren<QLabel*>())
        texts.append(label->text());
    EXPECT_TRUE(texts.join(QLatin1Char(' ')).contains(QStringLiteral("Build 288")));
    // The application's icon heads the box.
    const auto* icon = controller->aboutBox()->findChild<MyImageView*>();
    ASSERT_NE(icon, nullptr);
    EXPECT_FALSE(icon->image().isNull());
    controller->aboutBox()->grab().save(testArtefactsFolder() + QStringLiteral("/about-box.png"));
    controller->aboutBox()->hide();

    window->menuItem(MenuTag::Preferences)->trigger();
    EXPECT_TRUE(controller->preferencesPanel()->isVisible());
    controller->preferencesPanel()->hide();

    // Opening from the window's menu asks where, as from the start window.
    modal.state->panels.clear();
    window->menuItem(MenuTag::Open)->trigger();
    ASSERT_EQ(modal.state->panels.size(), 1);
    EXPECT_EQ(modal.state->panels[0].title, QStringLiteral("Open Lumenquill Website"));

    // Close from the menu asks about the changes like any close.
    modal.state->alertAnswers = {1};
    window->menuItem(MenuTag::Close)->trigger();
    ASSERT_TRUE(processEventsUntil([&] { return controller->documents().empty(); }));
    EXPECT_TRUE(modal.state->alerts.last().title.contains(QStringLiteral("\"Menus\"")));
}

TEST_F(ControllerTest, CheckForUpdatesIsACommandThatSaysWhatTheServerAnswers)
{
    LocalHttpServer server;
    ASSERT_TRUE(server.isRunning()) << server.output().toStdString();
    _defaults->setString(QStringLiteral("ServerAddress"), server.address());
    MyDocumentWindow* window = openWithNewFeedTitle(*controller, _folder.path() + QStringLiteral("/Updates.lqxl"));
    QAbstractButton* startButton = qobject_cast<QAbstractButton*>(lq::viewWithTag(controller->startWindow(), MenuTag::CheckForUpdates));
    ASSERT_NE(startButton, nullptr);
    QAction* menuItem = window->menuItem(MenuTag::CheckForUpdates);
    ASSERT_NE(menuItem, nullptr);
    EXPECT_EQ(menuItem->text(), QStringLiteral("Check for Updates…"));

    // Asked for, the check always answers: the same build, or the text of a newer one.
    const struct {
        const char* reply;
        const char* message;
    } cases[] = {{"288\n", "Lumenquill is up to date"}, {"289\nVersion 289 has a new slideshow.\n", "Version 289 has a new slideshow."}};
    for (const auto& c : cases) {
        server.serve(QStringLiteral("versions/lqupdates2.php"), QByteArray(c.reply));
        for (const std::function<void()>& ask : std::initializer_list<std::function<void()>> {
                 [&] { startButton->click(); }, [&] { menuItem->trigger(); }}) {
            modal.state->alerts.clear();
            ask();
            ASSERT_TRUE(processEventsUntil([&] { return !modal.state->alerts.isEmpty(); }, 15000)) << c.reply;
            EXPECT_EQ(modal.state->alerts[0].title, QStringLiteral("Version check"));
            EXPECT_EQ(modal.state->alerts[0].message, QString::fromUtf8(c.message));
        }
    }
    EXPECT_TRUE(server.output().contains(QStringLiteral("GET /versions/lqupdates2.php?y=288 ")));
}

TEST_F(ControllerTest, TheAboutBoxShowsTheAgreementAndOpensItInTheSystemsReader)
{
    ASSERT_TRUE(QFile::copy(QStringLiteral(LQ_TEST_RESOURCES "/SLA.rtf"), _resources.filePath(QStringLiteral("SLA.rtf"))));
    QList<QUrl> opened;
    lq::setOpenURLHandler([&](const QUrl& url) {
        opened.append(url);
        return true;
    });
    controller->menuClicked(MenuTag::About);
    ASSERT_NE(controller->agreementView(), nullptr);
    const QString agreement = controller->agreementView()->toPlainText();
    EXPECT_TRUE(agreement.startsWith(QStringLiteral("Lumenquill licence agreement\n"))) << qPrintable(agreement);
    EXPECT_TRUE(agreement.contains(QStringLiteral("without any warranty")));
    EXPECT_TRUE(controller->agreementView()->isReadOnly());
    // It opens at its beginning.
    EXPECT_EQ(controller->agreementView()->verticalScrollBar()->value(), 0);
    controller->aboutBox()->grab().save(testArtefactsFolder() + QStringLiteral("/about-box-agreement.png"));

    QPushButton* open = nullptr;
    for (QPushButton* button : controller->aboutBox()->findChildren<QPushButton*>()) {
        if (button->text() == QStringLiteral("Open Agreement…"))
            open = button;
    }
    ASSERT_NE(open, nullptr);
    open->click();
    lq::setOpenURLHandler({});
    ASSERT_EQ(opened.size(), 1);
    EXPECT_EQ(opened[0], QUrl::fromLocalFile(_resources.filePath(QStringLiteral("SLA.rtf"))));
    // Escape closes the box.
    QTest::keyClick(controller->aboutBox(), Qt::Key_Escape);
    EXPECT_FALSE(controller->aboutBox()->isVisible());
}

TEST_F(ControllerTest, TheApplicationsQueueRunsEachStepInOrderWithoutADocumentAndLogsAFailedOne)
{
    LogCapture log;
    QStringList ran;
    // A script whose steps add "<name><number>" to the list; the step of the failing number raises.
    const auto script = [&](const QString& name, int steps, int failing = 0) {
        auto processor = XmlProcessor::create();
        for (int number = 1; number <= steps; ++number) {
            auto step = RecordingStep::create({});
            step->body = [&ran, name, number, failing, raw = step.get(), owner = processor.get()] {
                EXPECT_EQ(raw->document(), nullptr);
                EXPECT_EQ(raw->parent(), owner);
                ran.append(name + QString::number(number));
                if (number == failing)
                    throw lq::Exception(QStringLiteral("NSRangeException"), QStringLiteral("index 7 beyond bounds"));
                return false;
            };
            processor->addChild(step);
        }
        return processor;
    };
    const auto drained = [&] { return processEventsUntil([&] { return controller->processors().isEmpty() && !controller->processorArmed(); }); };

    // Nothing, or a script without steps, is not queued.
    controller->startProcessor(nullptr);
    controller->startProcessor(XmlProcessor::create());
    EXPECT_TRUE(controller->processors().isEmpty());
    EXPECT_FALSE(controller->processorArmed());

    controller->startProcessor(script(QStringLiteral("a"), 3, 2));
    controller->startProcessor(script(QStringLiteral("b"), 2));
    ASSERT_TRUE(drained());
    EXPECT_EQ(ran, (QStringList {"a1", "a2", "a3", "b1", "b2"}));
    const int error = int(log.lines.indexOf(QStringLiteral("**** ERROR ****")));
    ASSERT_GE(error, 0) << qPrintable(log.lines.join(QLatin1Char('\n')));
    EXPECT_EQ(log.lines.value(error + 1), QStringLiteral("processor error: NSRangeException: index 7 beyond bounds"));

    // Stopping cancels the next turn and keeps the script; the next start runs it first.
    ran.clear();
    controller->startProcessor(script(QStringLiteral("c"), 1));
    controller->stopProcessor();
    EXPECT_FALSE(controller->processorArmed());
    EXPECT_EQ(controller->processors().size(), 1);
    controller->startProcessor(script(QStringLiteral("d"), 1));
    ASSERT_TRUE(drained());
    EXPECT_EQ(ran, (QStringList {"c1", "d1"}));

    // A controller that goes with a turn pending leaves nothing behind to run.
    controller->startProcessor(script(QStringLiteral("e"), 1));
    ASSERT_TRUE(controller->processorArmed());
    const void* gone = controller.get();
    controller.reset();
    EXPECT_EQ(lq::pendingCalls(gone, QStringLiteral("processor:")), 0);
}

} // namespace
