#include "ui/app/ThemeController.h"

#include "model/core/ElementFiles.h"
#include "ui/app/MyDocumentWindow.h"
#include "document/LayoutControllerBase.h"
#include "document/MyDocument.h"
#include "ui/editors/QZArraySelectView2.h"
#include "ui/editors/XmlOutlineView.h"
#include "model/imaging/XmlImage.h"
#include "model/files/XmlFile.h"
#include "model/files/XmlFolder.h"
#include "model/files/XmlQVZIPFile.h"
#include "model/files/XmlStandAloneFiles.h"
#include "model/site/XmlAlbum.h"
#include "theme/XmlTheme.h"
#include "platform/ExceptionFrame.h"
#include "platform/FileHelpers.h"
#include "platform/Strings.h"
#include "platform/Zip.h"
#include "platform/graphics/GraphicsImage.h"
#include "ui/widgets/ModalHandler.h"
#include "ui/widgets/MyButton.h"
#include "ui/widgets/MyImageView.h"
#include "ui/widgets/MyLabel.h"
#include "ui/widgets/MyTextField.h"
#include "ui/widgets/SheetBuilder.h"
#include "templates/XmlStyleSheet.h"
#include "ui/widgets/ScreenText.h"

#include <QDialog>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QPlainTextEdit>
#include <QScrollArea>
#include <QSplitter>
#include <QTemporaryDir>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>
#include <functional>
#include <typeinfo>
#include <utility>

namespace {

const QString themeExtension = QStringLiteral("qvzip");
// What the import panel offers: theme archives and the older single-file themes.
const QStringList themeFileTypes = {themeExtension, QStringLiteral("lqtm")};

bool exists(const QString& path)
{
    const QFileInfo entry(path);
    return entry.exists() || entry.isSymLink();
}

// "<path without its extension> N.qvzip" from 2 on, while the path is taken:
// nothing brought into the library replaces a theme.
QString freePath(const QString& wanted)
{
    QString path = wanted;
    const QString stem = lq::stringByDeletingPathExtension(wanted);
    for (int n = 2; exists(path); ++n)
        path = stem + QLatin1Char(' ') + QString::number(n) + QLatin1Char('.') + themeExtension;
    return path;
}

// The template's resources held in memory while it is drawn.
class HeldTemplate {
public:
    explicit HeldTemplate(XmlStyleSheet& sheet) : _sheet(sheet) { _sheet.loadBackstore(this); }
    ~HeldTemplate() { _sheet.releaseBackstore(this); }
    HeldTemplate(const HeldTemplate&) = delete;
    HeldTemplate& operator=(const HeldTemplate&) = delete;

private:
    XmlStyleSheet& _sheet;
};

} // namespace

ThemeController::ThemeController(MyDocumentWindow& window)
    : _window(window)
    , _themeViewerList(XmlStandAloneFiles::create())
{
    _themeViewerList->setFoldersFiles(false, true);
    buildView();
    lq::uiFrame(this, "awakeFromNib", [&] { localThemeSelected(); });
}

ThemeController::~ThemeController()
{
    // The views may outlive the controller for a moment (the tab owns them).
    if (LocalThemeLibrary)
        LocalThemeLibrary->setController(nullptr);
    if (ThemeViewer) {
        ThemeViewer->setTargetAction({});
        ThemeViewer->setClick({});
        ThemeViewer->setDeleteKey({});
        ThemeViewer->setFilesDropped({});
    }
}

// --- The view ----------------------------------------------------------------------------------

