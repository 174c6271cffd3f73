#pragma once
#include "ui/editors/EditorHost.h"
#include "ui/editors/EditorPanel.h"

#include <QWidget>

#include <functional>
#include <memory>

class EasyLinkOpener;
class EasyLink;
class ExportController;
class LayoutControllerBase;
class DocumentSiteBuilder;
class Publisher;
class SendController;
class SendPanel;
class ThemeController;
class MyDocument;
class MyTabView;
class QAction;
class QLabel;
class QMenuBar;
class QPlainTextEdit;
class QProgressBar;
class XmlAlbum;
class XmlBase;
class XmlStyleSheet;
class QSplitter;
class QZTextEditor;
class VersionList;
namespace lq {
class UserDefaults;
}

// The window of one open site: the outer tabs "Editing", "Activity",
// "Versions", "Themes" and "Send"; inside "Editing" the site navigator, the
// editor area that shows one panel at a time, and the inner tabs "content",
// "layout" and "preview". It tracks the current object, swaps the panels
// when it changes and shows the document's edited mark.
//
// Its menu bar (made by DocumentMenus) carries the program's commands by
// tag (MenuTag): the application's go to the application controller
// (applicationMenuClicked), the document's to menuClicked, which hands the
// text commands on to the current panel. A menu checks its items as it
// opens (DocumentMenus::validateMenuItem), and every command is checked
// again when it is chosen, so a key shortcut never runs a command that is
// not available.
class MyDocumentWindow : public QWidget, public EditorHost {
    Q_OBJECT
public:
    // The window makes each panel through the services' panelFactory, and
    // for a kind it answers none of, its own: the navigator, the photo
    // editor, the text panes, and the trash, files and iPhoto panes. Its
    // layout editor comes from the services' layoutFactory; without one the
    // "layout" and "preview" tabs stay empty.
    //
    // The defaults keep the window frame ("DocWindowPos"); may be none.
    MyDocumentWindow(MyDocument& document, lq::UserDefaults* defaults, QWidget* parent = nullptr);
    ~MyDocumentWindow() override;

    MyDocument& document() override { return _document; }
    QWidget* myWindow() override { return this; }
    ExportController* exportController() { return _export; }
    // The uploader and its panel.
    SendController* sender() { return _sender.get(); }
    SendPanel* sendPanel() const { return _sendPanel; }

    // --- Set-up and close ---------------------------------------------------------
    void setSimpleMode();
    // The site's name as the window shows it ("MyWebsite" for "MyWebsite.lqxl").
    QString displayName() const;
    // Saves the document (pending panel values first); a failure is told in an alert.
    bool saveDocument();
    // The save before an export, a publication or a preview: what the open
    // editor holds is stored first, and the save adds a version only when
    // the site changed since the newest one (MyDocument::saveForPublication);
    // a failure is told in an alert.
    bool saveForPublication();
    // With unsaved changes, asks whether to save them: Save saves (and
    // answers whether that worked), Don't Save drops the changes with the
    // pictures only they used and answers true, Cancel false.
    bool shouldCloseDocument();
    bool windowShouldClose();
    // Closes the window for quitting: from any tab, asking about unsaved changes.
    bool closeForQuit();
    void windowWillClose();
    void delayedRebuildEntireSite();
    // Rebuilds the site, then calls the operation.
    void prepareForExport(std::function<void()> then);

    // --- Current object and panels ------------------------------------------
    void setCurrentObject(XmlBase* object) override;
    std::shared_ptr<XmlBase> currentObject() override;
    XmlAlbum* currentAlbum() override;
    std::shared_ptr<iPhoto> iPhotoLibrary() override;
    int currentType() const { return _currentType; }
    int currentEditor() const { return _currentEditor; }
    bool testMode() const;
    void saveEditor();
    void refreshEditor();
    void layoutDidContentEditing();
    void switchToContentEditor();
    void switchToHTMLEditor() override;
    void switchToPayPalEditor() override;
    void switchToRegularEditor() override;
    // Opens the link picker for a rich-text editor (none: the one with the
    // keyboard focus): the window's link sheet, or the picker installed in
    // its place.
    void easyLink(QZTextEditor* editor) override;
    void setEasyLinkOpener(std::unique_ptr<EasyLinkOpener> opener);
    int getMenuItemState(int tag);
    void updateNavEditor() override;
    EasyLink& easyLink() override { return *_easyLink; }
    // How many album and group pages use the template; 0 after a failure.
    int numPagesUsingStylesheet(XmlStyleSheet* sheet);
    EditorPanel* panel(EditorKind kind) const;
    // The panel the window shows for the editor (0: the regular panes, 1:
    // HTML and PayPal) and the current object's type; none for other types.
    EditorPanel* panelFor(int editorKind, int type) const;
    QWidget* lastEditView() const { return _lastEditView; }

