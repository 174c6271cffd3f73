// The document window's menus: the menu bar, the checks of its items and
// the commands they go to.
#include "ui/app/DocumentMenus.h"

#include "ui/app/DocumentCommands.h"
#include "ui/app/MenuTags.h"
#include "ui/app/MyDocumentWindow.h"
#include "ui/app/ThemeCommands.h"
#include "ui/app/VersionList.h"
#include "document/MyDocument.h"
#include "model/site/XmlSite.h"
#include "platform/ExceptionFrame.h"
#include "ui/widgets/ControlTags.h"
#include "ui/widgets/MyMenu.h"
#include "ui/widgets/MyTabView.h"

#include <QMenuBar>

namespace {

const QString Editing = QStringLiteral("Editing");

struct MenuEntry {
    int tag;                 // 0: a separator
    const char* title;
    QKeySequence shortcut;
};

struct MenuDefinition {
    const char* title;
    QList<MenuEntry> entries;
};

QList<MenuDefinition> menuDefinitions()
{
    using namespace MenuTag;
    return {
        {"&File",
            {{NewSite, "New Website…", QKeySequence::New}, {Open, "Open…", QKeySequence::Open}, {0, "", {}},
                {Close, "Close", QKeySequence::Close}, {Save, "Save", QKeySequence::Save},
                {SaveWithComment, "Save with Comment…", {}}, {SaveAs, "Save As…", QKeySequence::SaveAs},
                {Archive, "Archive…", {}}, {Versions, "Versions", {}}, {0, "", {}}, {Preferences, "Preferences…", QKeySequence::Preferences},
                {0, "", {}}, {Quit, "Quit", QKeySequence::Quit}}},
        {"&Site",
            {{AddAlbum, "Add Album Page", {}}, {AddGroup, "Add Group Page", {}}, {AddPhotos, "Add Photos…", {}}, {0, "", {}},
                {Watermark, "Watermark…", {}},
                {0, "", {}}, {Rebuild, "Rebuild Website", {}}, {Publish, "Publish", QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_P)},
                {ExportWebsite, "Export Website…", {}}, {0, "", {}}, {Activity, "Activity", {}}}},
        {"&Theme", {{ImportTheme, "Import Theme…", {}}, {ExportTheme, "Export Theme…", {}}, {Themes, "Theme Library", {}}}},
        {"Te&xt",
            {{Bold, "Bold", QKeySequence::Bold}, {Italic, "Italic", QKeySequence::Italic}, {Underline, "Underline", QKeySequence::Underline},
                {0, "", {}}, {Heading, "Heading", {}}, {Normal, "Normal", {}}, {0, "", {}}, {AlignLeft, "Align Left", {}},
                {Center, "Center", {}}, {AlignRight, "Align Right", {}}, {0, "", {}}, {Link, "Link…", {}}}},
        {"&Help",
            {{Manual, "Lumenquill Help", QKeySequence::HelpContents}, {HelpIndex, "Help Index", {}}, {Tips, "Tips and Tricks", {}},
                {TemplatesPage, "More Templates", {}}, {Supplement, "Supplement", {}}, {0, "", {}}, {ReportBug, "Report a Bug…", {}}, {CheckForUpdates, "Check for Updates…", {}},
                {0, "", {}}, {About, "About Lumenquill", {}}}},
    };
}

} // namespace

DocumentMenus::DocumentMenus(MyDocumentWindow& window)
    : _window(window)
{
}

QMenuBar* DocumentMenus::buildMenuBar()
{
    auto* menuBar = new QMenuBar(&_window);
    MyDocumentWindow* window = &_window;
    for (const MenuDefinition& definition : menuDefinitions()) {
        auto* menu = new MyMenu(QString::fromUtf8(definition.title), menuBar);
        for (const MenuEntry& entry : definition.entries) {
            if (entry.tag == 0) {
                menu->addSeparator();
                continue;
            }
            QAction* item = menu->addAction(QString::fromUtf8(entry.title));
            lq::setWidgetTag(item, entry.tag);
            item->setShortcut(entry.shortcut);
            QObject::connect(item, &QAction::triggered, window, [window, item] { DocumentMenus(*window).chooseMenuItem(item); });
        }
        // Items show what they allow while the menu is open; closed, they
        // stay enabled so that their keys reach chooseMenuItem, which checks.
        QObject::connect(menu, &QMenu::aboutToShow, window, [window, menu] { DocumentMenus(*window).validateMenu(menu); });
        QObject::connect(menu, &QMenu::aboutToHide, menu, [menu] {
            for (QAction* item : menu->actions())
                item->setEnabled(true);
        });
        menuBar->addMenu(menu);
        // The keys work wherever the focus is in the window.
        _window.addActions(menu->actions());
    }
    MyMenu::localizeMenuBar(menuBar);
    return menuBar;
}

