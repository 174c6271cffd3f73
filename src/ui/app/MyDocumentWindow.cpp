#include "ui/app/MyDocumentWindow.h"

#include "ui/app/DocumentMenus.h"
#include "ui/app/ExportController.h"
#include "ui/app/NotImportedSheet.h"
#include "ui/app/VersionList.h"
#include "document/LayoutControllerBase.h"
#include "document/MyDocument.h"
#include "ui/app/SendPanel.h"
#include "document/DocumentSiteBuilder.h"
#include "publish/Publisher.h"
#include "publish/SendController.h"
#include "ui/app/HostKeyQuestion.h"
#include "ui/editors/QZFiles.h"
#include "ui/editors/QZNavViewer.h"
#include "ui/editors/QZTrash.h"
#include "ui/editors/iphoto/QZiPhoto.h"
#include "ui/editors/iphoto/iPhoto.h"
#include "ui/app/ThemeCommands.h"
#include "ui/app/ThemeController.h"
#include "ui/editors/links/EasyLink.h"
#include "ui/editors/panes/QZAlbumEditor.h"
#include "ui/editors/panes/QZGroupEditor.h"
#include "ui/editors/panes/QZHtmlEditor.h"
#include "ui/editors/panes/QZPayPalEditor.h"
#include "ui/editors/panes/QZWebsiteEditor.h"
#include "ui/editors/photo/QZImageWell.h"
#include "ui/editors/text/EasyLinkOpener.h"
#include "ui/editors/text/QZTextEditor.h"
#include "ui/widgets/ControlTags.h"
#include "application/MyApplication.h"
#include "model/files/XmlFiles.h"
#include "model/site/XmlAlbum.h"
#include "model/site/XmlGroup.h"
#include "model/site/XmlHomePage.h"
#include "model/site/XmlPhoto.h"
#include "model/site/XmlSite.h"
#include "model/site/XmlTrash.h"
#include "templates/XmlStyleSheet.h"
#include "platform/DelayedCall.h"
#include "platform/ExceptionFrame.h"
#include "platform/Log.h"
#include "platform/Services.h"
#include "platform/UserDefaults.h"
#include "ui/widgets/ModalHandler.h"
#include "ui/widgets/MyTabView.h"
#include "ui/widgets/ScreenText.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QScrollBar>
#include <QSplitter>
#include <QVBoxLayout>

#include <typeinfo>

namespace {

int slot(EditorKind kind)
{
    return static_cast<int>(kind);
}

// The window's own panel of a kind: the navigator, the photo editor, the
// text panes, the trash, files and iPhoto panes.
std::unique_ptr<EditorPanel> standardPanel(EditorKind kind)
{
    switch (kind) {
    case EditorKind::Navigator: return std::make_unique<QZNavViewer>();
    case EditorKind::ImageWell: return std::make_unique<QZImageWell>();
    case EditorKind::Album: return std::make_unique<QZAlbumEditor>();
    case EditorKind::Group: return std::make_unique<QZGroupEditor>();
    case EditorKind::Website: return std::make_unique<QZWebsiteEditor>();
    case EditorKind::Html: return std::make_unique<QZHtmlEditor>();
    case EditorKind::PayPal: return std::make_unique<QZPayPalEditor>();
    case EditorKind::Trash: return std::make_unique<QZTrash>();
    case EditorKind::Files: return std::make_unique<QZFiles>();
    case EditorKind::IPhoto: return std::make_unique<QZiPhoto>();
    }
    Q_UNREACHABLE();
    return nullptr;
}

const QString Editing = QStringLiteral("Editing");

} // namespace