void ThemeController::buildView()
{
    _view = new QWidget;
    auto* outer = new QVBoxLayout(_view);
    auto* split = new QSplitter(Qt::Horizontal, _view);
    outer->addWidget(split, 1);

    auto* library = new QWidget(split);
    auto* libraryLayout = new QVBoxLayout(library);
    libraryLayout->setContentsMargins(0, 0, 0, 0);
    libraryLayout->addWidget(lq::plainLabel(QStringLiteral("Theme Library"), library));
    LocalThemeLibrary = new XmlOutlineView(0, library);
    LocalThemeLibrary->setController(this);
    LocalThemeLibrary->setTextImageCell();
    LocalThemeLibrary->setAllowsDragging();
    LocalThemeLibrary->setXmlBase(_window.document().themeLibrary()->UUID());
    libraryLayout->addWidget(LocalThemeLibrary, 1);
    // A click on the folder already chosen lists it again (one that chooses
    // another folder has listed it already).
    connect(LocalThemeLibrary, &QAbstractItemView::clicked, this, [this] {
        if (std::exchange(_listedBySelection, false))
            return;
        localThemeSelected();
    });
    auto* folderButtons = new QWidget(library);
    libraryLayout->addWidget(folderButtons);
    SheetBuilder(folderButtons, this, {}).buttonRow({ { QStringLiteral("New Folder…"), [this] { newFolder(); } }, {} });
    split->addWidget(library);

    ThemeViewer = new QZArraySelectView2;
    ThemeViewer->setVerdaneDocument(&_window);
    ThemeViewer->setItemSize(QSizeF(iconWidth, iconHeight));
    ThemeViewer->setXmlBase(_themeViewerList->UUID());
    ThemeViewer->setDragDropEnabled(true);
    ThemeViewer->setTargetAction([this](QZArraySelectView2*) { themeViewerChangeName(); });
    ThemeViewer->setClick([this](QZArraySelectView2*) { themeViewerSelected(); });
    ThemeViewer->setDeleteKey([this](QZArraySelectView2*) { deleteKeyPressed(); });
    ThemeViewer->setFilesDropped([this](QZArraySelectView2*, const QStringList& paths) {
        lq::uiFrame(this, "performDragOperation:", [&] {
            if (XmlFolder* folder = selectedFolder()) {
                for (const QString& path : paths)
                    importFileIntoFolder(path, folder->fullname());
                localThemeSelected();
            }
        });
    });
    split->addWidget(ThemeViewer->makeScrollView(split));

    auto* preview = new QWidget(split);
    auto* previewLayout = new QVBoxLayout(preview);
    previewLayout->setContentsMargins(0, 0, 0, 0);
    ThemeThumbnail = new MyImageView(0, preview);
    ThemeThumbnail->setFixedSize(iconWidth, iconHeight);
    ThemeThumbnail->setToolTip(QStringLiteral("Drop a picture here to make it the theme's icon"));
    connect(ThemeThumbnail, &MyImageView::imageDropped, this, [this](const QImage& image) {
        lq::uiFrame(this, "themeThumbnail:", [&] { themeThumbnail(image); });
    });
    previewLayout->addWidget(ThemeThumbnail, 0, Qt::AlignHCenter);
    ThemeName = new MyTextField(0, preview);
    ThemeName->setReadOnly(true);
    ThemeName->setToolTip(QStringLiteral("Double-click a theme to rename it"));
    previewLayout->addWidget(ThemeName);
    previewLayout->addWidget(lq::plainLabel(QStringLiteral("Comments"), preview));
    Comments = new QPlainTextEdit(preview);
    previewLayout->addWidget(Comments, 1);
    preview->setFixedWidth(iconWidth + 40);
    split->addWidget(preview);
    split->setStretchFactor(1, 1);
    split->setSizes({ 200, 520, iconWidth + 40 });

    auto* buttons = new QWidget(_view);
    outer->addWidget(buttons);
    buildButtons(buttons);
    updateButtons();
}

void ThemeController::buildButtons(QWidget* parent)
{
    const QList<MyButton*> made = SheetBuilder(parent, this, {}).buttonRow({
        { QStringLiteral("Import…"), [this] { importTheme(); } },
        { QStringLiteral("Export…"), [this] { exportTheme(); } },
        { QStringLiteral("Add This Website's Theme"), [this] { addThemeToLibrary(); } },
        {},
        { QStringLiteral("Cancel"), [this] { cancel(); } },
        { QStringLiteral("Use Theme"), [this] { selectTheme(); } },
    });
    _importButton = made[0];
    _exportButton = made[1];
    _addButton = made[2];
    _useButton = made[4];
    _useButton->setDefault(true);
}