void DocumentMenus::validateMenu(QMenu* menu)
{
    for (QAction* item : menu->actions()) {
        if (!item->isSeparator())
            item->setEnabled(validateMenuItem(item));
    }
}

bool DocumentMenus::validateMenuItem(QAction* item)
{
    const int tag = lq::widgetTag(item);
    if (MenuTag::isDocumentTag(tag))
        return adjustMenuItem(item);
    return true;
}

bool DocumentMenus::adjustMenuItem(QAction* item)
{
    return lq::uiFrame(&_window, "adjustMenuItem:", [&] {
        item->setChecked(false);
        item->setCheckable(false);
        const QString outer = _window.masterTab()->selectedIdentifier();
        const QString inner = _window.tabView()->selectedIdentifier();
        XmlSite* site = _window.document().site();
        const int currentType = _window.currentType();
        const int currentEditor = _window.currentEditor();
        using namespace MenuTag;
        switch (lq::widgetTag(item)) {
        case Save: case SaveAs: case Archive: case Versions: case SaveWithComment:
            return true;
        case Rebuild: case Publish: case ExportWebsite:
            return site && site->defaultAlbum() != nullptr;
        case Activity:
            return outer == Editing;
        case ImportTheme: case ExportTheme: case Themes:
            return outer == Editing && inner == QStringLiteral("preview");
        case AddGroup: case AddAlbum:
            return inner == QStringLiteral("content");
        case Watermark:
            return inner == QStringLiteral("content") && (currentType == 1 || currentType == 2);
        case AddPhotos:
            return inner == QStringLiteral("content") && currentEditor == 0 && currentType == 1;
        default: {
            const int state = _window.getMenuItemState(lq::widgetTag(item));
            if (state == 1) {
                item->setCheckable(true);
                item->setChecked(true);
            }
            return state == 0 || state == 1;
        }
        }
    });
}

void DocumentMenus::chooseMenuItem(QAction* item)
{
    lq::uiFrame(&_window, "menuClicked:", [&] {
        if (!validateMenuItem(item))
            return;
        const int tag = lq::widgetTag(item);
        if (MenuTag::isApplicationTag(tag))
            Q_EMIT _window.applicationMenuClicked(tag);
        else if (MenuTag::isDocumentTag(tag))
            menuClicked(tag);
        else
            windowCommand(tag);
    });
}

void DocumentMenus::windowCommand(int tag)
{
    switch (tag) {
    case MenuTag::Link: _window.easyLink(nullptr); break;
    case MenuTag::Close: _window.close(); break;
    default: break;
    }
}

void DocumentMenus::menuClicked(int tag)
{
    lq::uiFrame(&_window, "menuClicked:", [&] {
        switch (tag) {
        case MenuTag::Save:
            if (_window.saveDocument())
                _window.activate();
            break;
        case MenuTag::Rebuild:
            _window.document().rebuildEntireSite();
            _window.activate();
            break;
        case MenuTag::Publish: DocumentCommands(_window).publish(); break;
        case MenuTag::SaveAs: DocumentCommands(_window).fileSaveAs(); break;
        case MenuTag::Archive: DocumentCommands(_window).archiveDocument(); break;
        case MenuTag::Versions:
            _window.switchToContentEditor();
            _window.setMainTab(QStringLiteral("Versions"));
            _window.versionList()->refreshFiles();
            break;
        case MenuTag::SaveWithComment: DocumentCommands(_window).saveWithComment(); break;
        case MenuTag::Activity: _window.setMainTab(QStringLiteral("Activity")); break;
        case MenuTag::ImportTheme: ThemeCommands(_window).importTemplate(); break;
        case MenuTag::ExportTheme: ThemeCommands(_window).exportTemplate(); break;
        case MenuTag::Themes: ThemeCommands(_window).themes(); break;
        case MenuTag::AddGroup: _window.panel(EditorKind::Navigator)->addGroup(); break;
        case MenuTag::AddAlbum: _window.panel(EditorKind::Navigator)->addAlbum(); break;
        case MenuTag::AddPhotos: _window.panel(EditorKind::Album)->addPhotos(); break;
        case MenuTag::ExportWebsite: DocumentCommands(_window).exportWebsite(); break;
        case MenuTag::Watermark: DocumentCommands(_window).watermark(); break;
        default:
            if (MenuTag::isPanelTag(tag) && _window.currentEditor() == 0 && _window.currentType() >= 0 && _window.currentType() <= 3)
                _window.panelFor(0, _window.currentType())->menuClicked(tag);
            break;
        }
    });
}