MyDocumentWindow::MyDocumentWindow(MyDocument& document, lq::UserDefaults* defaults, QWidget* parent)
    : QWidget(parent)
    , _document(document)
    , _defaults(defaults)
    , _easyLink(std::make_unique<EasyLink>(*this))
{
    setAttribute(Qt::WA_DeleteOnClose, false);
    auto* outer = new QVBoxLayout(this);
    _masterTab = new MyTabView(this);
    outer->addWidget(_masterTab);
    _sender = std::make_unique<SendController>(&_document);
    _sender->setHostKeyQuestion([this](const HostKey& key) { return askToTrustHostKey(this, key); });
    _sendPanel = new SendPanel(*_sender, this);
    outer->addWidget(_sendPanel);
    _publisher = std::make_unique<Publisher>(_document, *_sender);
    _builder = std::make_unique<DocumentSiteBuilder>(_document);
    _publisher->setSiteBuilder(_builder.get());

    QWidget* send = buildTabs();
    _menuBar = DocumentMenus(*this).buildMenuBar();
    outer->setMenuBar(_menuBar);
    connectDocument();
    lq::uiFrame(this, "windowControllerDidLoadNib:", [&] { windowControllerDidLoadNib(send); });
    if (_defaults && _defaults->hasKey(QStringLiteral("DocWindowPos")))
        restoreGeometry(QByteArray::fromBase64(_defaults->stringForKey(QStringLiteral("DocWindowPos")).toLatin1()));
    else
        resize(1000, 720);
}

QWidget* MyDocumentWindow::buildEditingTab()
{
    // The navigator beside the editor area, the inner tabs below.
    auto* editing = new QWidget;
    auto* editingLayout = new QVBoxLayout(editing);
    _tabView = new MyTabView(editing);
    auto* content = _split = new QSplitter(Qt::Horizontal);
    _navigator = new QWidget(content);
    new QVBoxLayout(_navigator);
    _editor = new QWidget(content);
    new QVBoxLayout(_editor);
    content->addWidget(_navigator);
    content->addWidget(_editor);
    content->setStretchFactor(1, 1);
    content->setChildrenCollapsible(false);
    _navigator->setMinimumWidth(100);
    connect(content, &QSplitter::splitterMoved, this, [content] {
        const QList<int> sizes = content->sizes();
        const int total = sizes.value(0) + sizes.value(1);
        if (sizes.size() == 2 && sizes[0] > total / 2)
            content->setSizes({total / 2, total - total / 2});
    });
    // The layout editor puts its pages in the "layout" and "preview" tabs.
    _tabView->addTabViewItem(QStringLiteral("content"), QStringLiteral("Content"), content);
    _tabView->addTabViewItem(QStringLiteral("layout"), QStringLiteral("Layout"), new QWidget);
    _tabView->addTabViewItem(QStringLiteral("preview"), QStringLiteral("Preview"), new QWidget);
    editingLayout->addWidget(_tabView);
    _statusLine = lq::plainLabel(QString(), editing);
    _progressBar = new QProgressBar(editing);
    editingLayout->addWidget(_statusLine);
    editingLayout->addWidget(_progressBar);
    return editing;
}

QWidget* MyDocumentWindow::buildTabs()
{
    QWidget* editing = buildEditingTab();
    _activity = new QPlainTextEdit;
    _activity->setReadOnly(true);
    _versions = new VersionList(_document);
    _versions->setEditModeHandler([this] { switchToEditMode(); });
    // The theme library takes the place of this one once the panels are made.
    auto* themes = new QWidget;
    auto* send = new QWidget;
    _masterTab->addTabViewItem(Editing, QStringLiteral("Editing"), editing);
    _masterTab->addTabViewItem(QStringLiteral("Activity"), QStringLiteral("Activity"), _activity);
    _masterTab->addTabViewItem(QStringLiteral("Versions"), QStringLiteral("Versions"), _versions);
    _masterTab->addTabViewItem(QStringLiteral("Themes"), QStringLiteral("Themes"), themes);
    _masterTab->addTabViewItem(QStringLiteral("Send"), QStringLiteral("Send"), send);
    _masterTab->localize();
    _tabView->localize();
    connectTabs(_masterTab);
    connectTabs(_tabView);
    return send;
}