void ThemeController::updateButtons()
{
    const bool folder = selectedFolder() != nullptr;
    const bool shown = themeOfUUID(_lastThemeUUID) != nullptr;
    if (_importButton)
        _importButton->setEnabled(folder);
    if (_addButton)
        _addButton->setEnabled(folder);
    if (_exportButton)
        _exportButton->setEnabled(shown);
    if (_useButton)
        _useButton->setEnabled(XmlQVZIPFile::cast(chosenEntry().get()) != nullptr);
    // Only a theme shown takes a comment or an icon.
    if (Comments)
        Comments->setReadOnly(!shown);
    if (ThemeThumbnail)
        ThemeThumbnail->setEditable(shown);
}

void ThemeController::tell(const QString& title, const QString& message)
{
    lq::runAlert(_window.myWindow(), title, message);
}

// --- What is chosen ------------------------------------------------------------------------

XmlQVZIPFile* ThemeController::themeOfUUID(const QString& uuid)
{
    return uuid.isEmpty() ? nullptr : XmlQVZIPFile::cast(XmlBase::UUID(uuid).get());
}

XmlFolder* ThemeController::selectedFolder() const
{
    return LocalThemeLibrary ? XmlFolder::cast(LocalThemeLibrary->selectedObject().get()) : nullptr;
}

XmlBasePtr ThemeController::chosenEntry() const
{
    if (!ThemeViewer)
        return nullptr;
    const int first = ThemeViewer->firstSelectedItem();
    if (first < 0 || first >= _themeViewerList->numberChildren())
        return nullptr;
    return _themeViewerList->childAtIndex(first);
}

// --- Listing and showing -----------------------------------------------------------------

void ThemeController::localThemeSelected()
{
    lq::uiFrame(this, "localThemeSelected:", [&] {
        // The shown theme's comment goes into its archive before the list
        // that holds the theme is read again.
        storeShownComment();
        XmlFolder* folder = selectedFolder();
        _themeViewerList->setRootDir(folder ? folder->fullname() : QString());
        _themeViewerList->refresh();
        ThemeViewer->selectIndexClearAll(0, true);
        ThemeViewer->fitMe();
        themeViewerSelected();
    });
}

void ThemeController::storeShownComment()
{
    XmlQVZIPFile* theme = themeOfUUID(_lastThemeUUID);
    if (!theme)
        return;
    const QString comment = Comments->toPlainText();
    const QString unsafe = lq::unsafeZipComment(comment);
    if (!unsafe.isEmpty()) {
        tell(QStringLiteral("The comment was not stored"),
            QStringLiteral("The comment of \"") + theme->name() + QStringLiteral("\" keeps its earlier text: ") + unsafe + QLatin1Char('.'));
        return;
    }
    theme->setComment(comment);
}

void ThemeController::showTheme(XmlQVZIPFile& theme)
{
    _lastThemeUUID = theme.UUID();
    ThemeThumbnail->setImage(theme.iconImage());
    Comments->setPlainText(theme.comment());
    ThemeName->setText(lq::stringByDeletingPathExtension(theme.filename()));
}

void ThemeController::themeViewerSelected()
{
    lq::uiFrame(this, "themeViewerSelected:", [&] {
        storeShownComment();
        const XmlBasePtr entry = chosenEntry();
        if (XmlQVZIPFile* theme = XmlQVZIPFile::cast(entry.get()))
            showTheme(*theme);
        else
            _lastThemeUUID = QLatin1String("");
        updateButtons();
    });
}

// --- Renaming, deleting, the icon ----------------------------------------------------------

