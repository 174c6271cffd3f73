// The document window's menus: the menu bar, the checks of its items and
// the document commands they perform.
#include "app/MyDocumentWindow.h"

#include "app/ExportController.h"
#include "app/MenuTags.h"
#include "publish/PublisherBase.h"
#include "app/VersionList.h"
#include "app/WatermarkSheet.h"
#include "document/LayoutControllerBase.h"
#include "document/MyDocument.h"
#include "editors/links/EasyLink.h"
#include "editors/text/EasyLinkOpener.h"
#include "editors/text/QZTextEditor.h"
#include "platform/widgets/TextView.h"
#include "imaging/XmlWatermark.h"
#include "model/site/XmlAlbum.h"
#include "model/site/XmlSite.h"
#include "platform/ExceptionFrame.h"
#include "platform/widgets/ControlTags.h"
#include "platform/widgets/ModalHandler.h"
#include "platform/widgets/MyMenu.h"
#include "platform/widgets/MyTabView.h"
#include "platform/widgets/MyTextField.h"
#include "platform/widgets/SheetBuilder.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
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

void MyDocumentWindow::buildMenuBar()
{
    _menuBar = new QMenuBar(this);
    for (const MenuDefinition& definition : menuDefinitions()) {
        auto* menu = new MyMenu(QString::fromUtf8(definition.title), _menuBar);
        for (const MenuEntry& entry : definition.entries) {
            if (entry.tag == 0) {
                menu->addSeparator();
                continue;
            }
            QAction* item = menu->addAction(QString::fromUtf8(entry.title));
            lq::setWidgetTag(item, entry.tag);
            item->setShortcut(entry.shortcut);
            connect(item, &QAction::triggered, this, [this, item] { chooseMenuItem(item); });
        }
        // Items show what they allow while the menu is open; closed, they
        // stay enabled so that their keys reach chooseMenuItem, which checks.
        connect(menu, &QMenu::aboutToShow, this, [this, menu] { validateMenu(menu); });
        connect(menu, &QMenu::aboutToHide, menu, [menu] {
            for (QAction* item : menu->actions())
                item->setEnabled(true);
        });
        _menuBar->addMenu(menu);
        // The keys work wherever the focus is in the window.
        addActions(menu->actions());
    }
    MyMenu::localizeMenuBar(_menuBar);
}

QAction* MyDocumentWindow::menuItem(int tag) const
{
    for (QAction* menu : _menuBar->actions()) {
        if (!menu->menu())
            continue;
        for (QAction* item : menu->menu()->actions()) {
            if (lq::widgetTag(item) == tag)
                return item;
        }
    }
    return nullptr;
}

void MyDocumentWindow::validateMenu(QMenu* menu)
{
    for (QAction* item : menu->actions()) {
        if (!item->isSeparator())
            item->setEnabled(validateMenuItem(item));
    }
}

bool MyDocumentWindow::validateMenuItem(QAction* item)
{
    const int tag = lq::widgetTag(item);
    if (MenuTag::isDocumentTag(tag))
        return adjustMenuItem(item);
    return true;
}

bool MyDocumentWindow::adjustMenuItem(QAction* item)
{
    return lq::uiFrame(this, "adjustMenuItem:", [&] {
        item->setChecked(false);
        item->setCheckable(false);
        const QString outer = _masterTab->selectedIdentifier();
        const QString inner = _tabView->selectedIdentifier();
        XmlSite* site = _document.site();
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
            return inner == QStringLiteral("content") && (_currentType == 1 || _currentType == 2);
        case AddPhotos:
            return inner == QStringLiteral("content") && _currentEditor == 0 && _currentType == 1;
        default: {
            const int state = getMenuItemState(lq::widgetTag(item));
            if (state == 1) {
                item->setCheckable(true);
                item->setChecked(true);
            }
            return state == 0 || state == 1;
        }
        }
    });
}

void MyDocumentWindow::chooseMenuItem(QAction* item)
{
    lq::uiFrame(this, "menuClicked:", [&] {
        if (!validateMenuItem(item))
            return;
        const int tag = lq::widgetTag(item);
        if (MenuTag::isApplicationTag(tag))
            Q_EMIT applicationMenuClicked(tag);
        else if (MenuTag::isDocumentTag(tag))
            menuClicked(tag);
        else
            windowCommand(tag);
    });
}