void MyDocumentWindow::connectDocument()
{
    _document.setEditedHandler([this](bool edited) { setWindowModified(edited); });
    _document.queue().setDisplayHandler([this] { showActivity(); });
    _document.queue().setRefreshHandler([this] { refreshEditor(); });
    _document.setReloadHandler([this] {
        _currentType = 0;
        // The panes over the site's own trees find the new ones.
        for (auto kind : {EditorKind::Navigator, EditorKind::Trash, EditorKind::Files})
            _panels[slot(kind)]->setDocument(this);
        if (_layout)
            _layout->updateTemplateSelector();
        if (_document.site())
            setCurrentObject(_document.site()->homepage());
        _versions->refreshFiles();
    });
    _document.setContentEditingHandler([this] { layoutDidContentEditing(); });
    // Told after the queue's turn that ended the import, never inside it:
    // the sheet waits for the user.
    _document.setNotImportedHandler([this](const QList<lq::RefusedPicture>& refused, int given) {
        lq::performAfter(this, QStringLiteral("picturesNotImported:"), 0.0,
            [this, refused, given] { lq::uiFrame(this, "picturesNotImported:", [&] { NotImportedSheet::run(this, refused, given); }); });
    });
}

void MyDocumentWindow::loadPanels()
{
    const lq::Services& services = lq::services();
    if (services.layoutFactory)
        _layout = services.layoutFactory(*this);
    _document.setLayout(_layout.get());
    // The navigator and the panels, each given the document.
    for (int kind = 0; kind < 10; ++kind) {
        const auto editorKind = static_cast<EditorKind>(kind);
        std::unique_ptr<EditorPanel> made = services.panelFactory ? services.panelFactory(editorKind) : nullptr;
        _panels[kind] = made ? std::move(made) : standardPanel(editorKind);
    }
    QWidget* navView = _panels[slot(EditorKind::Navigator)]->superView();
    _navigator->layout()->addWidget(navView);
    for (auto kind : {EditorKind::Navigator, EditorKind::Album, EditorKind::Group, EditorKind::PayPal, EditorKind::Website,
             EditorKind::ImageWell, EditorKind::Html, EditorKind::Trash, EditorKind::Files, EditorKind::IPhoto})
        _panels[slot(kind)]->setDocument(this);
}

void MyDocumentWindow::windowControllerDidLoadNib(QWidget* send)
{
    loadPanels();
    _themes = std::make_unique<ThemeController>(*this);
    _masterTab->setViewOfItem(QStringLiteral("Themes"), _themes->view());
    _export = new ExportController(this, send);
    _export->setSender(_publisher.get());
    _export->setSiteBuilder(_builder.get());
    _publisher->addObserver(_export);

    _document.setTestMode(true);
    _currentType = -1;
    if (_document.site())
        setCurrentObject(_document.site()->homepage());
    setWindowTitle(displayName() + QStringLiteral("[*]"));
    setWindowFilePath(_document.fileName());

    if (_document.siteNeedsRebuild())
        lq::performAfter(this, QStringLiteral("delayedRebuildEntireSite:"), 3.0, [this] { delayedRebuildEntireSite(); });
    setSimpleMode();
    _statusLine->hide();
    _progressBar->hide();
    setAutoFillBackground(true);
    QPalette grey = palette();
    grey.setColor(QPalette::Window, QColor(0xe8, 0xe8, 0xe8));
    setPalette(grey);
    showActivity();
    _versions->refreshFiles();
}

MyDocumentWindow::~MyDocumentWindow()
{
    lq::cancelAll(this);
    // The tab views tell of their tabs going away while they are torn down.
    disconnect(_masterTab, nullptr, this, nullptr);
    disconnect(_tabView, nullptr, this, nullptr);
    _themes.reset();
    _document.falseAlarm(true);
    _document.setLayout(nullptr);
    _layout.reset();
    _document.setEditedHandler({});
    _document.setReloadHandler({});
    _document.setContentEditingHandler({});
    _document.setNotImportedHandler({});
    _document.queue().setDisplayHandler({});
    _document.queue().setRefreshHandler({});
    _sender->setRetryHandler({});
    if (_sender->isRunning())
        _sender->cancel();
    delete _sendPanel;
    _sendPanel = nullptr;
    // The publish panel's controller goes before its fields: the window hides
    // as it is taken down, and the field that had the focus then tells it
    // was left, to a controller whose window is no longer whole.
    _publisher->removeObserver(_export);
    delete _export;
    _export = nullptr;
    // The panels go before the views they are placed in.
    for (auto& panel : _panels)
        panel.reset();
    _linkOpener.reset();
    _easyLink.reset();
}