QString ThemeController::askThemeName(const QString& preset, bool alreadyExists)
{
    QDialog sheet(_window.myWindow());
    sheet.setWindowTitle(QStringLiteral("Theme Name"));
    sheet.setMinimumWidth(360);
    SheetBuilder fields(&sheet, this, {});
    MyLabel* notice = fields.text(0, QStringLiteral("A theme of that name already exists. Please type another name."));
    notice->setObjectName(QStringLiteral("themeAlreadyExists"));
    notice->setVisible(alreadyExists);
    MyTextField* name = fields.label(QStringLiteral("Name")).textField(0);
    name->setObjectName(QStringLiteral("themeName"));
    name->setText(preset);
    name->selectAll();
    fields.sheetButtons(&sheet);
    if (lq::modalHandler().runSheet(&sheet) != 1)
        return QString();
    const QString typed = name->text();
    return typed.isNull() ? QString(QLatin1String("")) : typed;
}

QString ThemeController::moveFileToFile(const QString& source, const QString& destination)
{
    return lq::uiFrame(this, "moveFile:toFile:", [&]() -> QString {
        QString target = destination;
        while (exists(target)) {
            // Renaming a file to its own name moves nothing.
            if (QFileInfo(target) == QFileInfo(source))
                return source;
            const QString typed = askThemeName(lq::stringByDeletingPathExtension(QFileInfo(target).fileName()), true);
            if (typed.isNull())
                return QString();
            const QString name = typed + QLatin1Char('.') + themeExtension;
            if (XmlFile::isPlainName(typed) && XmlFile::isPlainName(name))
                target = QFileInfo(target).path() + QLatin1Char('/') + name;
        }
        QString error;
        if (!lq::moveItem(source, target, &error)) {
            tell(QStringLiteral("The theme could not be moved"), error);
            return QString();
        }
        return target;
    });
}

void ThemeController::themeViewerChangeName()
{
    lq::uiFrame(this, "themeViewerChangeName:", [&] {
        const XmlBasePtr entry = chosenEntry();
        XmlQVZIPFile* theme = XmlQVZIPFile::cast(entry.get());
        if (!theme)
            return;
        showTheme(*theme);
        updateButtons();
        const QString display = theme->name();
        const QString typed = askThemeName(display, false);
        if (typed.isEmpty() || typed == display)
            return;
        const QString name = typed + QLatin1Char('.') + themeExtension;
        if (!XmlFile::isPlainName(typed) || !XmlFile::isPlainName(name)) {
            tell(QStringLiteral("The theme was not renamed"), QStringLiteral("A theme's name cannot contain \"/\"."));
            return;
        }
        const QString moved = moveFileToFile(theme->fullname(), QFileInfo(theme->fullname()).path() + QLatin1Char('/') + name);
        if (moved.isEmpty())
            return;
        theme->setFilename(QFileInfo(moved).fileName());
        ThemeName->setText(lq::stringByDeletingPathExtension(theme->filename()));
        ThemeViewer->update();
    });
}

void ThemeController::deleteKeyPressed()
{
    lq::uiFrame(this, "deleteKeyPressed:", [&] {
        XmlQVZIPFile* theme = themeOfUUID(_lastThemeUUID);
        if (!theme)
            return;
        const int answer = lq::runAlert(_window.myWindow(), QStringLiteral("Confirmation"),
            QStringLiteral("Are you sure you want to delete the theme \"") + theme->name() + QStringLiteral("\" from the Theme Library?"),
            { QStringLiteral("OK"), QStringLiteral("Cancel") });
        if (answer != 0)
            return;
        const QString path = theme->fullname();
        // Its comment has nowhere to go any more.
        _lastThemeUUID = QLatin1String("");
        QString error;
        if (!lq::removeItem(path, &error))
            tell(QStringLiteral("The theme could not be deleted"), error);
        localThemeSelected();
    });
}

void ThemeController::themeThumbnail(const QImage& image)
{
    lq::uiFrame(this, "themeThumbnail:", [&] {
        XmlQVZIPFile* theme = themeOfUUID(_lastThemeUUID);
        if (!theme || image.isNull())
            return;
        theme->setIconImage(image);
        ThemeViewer->update();
    });
}

// --- Applying and leaving --------------------------------------------------------------------