    // --- Tabs ---------------------------------------------------------------------
    void setMainTab(const QString& identifier);
    void switchToEditMode();
    // The theme library of the "Themes" tab.
    ThemeController* themeController() const { return _themes.get(); }
    MyTabView* masterTab() const { return _masterTab; }
    MyTabView* tabView() const { return _tabView; }
    bool tabViewShouldSelectTabViewItem(MyTabView* tabs, const QString& identifier);
    void tabViewDidSelectTabViewItem(MyTabView* tabs, const QString& identifier);

    QPlainTextEdit* activityView() const { return _activity; }
    // The "Versions" tab.
    VersionList* versionList() const { return _versions; }
    // The layout editor of the "layout" and "preview" tabs, or none.
    LayoutControllerBase* layout() const { return _layout.get(); }
    QLabel* statusLine() const { return _statusLine; }
    bool progressBarHidden() const;
    // The navigator beside the editor area: at least 100 wide, at most half.
    QSplitter* splitView() const { return _split; }

    // --- Menus and commands (DocumentMenus, DocumentCommands, ThemeCommands) ------
    QMenuBar* menuBar() const { return _menuBar; }
    // The item carrying the tag, or none.
    QAction* menuItem(int tag) const;
    // Performs the document command of the tag (see DocumentMenus).
    void menuClicked(int tag);
    // The layout editor shows the tab that fits the document's mode.
    void activate();
    // Brings the theme of the file into the site (see ThemeCommands); the
    // theme library's "apply" comes here too.
    void setNewTheme(const QString& path);

Q_SIGNALS:
    // After the window closed; its owner may then let it and its document go.
    void closed(MyDocumentWindow* window);
    // A command of the application (a tag below 100) was chosen in the window's menus.
    void applicationMenuClicked(int tag);

protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    // The window's parts, in the order the constructor makes them.
    QWidget* buildTabs();
    QWidget* buildEditingTab();
    void connectDocument();
    void loadPanels();
    void windowControllerDidLoadNib(QWidget* send);

    void showActivity();
    void connectTabs(MyTabView* tabs);
    bool showsLayout() const;
    // The layout editor shows the current album page.
    void showCurrentPage();

    MyDocument& _document;
    lq::UserDefaults* _defaults;
    MyTabView* _masterTab = nullptr;
    MyTabView* _tabView = nullptr;
    QWidget* _navigator = nullptr;
    QSplitter* _split = nullptr;
    QWidget* _editor = nullptr;
    QWidget* _lastEditView = nullptr;
    QPlainTextEdit* _activity = nullptr;
    VersionList* _versions = nullptr;
    QMenuBar* _menuBar = nullptr;
    std::unique_ptr<LayoutControllerBase> _layout;
    QLabel* _statusLine = nullptr;
    QProgressBar* _progressBar = nullptr;
    ExportController* _export = nullptr;
    std::unique_ptr<SendController> _sender;
    std::unique_ptr<Publisher> _publisher;
    // Declared after the publisher, so that it goes first: its waits call the publisher.
    std::unique_ptr<DocumentSiteBuilder> _builder;
    SendPanel* _sendPanel = nullptr;
    std::unique_ptr<EditorPanel> _panels[10];
    // The window's own link sheet, and the picker a test installed in its
    // place for the panels' rich-text editors.
    std::unique_ptr<EasyLink> _easyLink;
    std::unique_ptr<EasyLinkOpener> _linkOpener;
    std::unique_ptr<ThemeController> _themes;
    std::shared_ptr<iPhoto> _iPhotoLibrary;

    QString _currentObjectUUID;
    int _currentType = -1;
    QString _currentAlbum;
    int _currentEditor = 0;
    bool _closing = false;
    bool _quitting = false;
};