void MyDocumentWindow::setSimpleMode()
{
    lq::uiFrame(this, "setSimpleMode", [&] {
        const int rtl = MyApplication::instance() ? MyApplication::instance()->enableRTL() : 0;
        if (_layout)
            _layout->enableRTL(rtl);
        for (auto kind : {EditorKind::Album, EditorKind::Website, EditorKind::Group})
            _panels[slot(kind)]->enableRTL(rtl);
    });
}

bool MyDocumentWindow::windowShouldClose()
{
    if (_masterTab->selectedIdentifier() == Editing)
        return true;
    setMainTab(Editing);
    return false;
}

QString MyDocumentWindow::displayName() const
{
    return QFileInfo(_document.fileName()).completeBaseName();
}

bool MyDocumentWindow::saveDocument()
{
    return lq::uiFrame(this, "saveDocument:", [&] {
        saveEditor();
        if (_document.writeWithBackupToFile(_document.fileName()))
            return true;
        lq::runAlert(this, QStringLiteral("The website could not be saved"),
            QStringLiteral("\"") + displayName() + QStringLiteral("\" was not saved: ") + _document.lastError());
        return false;
    });
}

bool MyDocumentWindow::saveForPublication()
{
    return lq::uiFrame(this, "saveDocument", [&] {
        saveEditor();
        if (_document.saveForPublication())
            return true;
        lq::runAlert(this, QStringLiteral("The website could not be saved"),
            QStringLiteral("\"") + displayName() + QStringLiteral("\" was not saved, so it was not published: ") + _document.lastError());
        return false;
    });
}

bool MyDocumentWindow::shouldCloseDocument()
{
    saveEditor();
    if (!_document.isDocumentEdited())
        return true;
    const int choice = lq::runAlert(this, QStringLiteral("Save changes to \"") + displayName() + QStringLiteral("\" before closing?"),
        QStringLiteral("If you don't save, your changes will be lost."),
        {QStringLiteral("Save"), QStringLiteral("Don't Save"), QStringLiteral("Cancel")});
    if (choice == 0)
        return saveDocument();
    if (choice != 1)
        return false;
    _document.closeWithoutSaving();
    return true;
}

bool MyDocumentWindow::closeForQuit()
{
    _quitting = true;
    const bool closed = close();
    _quitting = false;
    return closed;
}

void MyDocumentWindow::windowWillClose()
{
    if (_defaults) {
        _defaults->setString(QStringLiteral("DocWindowPos"), QString::fromLatin1(saveGeometry().toBase64()));
        _defaults->synchronize();
    }
}

void MyDocumentWindow::closeEvent(QCloseEvent* event)
{
    // Quitting closes from any tab; a close of the window alone first returns to "Editing".
    if (_closing || (!_quitting && !windowShouldClose()) || !shouldCloseDocument()) {
        event->ignore();
        return;
    }
    _closing = true;
    windowWillClose();
    event->accept();
    Q_EMIT closed(this);
}

void MyDocumentWindow::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    if (_layout)
        _layout->layoutViewSelectedObjectRefresh();
}

void MyDocumentWindow::delayedRebuildEntireSite()
{
    lq::uiFrame(this, "delayedRebuildEntireSite:", [&] {
        lq::runAlert(this, QStringLiteral("Rebuild Website"),
            QStringLiteral("Lumenquill has detected your site needs to be rebuilt - this will optimize your file and correct any errors."));
        prepareForExport([] {});
    });
}

void MyDocumentWindow::prepareForExport(std::function<void()> then)
{
    _builder->buildSite(
        std::move(then),
        [this](const QString& why) {
            if (_export)
                _export->buildFailed(why);
        },
        {});
}

// --- Current object -----------------------------------------------------------

EditorPanel* MyDocumentWindow::panel(EditorKind kind) const
{
    return _panels[slot(kind)].get();
}