void ThemeController::selectTheme()
{
    lq::uiFrame(this, "selectTheme:", [&] {
        storeShownComment();
        _lastThemeUUID = QLatin1String("");
        const XmlBasePtr entry = chosenEntry();
        XmlQVZIPFile* theme = XmlQVZIPFile::cast(entry.get());
        if (!theme) {
            updateButtons();
            return;
        }
        const QString path = theme->fullname();
        _window.setNewTheme(path);
        _window.switchToEditMode();
        updateButtons();
    });
}

void ThemeController::cancel()
{
    lq::uiFrame(this, "cancel:", [&] {
        storeShownComment();
        _lastThemeUUID = QLatin1String("");
        _window.switchToEditMode();
        updateButtons();
    });
}

void ThemeController::tabShown()
{
    lq::uiFrame(this, "tabShown", [&] {
        // The folder and the theme chosen before stay chosen.
        const QString folder = selectedFolderPath();
        const int chosen = ThemeViewer->firstSelectedItem();
        reloadLibrary(folder);
        if (selectedFolderPath() == folder && chosen != QZArraySelectView2::NotFound && chosen < _themeViewerList->numberChildren()) {
            ThemeViewer->selectIndexClearAll(chosen, true);
            ThemeViewer->update();
            themeViewerSelected();
        }
    });
}

// --- Import, export, the site's theme ------------------------------------------------------

void ThemeController::exportTheme()
{
    lq::uiFrame(this, "exportTheme:", [&] {
        XmlQVZIPFile* theme = themeOfUUID(_lastThemeUUID);
        if (!theme)
            return;
        // What the comment field shows goes along.
        storeShownComment();
        lq::FilePanelRequest request;
        request.window = _window.myWindow();
        request.title = QStringLiteral("Export Template");
        request.prompt = QStringLiteral("Export");
        request.nameFieldLabel = QStringLiteral("Export As:");
        request.folder = QDir::homePath();
        request.proposedName = lq::stringByDeletingPathExtension(theme->filename());
        request.documentExtension = themeExtension;
        const QString chosen = lq::modalHandler().runSavePanel(request);
        if (chosen.isEmpty())
            return;
        // The panel asked before an existing file is replaced.
        QFile archive(theme->fullname());
        QString error;
        if (!archive.open(QIODevice::ReadOnly))
            error = archive.errorString();
        else if (!lq::writeFileAtomically(chosen, archive.readAll(), &error) && error.isEmpty())
            error = QStringLiteral("it could not be written");
        if (!error.isEmpty())
            tell(QStringLiteral("The theme was not exported"), QStringLiteral("\"") + chosen + QStringLiteral("\": ") + error);
    });
}

void ThemeController::importFileIntoFolder(const QString& source, const QString& folder)
{
    const QString destination = freePath(folder + QLatin1Char('/') + QFileInfo(source).fileName());
    QString error;
    if (!lq::copyItem(source, destination, &error))
        tell(QStringLiteral("The theme could not be imported"), QStringLiteral("\"") + source + QStringLiteral("\": ") + error);
}

void ThemeController::importTheme()
{
    lq::uiFrame(this, "importTheme:", [&] {
        XmlFolder* folder = selectedFolder();
        if (!folder)
            return;
        lq::FilePanelRequest request;
        request.window = _window.myWindow();
        request.title = QStringLiteral("Import Template");
        request.prompt = QStringLiteral("Open");
        request.nameFieldLabel = QStringLiteral("Open:");
        request.folder = QDir::homePath();
        request.fileTypes = themeFileTypes;
        const QString chosen = lq::modalHandler().runOpenPanel(request);
        if (chosen.isEmpty())
            return;
        // A name typed into the panel is not held to its filter.
        if (!themeFileTypes.contains(QFileInfo(chosen).suffix().toLower())) {
            tell(QStringLiteral("The theme could not be imported"),
                QStringLiteral("\"") + QFileInfo(chosen).fileName() + QStringLiteral("\" is no theme: themes are .qvzip and .lqtm files."));
            return;
        }
        importFileIntoFolder(chosen, folder->fullname());
        localThemeSelected();
    });
}

