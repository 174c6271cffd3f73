// The application delegate's commands: the new-site panel, the open
// documents' folders, commands without a document, the ruler unit and the
// preferences panel.
#include "document/MyDocument.h"
#include "app/MyDocumentController.h"
#include "app/MyDocumentWindow.h"
#include "app/StubEditorPanel.h"
#include "app/StartWindow.h"
#include "model/site/XmlSite.h"
#include "model/theme/XmlTheme.h"
#include "platform/Resources.h"
#include "model/application/MyApplication.h"
#include "platform/UserDefaults.h"
#include "platform/Workspace.h"
#include "platform/widgets/ControlTags.h"
#include "platform/widgets/MyCheckBox.h"
#include "platform/widgets/MyMatrix.h"
#include "platform/widgets/MyPopUpButton.h"
#include "platform/widgets/RulerUnit.h"
#include "support/SmallFilesystem.h"
#include "support/EventLoop.h"
#include "support/ui/ScriptedModalHandler.h"
#include "support/ui/StarterArchive.h"

#include <QDialog>
#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QTemporaryDir>

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
            EXPECT_TRUE(dynamic_cast<StubEditorPanel*>(window->panel(kind))->calls().contains(QStringLiteral("enableRTL:1")));
        EXPECT_FALSE(dynamic_cast<StubEditorPanel*>(window->panel(EditorKind::PayPal))->calls().contains(QStringLiteral("enableRTL:1")));
    }
}

} // namespace