EditorPanel* MyDocumentWindow::panelFor(int editorKind, int type) const
{
    if (editorKind == 0) {
        switch (type) {
        case 0: return panel(EditorKind::Website);
        case 1: return panel(EditorKind::Album);
        case 2: return panel(EditorKind::Group);
        case 3: return panel(EditorKind::ImageWell);
        // The panes over the site's own trees follow every change too.
        case 4: return panel(EditorKind::Trash);
        case 6: return panel(EditorKind::Files);
        case 7: return panel(EditorKind::IPhoto);
        default: return nullptr;
        }
    }
    if (type == 0)
        return panel(EditorKind::Html);
    if (type == 1)
        return panel(EditorKind::PayPal);
    return nullptr;
}

void MyDocumentWindow::setCurrentObject(XmlBase* object)
{
    lq::uiFrame(this, "setCurrentObject:", [&] {
        saveEditor();
        if (_currentEditor == 0 && _currentType == 1)
            panel(EditorKind::Album)->clearLastPhotoUUID();
        if (_lastEditView) {
            _lastEditView->hide();
            _editor->layout()->removeWidget(_lastEditView);
            _lastEditView->setParent(nullptr);
            _lastEditView = nullptr;
        }
        _currentObjectUUID = object ? object->UUID() : QString();

        EditorPanel* chosen = nullptr;
        int type = _currentType;
        QString album = _currentAlbum;
        int editorKind = _currentEditor;
        if (object) {
            const std::type_info& cls = typeid(*object);
            if (cls == typeid(XmlTrash)) {
                chosen = panel(EditorKind::Trash), type = 4, album.clear(), editorKind = 0;
            } else if (cls == typeid(XmlFiles)) {
                chosen = panel(EditorKind::Files), type = 6, album.clear(), editorKind = 0;
            } else if (cls == typeid(iPhoto)) {
                // The site's row or the library itself: the pane shows the
                // document's own library.
                chosen = panel(EditorKind::IPhoto), type = 7, album.clear(), editorKind = 0;
            } else if (cls == typeid(XmlGroup)) {
                chosen = panel(EditorKind::Group), type = 2, album = object->UUID(), editorKind = 0;
            } else if (cls == typeid(XmlHomePage)) {
                chosen = panel(_currentEditor == 0 ? EditorKind::Website : EditorKind::Html), type = 0, album.clear();
            } else if (cls == typeid(XmlAlbum)) {
                chosen = panel(_currentEditor == 0 ? EditorKind::Album : EditorKind::PayPal), type = 1, album = object->UUID();
                editorKind = _currentEditor == 0 ? 0 : 1;
            } else if (dynamic_cast<XmlPhoto*>(object)) {
                chosen = panel(EditorKind::ImageWell), type = 3, editorKind = 0;
                album = object->parent() ? object->parent()->UUID() : QString();
            }
        }
        if (chosen) {
            _lastEditView = chosen->superView();
            _lastEditView->setParent(_editor);
            _editor->layout()->addWidget(_lastEditView);
            _lastEditView->show();
            _currentType = type;
            _currentAlbum = album;
            _currentEditor = editorKind;
            chosen->loadEditor();
        }
        panel(EditorKind::Navigator)->selectObject(object);
    });
}

std::shared_ptr<XmlBase> MyDocumentWindow::currentObject()
{
    XmlSite* site = _document.site();
    auto homepage = [&]() -> std::shared_ptr<XmlBase> {
        return site && site->homepage() ? site->homepage()->shared_from_this() : nullptr;
    };
    auto answer = lq::uiFrame(this, "currentObject", [&]() -> std::shared_ptr<XmlBase> {
        if (_currentType == 7)
            return iPhotoLibrary();
        if (auto live = XmlBase::UUID(_currentObjectUUID))
            return live;
        switch (_currentType) {
        case 0: return homepage();
        case 1:
        case 2: {
            XmlAlbum* album = currentAlbum();
            return album ? album->shared_from_this() : nullptr;
        }
        case 4: return site && site->trash() ? site->trash()->shared_from_this() : nullptr;
        case 6: return site && site->files() ? site->files()->shared_from_this() : nullptr;
        default: break;
        }
        _currentType = 0;
        _currentAlbum.clear();
        return homepage();
    });
    if (!answer) {
        _currentType = 0;
        _currentAlbum.clear();
        answer = homepage();
    }
    return answer;
}