void ThemeController::addThemeToLibrary()
{
    lq::uiFrame(this, "addThemeToLibrary:", [&] {
        XmlFolder* folder = selectedFolder();
        MyDocument& document = _window.document();
        XmlTheme* theme = document.theme();
        if (!folder || !theme)
            return;
        const QString site = document.fileName();
        const QString name = lq::stringByDeletingPathExtension(QFileInfo(site).fileName());
        const QString destination = freePath(folder->fullname() + QLatin1Char('/') + name + QLatin1Char('.') + themeExtension);
        // The theme as it is now, written aside: the document's own file
        // keeps what was saved last.
        QTemporaryDir scratch;
        const QString themeFile = QStringLiteral("theme.xmlbase");
        if (!scratch.isValid() || !lq::saveToFile(*theme, scratch.filePath(themeFile))
            || !lq::zipAdd(destination, scratch.path(), themeFile, false)) {
            tell(QStringLiteral("The theme was not added"), QStringLiteral("The archive \"") + destination + QStringLiteral("\" could not be written."));
            return;
        }
        if (QFileInfo(site + QStringLiteral("/bitmaps2")).isDir())
            lq::zipAdd(destination, site, QStringLiteral("bitmaps2"), true);
        const QImage icon = iconOfCurrentTheme();
        if (!icon.isNull())
            lq::setZipIcon(destination, icon);
        localThemeSelected();
        // The new theme is the one shown.
        const int index = _themeViewerList->indexOfChild(
            _themeViewerList->firstChildOfType<XmlFile>([&](const XmlFile& file) { return file.fullname() == destination; }).get());
        if (index != XmlBase::NotFound) {
            ThemeViewer->selectIndexClearAll(index, true);
            ThemeViewer->update();
            themeViewerSelected();
        }
    });
}

QImage ThemeController::iconOfCurrentTheme()
{
    return lq::modelFrame(this, "iconOfCurrentTheme", [&]() -> QImage {
        std::shared_ptr<XmlStyleSheet> sheet = _window.layout() ? _window.layout()->getTemplate() : nullptr;
        XmlAlbum* page = _window.currentAlbum();
        if (!sheet && page && !page->isExternalLink())
            sheet = page->getTemplate();
        if (!sheet)
            return QImage();
        lq::GraphicsImage image = lq::GraphicsImage::withSize(lq::Size(720, 540));
        {
            const HeldTemplate held(*sheet);
            if (page)
                sheet->relayoutFlags(page, 0);
            lq::GraphicsImage::Focus focus(image);
            const lq::Rect everything(0, 0, 2000, 2000);
            sheet->drawBackdrop(everything);
            sheet->drawBackdrop2(everything);
            sheet->draw();
        }
        return XmlImage::resizeImageToSize(image, lq::Size(iconWidth, iconHeight)).toQImage();
    });
}

// --- Folders -----------------------------------------------------------------------------------

void ThemeController::newFolder()
{
    lq::uiFrame(this, "newFolder:", [&] {
        QDialog sheet(_window.myWindow());
        sheet.setWindowTitle(QStringLiteral("New Folder"));
        sheet.setMinimumWidth(360);
        SheetBuilder fields(&sheet, this, {});
        MyTextField* name = fields.label(QStringLiteral("Name")).textField(0);
        name->setObjectName(QStringLiteral("createFolderName"));
        fields.sheetButtons(&sheet, QStringLiteral("Create"));
        if (lq::modalHandler().runSheet(&sheet) != 1)
            return;
        const QString typed = name->text().trimmed();
        if (typed.isEmpty())
            return;
        if (!XmlFile::isPlainName(typed)) {
            tell(QStringLiteral("The folder was not made"), QStringLiteral("A folder's name cannot contain \"/\"."));
            return;
        }
        // Beside the chosen folder; at the top without one.
        XmlFolder* chosen = selectedFolder();
        XmlBase* parent = chosen && chosen->parent() ? chosen->parent() : _window.document().themeLibrary();
        const QString path = parent->fullname() + QLatin1Char('/') + typed;
        if (exists(path)) {
            tell(QStringLiteral("The folder was not made"), QStringLiteral("\"") + typed + QStringLiteral("\" exists already."));
            return;
        }
        if (!QDir().mkdir(path)) {
            tell(QStringLiteral("The folder was not made"), QStringLiteral("\"") + path + QStringLiteral("\" could not be made."));
            return;
        }
        reloadLibrary(path);
    });
}