void MyDocumentWindow::windowCommand(int tag)
{
    switch (tag) {
    case MenuTag::Link: easyLink(nullptr); break;
    case MenuTag::Close: close(); break;
    default: break;
    }
}

void MyDocumentWindow::menuClicked(int tag)
{
    lq::uiFrame(this, "menuClicked:", [&] {
        switch (tag) {
        case MenuTag::Save:
            if (saveDocument())
                activate();
            break;
        case MenuTag::Rebuild:
            _document.rebuildEntireSite();
            activate();
            break;
        case MenuTag::Publish: publish(); break;
        case MenuTag::SaveAs: fileSaveAs(); break;
        case MenuTag::Archive: archiveDocument(); break;
        case MenuTag::Versions:
            switchToContentEditor();
            setMainTab(QStringLiteral("Versions"));
            _versions->refreshFiles();
            break;
        case MenuTag::SaveWithComment: saveWithComment(); break;
        case MenuTag::Activity: setMainTab(QStringLiteral("Activity")); break;
        case MenuTag::ImportTheme: importTemplate(); break;
        case MenuTag::ExportTheme: exportTemplate(); break;
        case MenuTag::Themes: themes(); break;
        case MenuTag::AddGroup: panel(EditorKind::Navigator)->addGroup(); break;
        case MenuTag::AddAlbum: panel(EditorKind::Navigator)->addAlbum(); break;
        case MenuTag::AddPhotos: panel(EditorKind::Album)->addPhotos(); break;
        case MenuTag::ExportWebsite: exportWebsite(); break;
        case MenuTag::Watermark: watermark(); break;
        default:
            if (MenuTag::isPanelTag(tag) && _currentEditor == 0 && _currentType >= 0 && _currentType <= 3)
                panelFor(0, _currentType)->menuClicked(tag);
            break;
        }
    });
}

lq::FilePanelRequest MyDocumentWindow::filePanel(const QString& title, const QString& prompt, const QString& nameFieldLabel)
{
    lq::FilePanelRequest request;
    request.window = this;
    request.title = title;
    request.prompt = prompt;
    request.nameFieldLabel = nameFieldLabel;
    request.folder = QDir::homePath();
    request.proposedName = QStringLiteral("Untitled");
    return request;
}

// --- Saving -----------------------------------------------------------------------------------

void MyDocumentWindow::activate()
{
    if (_layout)
        _layout->activateTab(testMode());
}

bool MyDocumentWindow::saveWithCommentText(const QString& comment)
{
    saveEditor();
    if (_document.saveFileWithComment(_document.fileName(), comment))
        return true;
    lq::runAlert(this, QStringLiteral("The website could not be saved"),
        QStringLiteral("\"") + displayName() + QStringLiteral("\" was not saved: ") + _document.lastError());
    return false;
}

void MyDocumentWindow::saveWithComment()
{
    lq::uiFrame(this, "saveWithComment", [&] {
        QDialog sheet(this);
        sheet.setWindowTitle(QStringLiteral("Save with Comment"));
        SheetBuilder fields(&sheet, this, {});
        MyTextField* SaveWithComment = fields.label(QStringLiteral("Comment")).textField(0);
        SaveWithComment->setMinimumWidth(300);
        SaveWithComment->setPlaceholderText(QStringLiteral("What this version is"));
        fields.sheetButtons(&sheet, QStringLiteral("Save"));
        if (lq::modalHandler().runSheet(&sheet) != 1)
            return;
        // The comment names a version; the edited mark stays as it was.
        const bool edited = _document.isDocumentEdited();
        if (saveWithCommentText(SaveWithComment->text()) && edited)
            _document.updateChangeCount(DocumentBase::ChangeDone);
    });
}