std::shared_ptr<iPhoto> MyDocumentWindow::iPhotoLibrary()
{
    if (!_iPhotoLibrary) {
        _iPhotoLibrary = iPhoto::create();
        _iPhotoLibrary->importFromLibrary();
    }
    return _iPhotoLibrary;
}

XmlAlbum* MyDocumentWindow::currentAlbum()
{
    XmlSite* site = _document.site();
    if (!site)
        return nullptr;
    if (!_currentAlbum.isEmpty()) {
        if (auto* album = dynamic_cast<XmlAlbum*>(XmlBase::UUID(_currentAlbum).get()))
            return album;
    }
    return dynamic_cast<XmlAlbum*>(site->defaultAlbum().get());
}

bool MyDocumentWindow::testMode() const
{
    return _document.testMode();
}

void MyDocumentWindow::saveEditor()
{
    lq::uiFrame(this, "saveEditor", [&] {
        if (_layout)
            _layout->saveEdits();
        if (EditorPanel* current = panelFor(_currentEditor, _currentType))
            current->saveEditor();
    });
}

void MyDocumentWindow::refreshEditor()
{
    lq::uiFrame(this, "refreshEditor", [&] {
        if (_layout && showsLayout())
            _layout->refreshEditor();
        if (EditorPanel* current = panelFor(_currentEditor, _currentType))
            current->refreshEditor();
    });
}

bool MyDocumentWindow::showsLayout() const
{
    const QString shown = _tabView->selectedIdentifier();
    return shown == QStringLiteral("layout") || shown == QStringLiteral("preview");
}

void MyDocumentWindow::layoutDidContentEditing()
{
    lq::uiFrame(this, "layoutDidContentEditing", [&] {
        if (EditorPanel* current = panelFor(_currentEditor, _currentType))
            current->loadEditor();
    });
}

void MyDocumentWindow::setEasyLinkOpener(std::unique_ptr<EasyLinkOpener> opener)
{
    _linkOpener = std::move(opener);
}

void MyDocumentWindow::switchToContentEditor()
{
    _tabView->selectTabViewItemWithIdentifier(QStringLiteral("content"));
}

void MyDocumentWindow::switchToHTMLEditor()
{
    lq::uiFrame(this, "switchToHTMLEditor", [&] {
        saveEditor();
        _currentEditor = 1;
        panel(EditorKind::Html)->loadEditor();
        setCurrentObject(currentObject().get());
    });
}

void MyDocumentWindow::switchToPayPalEditor()
{
    lq::uiFrame(this, "switchToPayPalEditor", [&] {
        saveEditor();
        _currentEditor = 1;
        panel(EditorKind::PayPal)->loadEditor();
        setCurrentObject(currentObject().get());
    });
}

void MyDocumentWindow::switchToRegularEditor()
{
    lq::uiFrame(this, "switchToRegularEditor", [&] {
        saveEditor();
        _currentEditor = 0;
        panel(_currentType == 1 ? EditorKind::Album : EditorKind::Website)->loadEditor();
        setCurrentObject(currentObject().get());
    });
}

int MyDocumentWindow::getMenuItemState(int tag)
{
    if (_currentEditor != 0 || _currentType < 0 || _currentType > 3)
        return -1;
    return panelFor(0, _currentType)->getMenuItemState(tag);
}

void MyDocumentWindow::updateNavEditor()
{
    panel(EditorKind::Navigator)->reloadData();
    refreshEditor();
}

int MyDocumentWindow::numPagesUsingStylesheet(XmlStyleSheet* sheet)
{
    return lq::uiFrame(this, "numPagesUsingStylesheet:", [&] {
        int count = 0;
        if (!sheet)
            return count;
        for (const auto& item : _document.webItems()) {
            if (auto* page = dynamic_cast<XmlAlbum*>(item.get()); page && page->templateNum() == sheet->templateSeqNum())
                ++count;
        }
        return count;
    });
}

// --- Tabs -------------------------------------------------------------------------