void ThemeController::reloadLibrary(const QString& folderPath)
{
    _reloading = true;
    LocalThemeLibrary->setXmlBase(_window.document().themeLibrary()->UUID());
    LocalThemeLibrary->clearSelection();
    if (!folderPath.isEmpty())
        selectFolderAtPath(folderPath);
    _reloading = false;
    localThemeSelected();
}

void ThemeController::selectFolderAtPath(const QString& path)
{
    std::function<XmlBase*(XmlBase&)> search = [&](XmlBase& parent) -> XmlBase* {
        for (const XmlBasePtr& child : parent.children()) {
            if (XmlFolder::cast(child.get()) && child->fullname() == path)
                return child.get();
            if (XmlBase* inside = search(*child))
                return inside;
        }
        return nullptr;
    };
    if (XmlBase* folder = search(*_window.document().themeLibrary())) {
        LocalThemeLibrary->selectObject(folder);
        LocalThemeLibrary->expandObject(folder);
    }
}

void ThemeController::scheduleReload(const QString& folderPath)
{
    // The tree reads the disk again itself once the drop or the edit has
    // returned; the choice of folder follows after that.
    QTimer::singleShot(0, this, [this, folderPath] { lq::uiFrame(this, "reloadLibrary", [&] { reloadLibrary(folderPath); }); });
}

QString ThemeController::selectedFolderPath() const
{
    XmlFolder* folder = selectedFolder();
    return folder ? folder->fullname() : QString();
}

// --- The library tree's controller -------------------------------------------------------

std::optional<bool> ThemeController::outlineViewIsItemExpandable(XmlOutlineView&, XmlBase& item)
{
    return item.numberChildren() > 0;
}

std::optional<bool> ThemeController::outlineViewShouldEditTableColumnItem(XmlOutlineView&, const QString&, XmlBase&)
{
    return true;
}

std::optional<CellAppearance> ThemeController::outlineViewWillDisplayCellForTableColumnItem(XmlOutlineView&, const QString&, XmlBase& item)
{
    return CellAppearance { item.iconImage(), QColor(Qt::black) };
}

bool ThemeController::outlineViewSetObjectValueForTableColumnByItem(XmlOutlineView&, const QVariant& value, const QString&, XmlBase& item)
{
    lq::uiFrame(this, "outlineView:setObjectValue:forTableColumn:byItem:", [&] {
        const QString name = value.toString();
        if (typeid(item) == typeid(XmlFolder))
            static_cast<XmlFolder&>(item).renameFoldername(name);
        else if (typeid(item) == typeid(XmlFile))
            static_cast<XmlFile&>(item).renameFilename(name);
        scheduleReload(selectedFolderPath());
    });
    return true;
}

std::optional<bool> ThemeController::outlineViewCanDropFilesOnItem(XmlOutlineView& view, XmlBase& target)
{
    return XmlFolder::cast(&target) || &target == view.rootElement().get();
}

std::optional<bool> ThemeController::outlineViewDropFilesOnItemChildIndex(XmlOutlineView& view, XmlBase& files, XmlBase& target, int)
{
    return lq::uiFrame(this, "outlineView:dropFiles:onItem:childIndex:", [&] {
        XmlFiles* folder = XmlFiles::cast(&target);
        if (!folder || !outlineViewCanDropFilesOnItem(view, target).value_or(false))
            return false;
        // As every import into the library: a theme of the same name stays,
        // the new one takes the next free name.
        const XmlBaseList dropped = files.children();
        for (auto file = dropped.rbegin(); file != dropped.rend(); ++file) {
            const XmlFile* one = XmlFile::cast(file->get());
            if (!one)
                continue;
            const QString source = one->filename();
            if (!QFileInfo(source).isFile())
                continue;
            // A file of this folder dropped onto it is already in place.
            if (QFileInfo(source).absolutePath() == QFileInfo(folder->fullname()).absoluteFilePath())
                continue;
            importFileIntoFolder(source, folder->fullname());
        }
        scheduleReload(selectedFolderPath());
        return true;
    });
}

