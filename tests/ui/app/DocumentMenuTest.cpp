// The document window's menus: the items by tag and their keys, when each
// command may be chosen, where the text and navigator commands go, and the
// commands themselves: saving, publishing, the watermark and theme import.
#include "ui/app/DocumentMenus.h"
#include "ui/app/ExportController.h"
#include "ui/app/MenuTags.h"
#include "ui/app/MyDocumentWindow.h"
#include "ui/app/WatermarkSheet.h"
#include "document/MyDocument.h"
#include "model/imaging/XmlWatermark.h"
#include "model/files/XmlFiles.h"
#include "model/site/XmlAlbum.h"
#include "model/site/XmlGroup.h"
#include "model/site/XmlHomePage.h"
#include "model/site/XmlSite.h"
#include "model/site/XmlTrash.h"
#include "theme/XmlTheme.h"
#include "pipeline/XmlProcessor.h"
#include "platform/FileHelpers.h"
#include "platform/Zip.h"
#include "ui/widgets/MyColorWell.h"
#include "ui/widgets/MyMatrix.h"
#include "ui/widgets/MyPopUpButton.h"
#include "ui/widgets/MySlider.h"
#include "ui/widgets/MyTabView.h"
#include "ui/widgets/MyTextField.h"
#include "support/TestFiles.h"
#include "support/TestPictures.h"
#include "support/ZipListing.h"
#include "support/ui/FakeSender.h"
#include "support/ui/SheetButtons.h"
#include "support/ui/StarterSiteWindow.h"
#include "templates/XmlCSSImage.h"
#include "templates/XmlStyleSheet.h"

#include <QAction>
#include <QDialog>
#include <QDir>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

class DocumentMenuTest : public StarterSiteWindowTest {
protected:
    QAction* item(int tag)
    {
        QAction* found = window->menuItem(tag);
        EXPECT_NE(found, nullptr) << tag;
        return found;
    }
    bool enabled(int tag) { return DocumentMenus(*window).validateMenuItem(item(tag)); }
    int snapshotCount() const { return static_cast<int>(lq::folderEntries(folder + QStringLiteral("/revert")).size()); }
};

TEST_F(DocumentMenuTest, TheMenusCarryTheCommandsByTagAndTheApplicationsGoToTheApplication)
{
    using namespace MenuTag;
    for (int tag : {NewSite, Open, Preferences, About, Manual, ReportBug, Quit, Tips, TemplatesPage, Supplement, HelpIndex, Save, Rebuild,
             Publish, SaveAs, Archive, Versions, SaveWithComment, Activity, ImportTheme, ExportTheme, Themes, AddGroup, AddAlbum,
             ExportWebsite, Watermark, Bold, Italic, Underline, Heading, Normal, AlignLeft, Center, AlignRight, Link, Close})
        EXPECT_NE(window->menuItem(tag), nullptr) << tag;
    EXPECT_EQ(item(Save)->shortcut(), QKeySequence(QKeySequence::Save));
    EXPECT_EQ(item(Quit)->shortcut(), QKeySequence(QKeySequence::Quit));

    QList<int> application;
    QObject::connect(window.get(), &MyDocumentWindow::applicationMenuClicked, [&](int tag) { application.append(tag); });
    item(Preferences)->trigger();
    item(Quit)->trigger();
    item(Activity)->trigger();
    EXPECT_EQ(application, (QList<int>{Preferences, Quit}));
    EXPECT_EQ(window->masterTab()->selectedIdentifier(), QStringLiteral("Activity"));
}