void MyDocumentWindow::connectTabs(MyTabView* tabs)
{
    tabs->setProperty("previousIndex", tabs->currentIndex());
    connect(tabs, &QTabWidget::currentChanged, this, [this, tabs](int index) {
        const int previous = tabs->property("previousIndex").toInt();
        if (index == previous)
            return;
        const QString identifier = tabs->selectedIdentifier();
        if (!tabViewShouldSelectTabViewItem(tabs, identifier)) {
            const QSignalBlocker block(tabs);
            tabs->setCurrentIndex(previous);
            return;
        }
        tabs->setProperty("previousIndex", index);
        tabViewDidSelectTabViewItem(tabs, identifier);
    });
}

void MyDocumentWindow::setMainTab(const QString& identifier)
{
    _masterTab->selectTabViewItemWithIdentifier(identifier);
}

void MyDocumentWindow::switchToEditMode()
{
    setMainTab(Editing);
}

bool MyDocumentWindow::tabViewShouldSelectTabViewItem(MyTabView* tabs, const QString& identifier)
{
    Q_UNUSED(tabs);
    return lq::uiFrame(this, "tabView:shouldSelectTabViewItem:", [&] {
        if (_layout)
            _layout->saveEdits();
        if (identifier != QStringLiteral("layout") && identifier != QStringLiteral("preview"))
            return true;
        XmlSite* site = _document.site();
        if (site && site->defaultAlbum())
            return true;
        lq::runAlert(this, QStringLiteral("Error"),
            QStringLiteral("There are no webpages in the website.  Add a webpage before Previewing or editing Template"));
        return false;
    });
}

void MyDocumentWindow::tabViewDidSelectTabViewItem(MyTabView* tabs, const QString& identifier)
{
    // The publish panel reads its settings and folders anew when it shows.
    if (tabs == _masterTab && identifier == QStringLiteral("Send") && _export)
        _export->updateGUI();
    // The snapshots of the saves made since it last showed.
    if (tabs == _masterTab && identifier == QStringLiteral("Versions"))
        _versions->refreshFiles();
    if (tabs == _masterTab && identifier == QStringLiteral("Themes") && _themes)
        _themes->tabShown();
    if (tabs != _tabView)
        return;
    lq::uiFrame(this, "tabView:didSelectTabViewItem:", [&] {
        if (identifier == QStringLiteral("content")) {
            _statusLine->hide();
            _document.setTestMode(true);
        } else if (identifier == QStringLiteral("preview")) {
            _statusLine->show();
            saveEditor();
            _document.setTestMode(true);
            showCurrentPage();
        } else if (identifier == QStringLiteral("layout")) {
            _statusLine->hide();
            if (_layout)
                _layout->compactUI(true);
            _document.setTestMode(false);
            saveEditor();
            showCurrentPage();
        }
    });
}

void MyDocumentWindow::showCurrentPage()
{
    if (XmlAlbum* album = currentAlbum(); album && _layout)
        _layout->setPreviewPageIndex(album->UUID(), -1);
}

bool MyDocumentWindow::progressBarHidden() const
{
    return _progressBar->isHidden();
}

void MyDocumentWindow::showActivity()
{
    const QString& text = _document.activityText();
    if (_activity->toPlainText() != text) {
        _activity->setPlainText(text);
        _activity->verticalScrollBar()->setValue(_activity->verticalScrollBar()->maximum());
    }
    // While the queue works the status line tells of its head script; once
    // it is idle the line goes.
    const auto& queue = _document.queue();
    _statusLine->setText(queue.statusHidden() ? QString() : queue.statusMessage());
    _statusLine->setVisible(!queue.statusHidden());
    _progressBar->setVisible(!queue.statusHidden());
    _progressBar->setValue(static_cast<int>(queue.progress() * 100.0));
}

// --- Menus and commands -------------------------------------------------------------

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

void MyDocumentWindow::menuClicked(int tag)
{
    DocumentMenus(*this).menuClicked(tag);
}

void MyDocumentWindow::activate()
{
    if (_layout)
        _layout->activateTab(testMode());
}

void MyDocumentWindow::setNewTheme(const QString& path)
{
    ThemeCommands(*this).setNewTheme(path);
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