std::optional<bool> ThemeController::outlineViewCanDropItemOnItem(XmlOutlineView& view, XmlBase& dragged, XmlBase& target)
{
    const bool onFolder = typeid(target) == typeid(XmlFolder);
    if (XmlFolder::cast(&dragged)) {
        for (XmlBase* above = &target; above; above = above->parent()) {
            if (above == &dragged)
                return false;
        }
        return onFolder || &target == view.rootElement().get();
    }
    if (XmlQVZIPFile::cast(&dragged))
        return onFolder;
    return false;
}

std::optional<bool> ThemeController::outlineViewDropItemOnItemChildIndex(XmlOutlineView& view, XmlBase& dragged, XmlBase& target, int index)
{
    return lq::uiFrame(this, "outlineView:dropItem:onItem:childIndex:", [&] {
        if (!outlineViewCanDropItemOnItem(view, dragged, target).value_or(false))
            return false;
        if (XmlFolder* folder = XmlFolder::cast(&dragged)) {
            const QString destination = target.fullname() + QLatin1Char('/') + folder->foldername();
            if (exists(destination))
                return false;
            QString error;
            if (!lq::moveItem(folder->fullname(), destination, &error)) {
                tell(QStringLiteral("The folder could not be moved"), error);
                return false;
            }
            if (folder->parent() == &target && target.indexOfChild(folder) < index)
                --index;
            const XmlBasePtr held = folder->sharedFromThis();
            folder->removeFromParentWithoutDeletingChildren();
            target.insertChildAtIndex(held, std::clamp(index, 0, target.numberChildren()));
            scheduleReload(destination);
            return true;
        }
        auto* theme = XmlQVZIPFile::cast(&dragged);
        const QString moved = moveFileToFile(theme->fullname(), target.fullname() + QLatin1Char('/') + theme->filename());
        if (moved.isEmpty())
            return false;
        theme->setFilename(QFileInfo(moved).fileName());
        // The theme has left the folder the grid lists.
        const XmlBasePtr held = theme->sharedFromThis();
        theme->removeFromParentWithoutDeletingChildren();
        if (_lastThemeUUID == theme->UUID())
            _lastThemeUUID = QLatin1String("");
        scheduleReload(selectedFolderPath());
        return true;
    });
}

void ThemeController::selectionChanged(XmlOutlineView&)
{
    if (_reloading)
        return;
    _listedBySelection = true;
    localThemeSelected();
}

std::optional<bool> ThemeController::canDeleteObject(XmlBase& element)
{
    lq::uiFrame(this, "canDeleteObject:", [&] {
        auto* folder = XmlFolder::cast(&element);
        if (!folder)
            return;
        const QString message = QStringLiteral("There are %1 folder(s) and %2 theme(s) inside this folder.  "
                                               "Are you sure you want to delete the folder \"%3\" from the Theme Library?")
                                    .arg(QString::number(folder->numberChildren()),
                                        QString::number(_themeViewerList->numberChildren()), folder->foldername());
        const int answer = lq::runAlert(_window.myWindow(), QStringLiteral("Confirmation - Folder Delete"), message,
            { QStringLiteral("OK"), QStringLiteral("Cancel") });
        if (answer != 0)
            return;
        // The shown theme goes with its folder.
        _lastThemeUUID = QLatin1String("");
        QString error;
        if (!lq::removeItem(folder->fullname(), &error))
            tell(QStringLiteral("The folder could not be deleted"), error);
        reloadLibrary(QString());
    });
    // The tree keeps its rows: it is read from the disk again instead.
    return false;
}