TEST_F(DocumentMenuTest, CommandsAreAvailableByTabAndByWhatIsShown)
{
    using namespace MenuTag;
    const auto photos = page(QStringLiteral("Photos"));
    struct Case {
        const char* what;
        std::function<void()> arrange;
        QList<int> on;
        QList<int> off;
    };
    const QList<Case> cases = {
        {"the home page on the content tab", [&] { window->setCurrentObject(document.site()->homepage()); },
            {Save, SaveAs, Archive, Versions, SaveWithComment, Rebuild, Publish, ExportWebsite, Activity, AddGroup, AddAlbum},
            {ImportTheme, ExportTheme, Themes, Watermark}},
        {"an album page on the content tab", [&] { window->setCurrentObject(photos.get()); }, {Watermark, AddAlbum}, {ImportTheme}},
        {"the preview", [&] { window->tabView()->selectTabViewItemWithIdentifier(QStringLiteral("preview")); },
            {ImportTheme, ExportTheme, Themes, Activity}, {AddGroup, AddAlbum, Watermark}},
        {"the layout", [&] { window->tabView()->selectTabViewItemWithIdentifier(QStringLiteral("layout")); }, {Activity},
            {ImportTheme, ExportTheme, Themes, AddGroup}},
        {"the Activity tab over the preview",
            [&] {
                window->tabView()->selectTabViewItemWithIdentifier(QStringLiteral("preview"));
                window->setMainTab(QStringLiteral("Activity"));
            },
            {Save, Publish}, {Activity, ImportTheme, ExportTheme, Themes}},
        {"a site without pages",
            [&] {
                window->setMainTab(QStringLiteral("Editing"));
                window->tabView()->selectTabViewItemWithIdentifier(QStringLiteral("content"));
                for (const auto& item : document.site()->homepage()->childrenOfType<XmlAlbum>())
                    document.site()->homepage()->removeChild(item.get());
            },
            {Save, AddAlbum}, {Rebuild, Publish, ExportWebsite}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        c.arrange();
        for (int tag : c.on)
            EXPECT_TRUE(enabled(tag)) << tag;
        for (int tag : c.off)
            EXPECT_FALSE(enabled(tag)) << tag;
    }
}

TEST_F(DocumentMenuTest, TextCommandsFollowTheCurrentPanel)
{
    using namespace MenuTag;
    const auto photos = page(QStringLiteral("Photos"));
    window->setCurrentObject(photos.get());
    RecordingEditorPanel* album = panel(EditorKind::Album);
    struct Case {
        int state;
        bool enabled;
        bool checked;
    };
    for (const Case& c : {Case{0, true, false}, Case{1, true, true}, Case{-1, false, false}, Case{2, false, false}}) {
        SCOPED_TRACE(c.state);
        album->menuState = c.state;
        EXPECT_EQ(enabled(Italic), c.enabled);
        EXPECT_EQ(item(Italic)->isChecked(), c.checked);
    }
    album->menuState = 0;
    item(Bold)->trigger();
    item(AlignRight)->trigger();
    EXPECT_TRUE(album->calls().contains(QStringLiteral("menuClicked:200")));
    EXPECT_TRUE(album->calls().contains(QStringLiteral("menuClicked:207")));

    // The PayPal panel and the trash take no text commands.
    const auto textCommands = [&] {
        int count = 0;
        for (auto kind : {EditorKind::Album, EditorKind::PayPal, EditorKind::Trash})
            count += static_cast<int>(panel(kind)->calls().filter(QStringLiteral("menuClicked:")).size());
        return count;
    };
    const int given = textCommands();
    window->switchToPayPalEditor();
    EXPECT_FALSE(enabled(Bold));
    window->menuClicked(Bold);
    window->setCurrentObject(document.site()->trash());
    EXPECT_FALSE(enabled(Bold));
    window->menuClicked(Underline);
    EXPECT_EQ(textCommands(), given);

    // New pages come from the navigator.
    item(AddGroup)->trigger();
    item(AddAlbum)->trigger();
    const QStringList navigator = panel(EditorKind::Navigator)->calls();
    EXPECT_EQ(navigator.filter(QStringLiteral("add")), (QStringList{QStringLiteral("addGroup"), QStringLiteral("addAlbum")}));
}

TEST_F(DocumentMenuTest, AMenuShowsWhatItAllowsAndAKeyIsCheckedWhenUsed)
{
    QAction* importTheme = item(MenuTag::ImportTheme);
    QMenu* themeMenu = nullptr;
    for (QAction* top : window->menuBar()->actions()) {
        if (top->menu() && top->menu()->actions().contains(importTheme))
            themeMenu = top->menu();
    }
    ASSERT_NE(themeMenu, nullptr);
    Q_EMIT themeMenu->aboutToShow();
    EXPECT_FALSE(importTheme->isEnabled());
    Q_EMIT themeMenu->aboutToHide();
    EXPECT_TRUE(importTheme->isEnabled());
    // Chosen while not available (a key), it does nothing.
    importTheme->trigger();
    EXPECT_TRUE(modal.state->panels.isEmpty());
    // Available on the preview, it asks for the theme.
    window->tabView()->selectTabViewItemWithIdentifier(QStringLiteral("preview"));
    importTheme->trigger();
    ASSERT_EQ(modal.state->panels.size(), 1);
    EXPECT_EQ(modal.state->panels[0].title, QStringLiteral("Import Theme"));
    EXPECT_EQ(modal.state->panels[0].fileTypes, (QStringList{QStringLiteral("qvzip"), QStringLiteral("lqtm")}));
}

TEST_F(DocumentMenuTest, PublishSendsTheChangesOnceTheSiteWasPublishedAndOpensThePanelBefore)
{
    FakeSender sender;
    window->exportController()->setSender(&sender);
    // A change the site file holds (the home page's name is never written).
    page(QStringLiteral("About"))->setName(QStringLiteral("Changed"));

    // Never published: the publish panel, after a save.
    const int before = snapshotCount();
    window->menuClicked(MenuTag::Publish);
    EXPECT_EQ(window->masterTab()->selectedIdentifier(), QStringLiteral("Send"));
    EXPECT_TRUE(sender.calls.isEmpty());
    EXPECT_EQ(snapshotCount(), before + 1);
    EXPECT_EQ(unzipComment(newestSnapshot()), QStringLiteral("Website exported"));
    EXPECT_FALSE(document.isDocumentEdited());

    // Published before: saved, and the changes go at once.
    window->setMainTab(QStringLiteral("Editing"));
    writeAll(folder + QStringLiteral("/lastbom.xmlbase"), "<xmld/>");
    page(QStringLiteral("Changed"))->setName(QStringLiteral("Changed again"));
    window->menuClicked(MenuTag::Publish);
    EXPECT_EQ(sender.calls, QStringList{QStringLiteral("sendChanges")});
    EXPECT_EQ(snapshotCount(), before + 2);
    EXPECT_EQ(unzipComment(newestSnapshot()), QStringLiteral("Website exported"));
    EXPECT_FALSE(document.isDocumentEdited());
    EXPECT_FALSE(window->isWindowModified());

    // Published again with nothing changed: sent, and no version added.
    window->menuClicked(MenuTag::Publish);
    EXPECT_EQ(sender.calls, (QStringList{QStringLiteral("sendChanges"), QStringLiteral("sendChanges")}));
    EXPECT_EQ(snapshotCount(), before + 2);
    window->exportController()->setSender(nullptr);
}

TEST_F(DocumentMenuTest, SaveWithCommentKeepsTheEditedMarkAndSaveClearsIt)
{
    page(QStringLiteral("About"))->setName(QStringLiteral("Edited"));
    ASSERT_TRUE(document.isDocumentEdited());
    const int before = snapshotCount();

    // Escape and Cancel save nothing.
    for (Qt::Key key : {Qt::Key_Escape}) {
        modal.state->sheetAnswer = [key](QDialog* sheet) { return pressKey(sheet, key); };
        window->menuClicked(MenuTag::SaveWithComment);
    }
    modal.state->sheetAnswer = [](QDialog* sheet) { return pressButton(sheet, QStringLiteral("Cancel")); };
    window->menuClicked(MenuTag::SaveWithComment);
    EXPECT_EQ(snapshotCount(), before);

    // Typed and confirmed with Return.
    modal.state->sheetAnswer = [](QDialog* sheet) {
        sheet->findChild<MyTextField*>()->setText(QStringLiteral("v2"));
        return pressKey(sheet, Qt::Key_Return);
    };
    window->menuClicked(MenuTag::SaveWithComment);
    EXPECT_EQ(snapshotCount(), before + 1);
    EXPECT_EQ(unzipComment(newestSnapshot()), QStringLiteral("v2"));
    EXPECT_TRUE(document.isDocumentEdited());
    EXPECT_TRUE(window->isWindowModified());
    MyDocument saved;
    ASSERT_TRUE(saved.readFromFile(folder));
    QStringList names;
    for (const XmlBasePtr& item : saved.webItems())
        names.append(item->name());
    EXPECT_TRUE(names.contains(QStringLiteral("Edited"))) << names.join(QLatin1Char(',')).toStdString();

    window->menuClicked(MenuTag::Save);
    EXPECT_EQ(snapshotCount(), before + 2);
    EXPECT_EQ(unzipComment(newestSnapshot()), QString());
    EXPECT_FALSE(document.isDocumentEdited());
    EXPECT_FALSE(window->isWindowModified());
}

TEST_F(DocumentMenuTest, TheWatermarkGoesOnThePageOrOnEveryPageAndRebuildsWhatChanged)
{
    const auto photos = page(QStringLiteral("Photos"));
    auto group = XmlGroup::create();
    group->setName(QStringLiteral("Travels"));
    document.site()->homepage()->addChild(group);
    const QString picture = work.filePath(QStringLiteral("red.jpg"));
    writeAll(picture, jpegBytes(160, 120, Qt::red, 90));
    ASSERT_NE(photos->importPhotoIndexCaption(picture, -1, QString()), nullptr);
    photos->watermark()->setPlacement(7);
    window->setCurrentObject(photos.get());
    ASSERT_TRUE(enabled(MenuTag::Watermark));

    // The sheet shows the page's watermark; placement 7 shows as the first item.
    int shownItem = -1;
    modal.state->sheetAnswer = [&](QDialog* sheet) {
        shownItem = static_cast<WatermarkSheet*>(sheet)->type()->currentIndex();
        return pressKey(sheet, Qt::Key_Return);
    };
    window->menuClicked(MenuTag::Watermark);
    EXPECT_EQ(shownItem, 0);
    EXPECT_EQ(photos->watermark()->placement(), 0);
    document.queue().cancelActivity();

    struct Case {
        const char* what;
        WatermarkSheet::Target target;
        int item;
        int placement;
        int size;
        bool everyPage;
        QString status;
    };
    const QList<Case> cases = {
        {"this page", WatermarkSheet::CurrentPage, 3, 5, 50, false, QStringLiteral("")},
        {"every page, groups included", WatermarkSheet::EveryPage, 5, 4, 25, true, QStringLiteral("Rebuilding site...")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const QString text = QStringLiteral("© Ann ") + QString::fromLatin1(c.what);
        modal.state->sheetAnswer = [&](QDialog* shown) {
            auto* sheet = static_cast<WatermarkSheet*>(shown);
            sheet->text()->setText(text);
            sheet->type()->setCurrentIndex(c.item);
            sheet->textColor()->setColor(QColor(255, 0, 0));
            sheet->opacity()->setValue(40);
            sheet->toWhat()->selectCellWithTag(c.target);
            return pressButton(sheet, QStringLiteral("Apply"));
        };
        window->menuClicked(MenuTag::Watermark);
        for (const auto& item : document.webItems()) {
            auto* album = dynamic_cast<XmlAlbum*>(item.get());
            if (!album)
                continue;
            SCOPED_TRACE(album->name().toStdString());
            const bool changed = c.everyPage || album == photos.get();
            EXPECT_EQ(album->watermark()->content() == text, changed);
            if (changed) {
                EXPECT_EQ(album->watermark()->placement(), c.placement);
                EXPECT_EQ(album->watermark()->variableSizeText(), c.size);
                EXPECT_NEAR(album->watermark()->textAlpha(), 0.4f, 0.001f);
                EXPECT_NEAR(album->watermark()->textColorWithoutAlpha().r, 1.0f, 0.001f);
            }
        }
        ASSERT_FALSE(document.queue().processors().isEmpty());
        if (!c.status.isEmpty()) {
            EXPECT_EQ(document.queue().processors().last()->statusMessage(), c.status);
        }
        document.queue().cancelActivity();
    }

    // Cancel changes nothing.
    const QString before = photos->watermark()->createXml();
    modal.state->sheetAnswer = [](QDialog* sheet) {
        static_cast<WatermarkSheet*>(sheet)->text()->setText(QStringLiteral("never"));
        return pressKey(sheet, Qt::Key_Escape);
    };
    window->menuClicked(MenuTag::Watermark);
    EXPECT_EQ(photos->watermark()->createXml(), before);
}

TEST_F(DocumentMenuTest, TheWatermarkKeepsAnOpacityTheSliderWasNotMovedFrom)
{
    const auto photos = page(QStringLiteral("Photos"));
    window->setCurrentObject(photos.get());
    struct Case {
        const char* what;
        int moveTo; // -1: the slider is left alone
        float alpha;
    };
    const Case cases[] = {
        {"confirmed unchanged", -1, 0.333f},
        {"moved and put back", 33, 0.333f},
        {"moved", 34, 0.34f},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        photos->watermark()->setTextAlpha(0.333f);
        modal.state->sheetAnswer = [&](QDialog* shown) {
            auto* sheet = static_cast<WatermarkSheet*>(shown);
            EXPECT_EQ(sheet->opacity()->value(), 33);
            if (c.moveTo >= 0) {
                sheet->opacity()->setValue(50);
                sheet->opacity()->setValue(c.moveTo);
            }
            return pressKey(sheet, Qt::Key_Return);
        };
        window->menuClicked(MenuTag::Watermark);
        EXPECT_FLOAT_EQ(photos->watermark()->textAlpha(), c.alpha);
        document.queue().cancelActivity();
    }
}

// --- Theme import -------------------------------------------------------------------------------

class ThemeImportTest : public DocumentMenuTest {
protected:
    // A theme of copies of the site's first template under new names, as
    // the text of its "theme.xmlbase"; the first shows the PNG picture of
    // the name (in "bitmaps2") as its background, when one is named.
    QByteArray themeText(const QStringList& names, bool autoAdd, const QString& picture = QString())
    {
        auto theme = XmlTheme::create();
        for (const QString& name : names) {
            auto sheet = std::dynamic_pointer_cast<XmlStyleSheet>(document.defaultTemplate()->copyWithZone());
            sheet->setName(name);
            if (!picture.isEmpty() && theme->children().isEmpty()) {
                auto background = XmlCSSImage::create();
                background->setIType(2);
                background->setImageUUID(picture);
                sheet->setImage(background);
                sheet->setBkgnd(2);
            }
            theme->addTemplate(sheet);
        }
        QByteArray text = theme->createXml().toUtf8();
        if (autoAdd)
            text.replace("<theme", "<theme autoAdd=\"1\"");
        return text;
    }
    // A theme archive of the files, zipped by the zip tool.
    QString themeArchive(const QString& name, const QList<QPair<QString, QByteArray>>& files)
    {
        const QString made = work.filePath(QStringLiteral("made-") + name);
        for (const auto& [path, bytes] : files)
            writeAll(made + QLatin1Char('/') + path, bytes);
        const QString archive = work.filePath(name + QStringLiteral(".qvzip"));
        for (const QString& entry : lq::folderEntries(made))
            EXPECT_TRUE(lq::zipAdd(archive, made, entry, true));
        return archive;
    }
    QStringList templateNames() const
    {
        QStringList names;
        for (const auto& sheet : document.theme()->childrenOfType<XmlStyleSheet>())
            names.append(sheet->name());
        return names;
    }
    QHash<QString, int> pageTemplates()
    {
        QHash<QString, int> numbers;
        for (const auto& item : document.webItems()) {
            if (auto* album = dynamic_cast<XmlAlbum*>(item.get()))
                numbers.insert(album->name(), album->templateNum());
        }
        return numbers;
    }
};

TEST_F(ThemeImportTest, AThemeThatAddsItselfAppendsItsTemplatesAndThePagesKeepTheirs)
{
    const QStringList own = templateNames();
    const QHash<QString, int> pages = pageTemplates();
    const int next = document.theme()->peekTemplateSeqNumber();
    const QString archive = themeArchive(QStringLiteral("Extra"),
        {{QStringLiteral("theme.xmlbase"), themeText({QStringLiteral("Imported A"), QStringLiteral("Imported B")}, true, QStringLiteral("FEDCBA9876543210"))},
            {QStringLiteral("bitmaps2/FEDCBA9876543210.png"), encoded(solid(8, 8, Qt::blue), "PNG")}});
    modal.state->sheetAnswer = [](QDialog*) -> int {
        ADD_FAILURE() << "a theme that adds itself asks nothing";
        return 0;
    };
    const int snapshots = snapshotCount();
    window->setNewTheme(archive);
    EXPECT_EQ(templateNames(), (own + QStringList{QStringLiteral("Imported A"), QStringLiteral("Imported B")}));
    const auto sheets = document.theme()->childrenOfType<XmlStyleSheet>();
    EXPECT_EQ(sheets[sheets.size() - 2]->templateSeqNum(), next);
    EXPECT_EQ(sheets.last()->templateSeqNum(), next + 1);
    EXPECT_EQ(pageTemplates(), pages);
    EXPECT_TRUE(QFileInfo(folder + QStringLiteral("/bitmaps2/FEDCBA9876543210.png")).isFile());
    // The site before the theme stays among the versions; the templates are
    // saved with the pictures they came with, in one change.
    EXPECT_EQ(snapshotCount(), snapshots + 2);
    EXPECT_EQ(unzipComment(newestSnapshot()), QStringLiteral("Theme imported"));
    EXPECT_FALSE(document.isDocumentEdited());
    MyDocument saved;
    ASSERT_TRUE(saved.readFromFile(folder)) << saved.lastError().toStdString();
    EXPECT_EQ(saved.theme()->childrenOfType<XmlStyleSheet>().size(), sheets.size());
}

TEST_F(ThemeImportTest, ReplacingGivesEveryPageTheFirstTemplateOfTheNewTheme)
{
    // The same theme as an archive that asks, and as a theme file of the first format.
    const QByteArray text = themeText({QStringLiteral("Fresh"), QStringLiteral("Fresher")}, false);
    QByteArray legacy = text;
    legacy.replace("<theme", "<QZtheme").replace("</theme>", "</QZtheme>");
    const QString lqtm = work.filePath(QStringLiteral("Old.lqtm"));
    writeAll(lqtm, legacy);
    struct Case {
        const char* what;
        QString path;
        bool asks;
    };
    const QList<Case> cases = {
        {"a theme archive", themeArchive(QStringLiteral("Fresh"), {{QStringLiteral("theme.xmlbase"), text}}), true},
        {"a theme file of the first format", lqtm, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        int asked = 0;
        QString question;
        modal.state->sheetAnswer = [&](QDialog* sheet) {
            ++asked;
            for (const QLabel* label : sheet->findChildren<QLabel*>())
                question += label->text();
            return pressButton(sheet, QStringLiteral("Replace"));
        };
        window->setNewTheme(c.path);
        // The question tells what replacing costs: the templates and their changes.
        if (c.asks)
            EXPECT_TRUE(question.contains(QStringLiteral("discards the website's templates with every change made to them")))
                << question.toStdString();
        EXPECT_EQ(asked, c.asks ? 1 : 0);
        ASSERT_EQ(templateNames(), (QStringList{QStringLiteral("Fresh"), QStringLiteral("Fresher")}));
        XmlStyleSheet* first = document.defaultTemplate();
        for (const auto& item : document.webItems()) {
            auto* album = dynamic_cast<XmlAlbum*>(item.get());
            ASSERT_NE(album, nullptr);
            EXPECT_EQ(album->templateNum(), 0) << album->name().toStdString();
            EXPECT_EQ(album->templateUUID(), first->UUID()) << album->name().toStdString();
            EXPECT_EQ(album->getTemplate().get(), first) << album->name().toStdString();
        }
        EXPECT_EQ(document.theme()->rootDir(), folder);
        // Saved, the site reads back with the new theme.
        window->menuClicked(MenuTag::Save);
        MyDocument saved;
        ASSERT_TRUE(saved.readFromFile(folder));
        EXPECT_EQ(saved.theme()->numberChildren(), 2);
    }
}

TEST_F(ThemeImportTest, AHostileArchiveChangesNothingOutsideTheTheme)
{
    writeAll(folder + QStringLiteral("/files/logo.png"), encoded(solid(8, 8, Qt::green), "PNG"));
    writeAll(folder + QStringLiteral("/homepage/index.html"), "<p>mine</p>");
    window->menuClicked(MenuTag::Save);
    const QString archive = themeArchive(QStringLiteral("Hostile"),
        {{QStringLiteral("theme.xmlbase"), themeText({QStringLiteral("Trojan")}, true)},
            {QStringLiteral("site.xmlbase"), "<QZsite evil=\"1\"/>"}, {QStringLiteral("location.xmlbase"), "<QZlocation evil=\"1\"/>"},
            {QStringLiteral("lastbom.xmlbase"), "<xmld evil=\"1\"/>"}, {QStringLiteral("homepage/index.html"), "<p>evil</p>"},
            {QStringLiteral("pictures/image1.jpg"), jpegBytes(20, 20, Qt::black)},
            {QStringLiteral("files/logo.png"), encoded(solid(8, 8, Qt::black), "PNG")},
            {QStringLiteral("files/extra.txt"), "a file the theme brings"}});
    QHash<QString, QByteArray> before;
    for (const QString& path : lq::folderEntries(folder, true)) {
        if (!path.startsWith(QStringLiteral("revert/")) && QFileInfo(folder + QLatin1Char('/') + path).isFile())
            before.insert(path, readAll(folder + QLatin1Char('/') + path));
    }
    window->setNewTheme(archive);
    EXPECT_TRUE(templateNames().contains(QStringLiteral("Trojan")));
    QStringList added;
    for (const QString& path : lq::folderEntries(folder, true)) {
        // The import saves the site with the theme's templates.
        if (path.startsWith(QStringLiteral("revert/")) || path == QStringLiteral("theme.xmlbase")
            || !QFileInfo(folder + QLatin1Char('/') + path).isFile())
            continue;
        if (!before.contains(path))
            added.append(path);
        else
            EXPECT_EQ(readAll(folder + QLatin1Char('/') + path), before.value(path)) << path.toStdString();
    }
    EXPECT_EQ(added, QStringList{QStringLiteral("files/extra.txt")});
    EXPECT_FALSE(QFileInfo::exists(folder + QStringLiteral("/lastbom.xmlbase")));
    // The file the site keeps is named, and the files tree shows the new one.
    ASSERT_EQ(modal.state->alerts.size(), 1);
    EXPECT_TRUE(modal.state->alerts[0].message.contains(QStringLiteral("files/logo.png")));
    const auto isExtra = [](const XmlBase& file) { return file.name() == QStringLiteral("extra.txt"); };
    EXPECT_NE(document.site()->files()->firstChildOfType<XmlBase>(isExtra), nullptr);
}

TEST_F(ThemeImportTest, AThemeThatCannotComeInWholeIsNotAppliedAndTheAlertSaysWhy)
{
    // The site's bitmaps folder is a link to a folder outside the site.
    const QString outside = work.filePath(QStringLiteral("outside"));
    ASSERT_TRUE(QDir().mkpath(outside));
    ASSERT_TRUE(lq::removeItem(folder + QStringLiteral("/bitmaps2")));
    ASSERT_TRUE(QFile::link(outside, folder + QStringLiteral("/bitmaps2")));
    const QStringList own = templateNames();
    const QString archive = themeArchive(QStringLiteral("Pictured"),
        {{QStringLiteral("theme.xmlbase"), themeText({QStringLiteral("Pictured")}, true)},
            {QStringLiteral("bitmaps2/00000000000000AB.png"), encoded(solid(8, 8, Qt::blue), "PNG")},
            {QStringLiteral("files/extra.txt"), "a file the theme brings"}});
    window->setNewTheme(archive);
    EXPECT_EQ(templateNames(), own);
    EXPECT_TRUE(lq::folderEntries(outside).isEmpty());
    EXPECT_FALSE(QFileInfo::exists(folder + QStringLiteral("/files/extra.txt")));
    ASSERT_EQ(modal.state->alerts.size(), 1);
    EXPECT_EQ(modal.state->alerts[0].title, QStringLiteral("The theme could not be imported"));
    EXPECT_TRUE(modal.state->alerts[0].message.contains(folder + QStringLiteral("/bitmaps2 is a link, which is never followed"))) << modal.state->alerts[0].message.toStdString();
}

TEST_F(ThemeImportTest, CancelOrSomethingThatIsNoThemeLeavesTheSiteAsItWas)
{
    const QStringList own = templateNames();
    const QString archive = themeArchive(QStringLiteral("Asks"),
        {{QStringLiteral("theme.xmlbase"), themeText({QStringLiteral("Unwanted")}, false)},
            {QStringLiteral("bitmaps2/0000000000000001.png"), encoded(solid(8, 8, Qt::blue), "PNG")}});
    modal.state->sheetAnswer = [](QDialog* sheet) { return pressKey(sheet, Qt::Key_Escape); };
    window->setNewTheme(archive);
    EXPECT_EQ(templateNames(), own);
    EXPECT_FALSE(QFileInfo::exists(folder + QStringLiteral("/bitmaps2/0000000000000001.png")));

    const int snapshots = snapshotCount();
    writeAll(work.filePath(QStringLiteral("notes.txt")), "no theme");
    window->setNewTheme(work.filePath(QStringLiteral("notes.txt")));
    EXPECT_EQ(templateNames(), own);
    EXPECT_EQ(snapshotCount(), snapshots);
    ASSERT_FALSE(modal.state->alerts.isEmpty());
    EXPECT_EQ(modal.state->alerts.last().title, QStringLiteral("Not a theme"));
}

} // namespace