void MyDocumentWindow::fileSaveAs()
{
    lq::uiFrame(this, "fileSaveAs", [&] {
        lq::FilePanelRequest request = filePanel(QStringLiteral("Save File As"), QStringLiteral("Save"), QStringLiteral("Save As:"));
        request.documentExtension = QStringLiteral("lqxl");
        const QString chosen = lq::modalHandler().runSavePanel(request);
        if (chosen.isEmpty())
            return;
        const QFileInfo target(chosen);
        if (target.exists() || target.isSymLink()) {
            lq::runAlert(this, QStringLiteral("File Exists"),
                QStringLiteral("The File you select to 'Save As' already exists.  Lumenquill will not overwrite existing files."));
            return;
        }
        saveEditor();
        if (!_document.saveAs(chosen)) {
            lq::runAlert(this, QStringLiteral("The website could not be saved"),
                QStringLiteral("\"") + displayName() + QStringLiteral("\" was not saved as ") + chosen + QStringLiteral(": ")
                    + _document.lastError());
            return;
        }
        setWindowTitle(displayName() + QStringLiteral("[*]"));
        setWindowFilePath(_document.fileName());
        _versions->refreshFiles();
        activate();
    });
}

void MyDocumentWindow::archiveDocument()
{
    lq::uiFrame(this, "archiveDocument:", [&] {
        if (!saveDocument())
            return;
        activate();
        lq::FilePanelRequest request = filePanel(QStringLiteral("Archive Document"), QStringLiteral("Archive"), QStringLiteral("Archive As:"));
        request.fileTypes = {QStringLiteral("zip")};
        const QString chosen = lq::modalHandler().runSavePanel(request);
        if (chosen.isEmpty())
            return;
        // Made beside its place and moved there whole: an archive chosen to
        // be replaced is never added to, nor lost to a failure.
        const QString building = chosen + QStringLiteral(".part");
        QFile::remove(building);
        const bool made = _document.archiveDocument(building);
        if (made) {
            QFile::remove(chosen);
            QFile::rename(building, chosen);
        } else {
            QFile::remove(building);
        }
        if (!made || !QFileInfo(chosen).isFile())
            lq::runAlert(this, QStringLiteral("The website could not be archived"), chosen + QStringLiteral(": ") + _document.lastError());
    });
}

// --- Publishing ---------------------------------------------------------------------------------

bool MyDocumentWindow::saveForExport()
{
    return saveWithCommentText(QStringLiteral("Website exported"));
}

void MyDocumentWindow::publish()
{
    lq::uiFrame(this, "publish", [&] {
        if (!QFileInfo::exists(_document.fileName() + QStringLiteral("/lastbom.xmlbase"))) {
            exportWebsite();
            return;
        }
        if (!saveForExport())
            return;
        if (PublisherBase* uploader = _export->sender())
            uploader->sendChanges();
        activate();
    });
}

void MyDocumentWindow::exportWebsite()
{
    lq::uiFrame(this, "exportWebsite", [&] {
        if (!saveForExport())
            return;
        _export->exportWebsite();
        activate();
    });
}

// --- Watermark, themes, links -------------------------------------------------------------------

void MyDocumentWindow::watermark()
{
    lq::uiFrame(this, "watermark", [&] {
        XmlAlbum* page = currentAlbum();
        if (!page || !page->watermark())
            return;
        WatermarkSheet sheet(this);
        sheet.fill(*page->watermark());
        if (lq::modalHandler().runSheet(&sheet) != 1)
            return;
        const bool everyPage = sheet.target() == WatermarkSheet::EveryPage;
        QList<XmlAlbum*> targets;
        if (everyPage) {
            for (const auto& item : _document.webItems()) {
                if (auto* album = dynamic_cast<XmlAlbum*>(item.get()))
                    targets.append(album);
            }
        } else {
            targets.append(page);
        }
        for (XmlAlbum* target : targets) {
            if (target->watermark())
                sheet.applyTo(*target->watermark());
        }
        if (everyPage)
            _document.rebuildEntireSite();
        else
            _document.rebuildPhotoAlbum(page);
    });
}

void MyDocumentWindow::themes()
{
    setMainTab(QStringLiteral("Themes"));
}

void MyDocumentWindow::easyLink(QZTextEditor* editor)
{
    lq::uiFrame(this, "easyLink:", [&] {
        if (!editor)
            editor = QZTextEditor::editorOf(QApplication::focusWidget());
        EasyLinkOpener* opener = _linkOpener ? _linkOpener.get() : static_cast<EasyLinkOpener*>(_easyLink.get());
        if (editor && opener)
            opener->easyLink(editor);
    });
}
