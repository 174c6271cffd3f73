#pragma once
#include "ui/editors/QZArraySelectView2.h"
#include "ui/editors/XmlOutlineController.h"
#include "ui/editors/XmlOutlineView.h"
#include "ui/widgets/MyButton.h"
#include "ui/widgets/MyImageView.h"
#include "ui/widgets/MyTextField.h"

#include <QImage>
#include <QObject>
#include <QPlainTextEdit>
#include <QPointer>
#include <QString>

#include <memory>

class MyDocumentWindow;
class XmlFolder;
class XmlQVZIPFile;
class XmlStandAloneFiles;

// The "Themes" tab of a document window: the theme library of the support
// folder, a tree of folders holding theme archives (".qvzip": the theme,
// its bitmaps, an icon and a comment). The user browses it folder by
// folder, previews a theme's icon and comment, renames, moves, deletes,
// imports and exports archives, makes folders, stores the site's own theme
// in the library, and applies a library theme to the site.
//
// The library lives on disk and is read again whenever its tree reloads;
// the controller keeps no document data. The tree (LocalThemeLibrary) is
// the document's themeLibrary, folders only; the grid (ThemeViewer) shows
// the files of the chosen folder from a list of its own. Files other than
// theme archives (imported theme files of the first format, anything
// dropped in) are listed but are no themes: they show nothing, and are
// neither applied, renamed nor exported here.
//
// A theme's comment is written into its archive whenever another theme is
// shown, the folder is listed again, or the tab is left.
class ThemeController : public QObject, public XmlOutlineController {
    Q_OBJECT
public:
    // The size of a theme's icon.
    static constexpr int iconWidth = 180;
    static constexpr int iconHeight = 135;

    explicit ThemeController(MyDocumentWindow& window);
    ~ThemeController() override;

    // The tab's view, for the window to place (the tab then owns it).
    QWidget* view() const { return _view; }

    // --- Actions -------------------------------------------------------------------------
    // Lists the chosen folder in the grid and shows its first theme.
    void localThemeSelected();
    // Stores the shown theme's comment, then shows the grid's chosen theme.
    void themeViewerSelected();
    // Double click in the grid: asks for the chosen theme's new name.
    void themeViewerChangeName();
    // Delete key in the grid: deletes the shown theme after asking.
    void deleteKeyPressed();
    // An image dropped on the thumbnail becomes the shown theme's icon.
    void themeThumbnail(const QImage& image);
    // Applies the chosen theme to the site and goes back to editing.
    void selectTheme();
    // Stores the comment and goes back to editing.
    void cancel();
    void exportTheme();
    void importTheme();
    // Stores the site's own theme as a new archive in the chosen folder.
    void addThemeToLibrary();
    // Asks for a name and makes a folder beside the chosen one.
    void newFolder();
    // The tab is shown: the library is read again, the chosen folder kept.
    void tabShown();

    // Moves the theme file to the destination, asking for another name while
    // something is there; the path it went to, or "" when the user cancelled
    // or the move failed.
    QString moveFileToFile(const QString& source, const QString& destination);
    // The layout editor's template (without one, the current page's) drawn
    // and scaled down to the icon size; null when there is none.
    QImage iconOfCurrentTheme();

    // --- What the tab shows --------------------------------------------------------------
    XmlOutlineView* localThemeLibrary() const { return LocalThemeLibrary; }
    QZArraySelectView2* themeViewer() const { return ThemeViewer; }
    MyImageView* themeThumbnailView() const { return ThemeThumbnail; }
    MyTextField* themeNameField() const { return ThemeName; }
    QPlainTextEdit* comments() const { return Comments; }
    XmlStandAloneFiles* themeViewerList() const { return _themeViewerList.get(); }
    // The UUID of the theme the preview shows; "" when none is chosen.
    const QString& lastThemeUUID() const { return _lastThemeUUID; }
    // The folder chosen in the tree, or none.
    XmlFolder* selectedFolder() const;

    // --- The library tree's controller ---------------------------------------------------
    std::optional<bool> outlineViewIsItemExpandable(XmlOutlineView& view, XmlBase& item) override;
    std::optional<bool> outlineViewShouldEditTableColumnItem(XmlOutlineView& view, const QString& column, XmlBase& item) override;
    // Every folder's name can be edited: none shows greyed.
    std::optional<CellAppearance> outlineViewWillDisplayCellForTableColumnItem(XmlOutlineView& view, const QString& column, XmlBase& item) override;
    bool outlineViewSetObjectValueForTableColumnByItem(XmlOutlineView& view, const QVariant& value, const QString& column, XmlBase& item) override;
    std::optional<bool> outlineViewCanDropFilesOnItem(XmlOutlineView& view, XmlBase& target) override;
    std::optional<bool> outlineViewDropFilesOnItemChildIndex(XmlOutlineView& view, XmlBase& files, XmlBase& target, int index) override;
    std::optional<bool> outlineViewCanDropItemOnItem(XmlOutlineView& view, XmlBase& dragged, XmlBase& target) override;
    std::optional<bool> outlineViewDropItemOnItemChildIndex(XmlOutlineView& view, XmlBase& dragged, XmlBase& target, int index) override;
    void selectionChanged(XmlOutlineView& view) override;
    // The Delete key on a folder: deletes it from disk after asking.
    std::optional<bool> canDeleteObject(XmlBase& element) override;

private:
    void buildView();
    void buildButtons(QWidget* parent);
    // The theme archive of the UUID, or none.
    static XmlQVZIPFile* themeOfUUID(const QString& uuid);
    // The grid's first chosen entry, or none.
    XmlBasePtr chosenEntry() const;
    // Writes the comment field into the shown theme's archive.
    void storeShownComment();
    // Shows the theme in the preview and makes it the shown one.
    void showTheme(XmlQVZIPFile& theme);
    // Runs the theme-name sheet preset with the name; the typed name, or a
    // null string when the user cancelled.
    QString askThemeName(const QString& preset, bool alreadyExists);
    // Reads the library again, then chooses the folder of the path again
    // (none: the first folder chosen before) and lists it.
    void reloadLibrary(const QString& folderPath = QString());
    // The same once the tree has read the disk itself (after a drop or an
    // edit in the tree has returned).
    void scheduleReload(const QString& folderPath);
    void selectFolderAtPath(const QString& path);
    QString selectedFolderPath() const;
    // Copies the file into the folder under its own name, or "<name> N.qvzip"
    // from 2 on while that is taken; a failure is told.
    void importFileIntoFolder(const QString& source, const QString& folder);
    // The window's buttons that need a chosen folder or theme follow the choice.
    void updateButtons();
    // A failure the user must know of, as an alert on the window.
    void tell(const QString& title, const QString& message);

    MyDocumentWindow& _window;
    QPointer<QWidget> _view;
    QPointer<QZArraySelectView2> ThemeViewer;
    QPointer<XmlOutlineView> LocalThemeLibrary;
    QPointer<MyImageView> ThemeThumbnail;
    QPointer<MyTextField> ThemeName;
    QPointer<QPlainTextEdit> Comments;
    QPointer<MyButton> _useButton;
    QPointer<MyButton> _exportButton;
    QPointer<MyButton> _importButton;
    QPointer<MyButton> _addButton;
    std::shared_ptr<XmlStandAloneFiles> _themeViewerList;
    QString _lastThemeUUID;
    bool _reloading = false;
    // The last change of the tree's choice listed the folder already.
    bool _listedBySelection = false;
};
