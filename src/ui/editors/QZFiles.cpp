#include "ui/editors/QZFiles.h"

#include "document/MyDocument.h"
#include "ui/editors/EditorHost.h"
#include "ui/editors/XmlOutlineView.h"
#include "model/files/XmlExternalFiles.h"
#include "model/files/XmlFile.h"
#include "model/files/XmlFiles.h"
#include "model/files/XmlFolder.h"
#include "model/site/XmlSite.h"
#include "platform/ConfinedFolder.h"
#include "platform/ExceptionFrame.h"
#include "platform/Log.h"
#include "platform/Pasteboard.h"
#include "platform/Workspace.h"
#include "ui/widgets/ActionConnection.h"
#include "ui/widgets/ModalHandler.h"
#include "ui/widgets/MyButton.h"
#include "ui/widgets/ScreenText.h"

#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QPointer>
#include <QTimer>
#include <QUrl>
#include <QVBoxLayout>

#include <algorithm>
#include <typeinfo>

const QString QZFiles::addFileTitle = QStringLiteral("Add File to Site");
const QString QZFiles::addFilePrompt = QStringLiteral("Add File:");

namespace {

QString quoted(const QString& text)
{
    return QStringLiteral("\"") + text + QStringLiteral("\"");
}

// Why the name cannot be given to the element inside its folder; `failure`
// is what the disk answered.
QString whyRefused(XmlBase& element, const QString& name, const QString& failure)
{
    if (!XmlFile::isPlainName(name))
        return QStringLiteral("A name cannot be empty, \".\" or \"..\", and cannot hold \"/\".");
    // Asked through the tree's gateway: a folder on the way that became a
    // link is said as such, never looked through.
    const std::shared_ptr<lq::ConfinedFolder> folder = XmlFiles::treeFolderOf(&element);
    const QString above = XmlFiles::pathInTree(element.parent());
    const lq::ConfinedFolder::Kind taken = folder ? folder->status(above.isEmpty() ? name : above + QLatin1Char('/') + name).kind
                                                  : lq::ConfinedFolder::Kind::Missing;
    if (taken != lq::ConfinedFolder::Kind::Missing && taken != lq::ConfinedFolder::Kind::Refused)
        return QStringLiteral("The folder already holds an item named ") + quoted(name) + QStringLiteral(".");
    return QStringLiteral("It could not be renamed on disk") + (failure.isEmpty() ? QString() : QStringLiteral(": ") + failure)
        + QStringLiteral(".");
}

} // namespace

QZFiles::QZFiles(QWidget* parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("QZFiles"));
    auto* column = new QVBoxLayout(this);
    auto* buttons = new QHBoxLayout;
    const auto button = [&](const QString& title, const char* action, const QString& tip, void (QZFiles::*command)()) {
        auto* made = new MyButton(0, title, this);
        made->setObjectName(QString::fromLatin1(action).chopped(1));
        made->setToolTip(lq::plainToolTip(tip));
        lq::connectAction(made, &QPushButton::clicked, this, action, [this, command] { (this->*command)(); });
        buttons->addWidget(made);
    };
    button(QStringLiteral("Add File..."), "addFile:", QStringLiteral("Copies a file into the site's files"), &QZFiles::addFile);
    button(QStringLiteral("New Folder"), "addFolder:", QStringLiteral("Makes a new folder in the site's files"), &QZFiles::addFolder);
    button(QStringLiteral("Open"), "openFile:", QStringLiteral("Opens the selected file with its application"), &QZFiles::openFile);
    buttons->addStretch(1);
    column->addLayout(buttons);

    FilesOutline = new XmlOutlineView(0, this);
    FilesOutline->setObjectName(QStringLiteral("FilesOutline"));
    FilesOutline->setController(this);
    FilesOutline->setTextImageCell();
    FilesOutline->setAllowsDragging();
    column->addWidget(FilesOutline, 1);
}

QZFiles::~QZFiles()
{
    FilesOutline->setController(nullptr);
}

void QZFiles::setDocument(EditorHost* document)
{
    lq::uiFrame(this, "setDocument:", [&] {
        _document = document;
        XmlSite* site = document ? document->document().site() : nullptr;
        FilesOutline->setXmlBase(site && site->files() ? site->files()->UUID() : QString());
    });
}

void QZFiles::loadEditor()
{
    FilesOutline->reloadData();
}

void QZFiles::refreshEditor()
{
    FilesOutline->reloadData();
}

// --- Commands -------------------------------------------------------------------------------

void QZFiles::addFile()
{
    lq::uiFrame(this, "addFile:", [&] {
        XmlSite* site = _document ? _document->document().site() : nullptr;
        if (!site || !site->files())
            return;
        XmlFiles* destination = site->files();
        if (const XmlBasePtr selected = FilesOutline->selectedObject()) {
            if (XmlFiles* folder = XmlFiles::cast(selected.get()))
                destination = folder;
            else if (XmlFiles* holder = XmlFiles::cast(selected->parent()))
                destination = holder;
        }
        lq::FilePanelRequest request;
        request.window = _document->myWindow();
        request.title = addFileTitle;
        request.prompt = addFilePrompt;
        request.nameFieldLabel = addFilePrompt;
        request.folder = QDir::homePath();
        const QString chosen = lq::modalHandler().runOpenPanel(request);
        if (chosen.isEmpty())
            return;
        QString why;
        if (!destination->importFilename(chosen, &why)) {
            lq::log(QStringLiteral("Add File: ") + chosen + QStringLiteral(" was not copied into ") + destination->fullname());
            tell(quoted(QFileInfo(chosen).fileName()) + QStringLiteral(" could not be added"),
                QStringLiteral("It could not be copied into the site's files: it must be a file that can be read, and the site's folder must be writable")
                    + (why.isEmpty() ? QString() : QStringLiteral(" (") + why + QLatin1Char(')')) + QStringLiteral("."));
        }
        FilesOutline->reloadData();
    });
}

void QZFiles::addFolder()
{
    lq::uiFrame(this, "addFolder:", [&] {
        XmlSite* site = _document ? _document->document().site() : nullptr;
        XmlFiles* root = site ? site->files() : nullptr;
        if (!root)
            return;
        const int before = root->numberChildren();
        root->addFolder();
        if (root->numberChildren() == before) {
            lq::log(QStringLiteral("New Folder: no folder could be made in ") + root->fullname());
            tell(QStringLiteral("The folder could not be made"), QStringLiteral("The site's folder ") + quoted(root->fullname()) + QStringLiteral(" cannot be written."));
        }
        FilesOutline->reloadData();
    });
}

void QZFiles::openFile()
{
    lq::uiFrame(this, "openFile:", [&] {
        const XmlBasePtr selected = FilesOutline->selectedObject();
        if (!selected) {
            lq::log(QStringLiteral("Open: no file is selected"));
            return;
        }
        const QString path = selected->fullname();
        if (!lq::openURL(QUrl::fromLocalFile(path))) {
            lq::log(QStringLiteral("Open: ") + path + QStringLiteral(" could not be opened"));
            tell(quoted(selected->name()) + QStringLiteral(" could not be opened"), QStringLiteral("No application could be started for it."));
        }
    });
}

// --- Outline hooks ----------------------------------------------------------------------------

bool QZFiles::outlineViewSetObjectValueForTableColumnByItem(XmlOutlineView&, const QVariant& value, const QString&, XmlBase& item)
{
    return lq::uiFrame(this, "outlineView:setObjectValue:forTableColumn:byItem:", [&] {
        const QString name = value.toString();
        bool renamed = true;
        QString failure;
        if (typeid(item) == typeid(XmlFile)) {
            auto& file = static_cast<XmlFile&>(item);
            renamed = name == file.filename() || file.renameFilename(name, &failure);
        } else if (typeid(item) == typeid(XmlFolder)) {
            auto& folder = static_cast<XmlFolder&>(item);
            renamed = name == folder.foldername() || folder.renameFoldername(name, &failure);
        }
        if (!renamed) {
            lq::log(QStringLiteral("Rename refused: ") + item.fullname() + QStringLiteral(" to ") + quoted(name));
            tell(QStringLiteral("The name ") + quoted(name) + QStringLiteral(" cannot be used"), whyRefused(item, name, failure));
        }
        reloadLater();
        return true;
    });
}

std::optional<bool> QZFiles::outlineViewShouldEditTableColumnItem(XmlOutlineView&, const QString&, XmlBase&)
{
    return true;
}

std::optional<CellAppearance> QZFiles::outlineViewWillDisplayCellForTableColumnItem(XmlOutlineView&, const QString&, XmlBase& item)
{
    return CellAppearance { item.iconImage(), QColor(Qt::black) };
}

std::optional<XmlBasePtr> QZFiles::createFromPasteboard(const lq::Pasteboard& pasteboard)
{
    return lq::modelFrame(this, "createFromPasteboard:", [&]() -> std::optional<XmlBasePtr> {
        if (const std::optional<QString> text = pasteboard.string()) {
            if (XmlBasePtr element = XmlBase::createWithXmlRootDir(*text, QString()))
                return element;
        }
        std::optional<QStringList> paths = pasteboard.filenames();
        if (!paths)
            return XmlBasePtr();
        std::stable_sort(paths->begin(), paths->end(), [](const QString& a, const QString& b) { return a.compare(b, Qt::CaseInsensitive) < 0; });
        const std::shared_ptr<XmlExternalFiles> files = XmlExternalFiles::create();
        for (const QString& path : *paths) {
            const QFileInfo info(path);
            if (info.isSymLink() || !info.exists())
                continue;
            if (info.isDir()) {
                const std::shared_ptr<XmlFolder> folder = XmlFolder::create();
                folder->setFoldername(info.fileName());
                files->addChild(folder);
                addContentsOfDirectoryTo(path, folder.get());
            } else if (info.isFile()) {
                const std::shared_ptr<XmlFile> file = XmlFile::create();
                file->setFilename(path);
                files->addChild(file);
            }
        }
        return XmlBasePtr(files);
    });
}

void QZFiles::addContentsOfDirectoryTo(const QString& path, XmlBase* parent)
{
    lq::classFrame("QZFiles +addContentsOfDirectory:to:", [&] {
        const QFileInfoList entries = QDir(path).entryInfoList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot | QDir::System, QDir::Name);
        for (const QFileInfo& entry : entries) {
            // A link could lead back above the folder: never followed.
            if (entry.isSymLink())
                continue;
            if (entry.isDir()) {
                const std::shared_ptr<XmlFolder> folder = XmlFolder::create();
                folder->setFoldername(entry.fileName());
                parent->addChild(folder);
                addContentsOfDirectoryTo(entry.filePath(), folder.get());
            } else if (entry.isFile()) {
                const std::shared_ptr<XmlFile> file = XmlFile::create();
                file->setFilename(entry.filePath());
                parent->addChild(file);
            }
        }
    });
}

std::optional<bool> QZFiles::outlineViewCanDropFilesOnItem(XmlOutlineView&, XmlBase& target)
{
    return XmlFiles::cast(&target) != nullptr;
}

std::optional<bool> QZFiles::outlineViewDropFilesOnItemChildIndex(XmlOutlineView&, XmlBase& files, XmlBase& target, int)
{
    return lq::uiFrame(this, "outlineView:dropFiles:onItem:childIndex:", [&] {
        XmlFiles* folder = XmlFiles::cast(&target);
        if (!folder)
            return false;
        const QStringList refused = folder->importFiles(&files);
        FilesOutline->reloadData();
        if (!refused.isEmpty()) {
            lq::log(QStringLiteral("Files not copied into the site: ") + refused.join(QStringLiteral(", ")));
            tell(QStringLiteral("Some files could not be added"),
                QStringLiteral("These were not copied into the site's files: ") + refused.join(QStringLiteral(", "))
                    + QStringLiteral(". They must be files that can be read, and the site's folder must be writable."));
        }
        return true;
    });
}

std::optional<bool> QZFiles::outlineViewCanDropItemOnItem(XmlOutlineView&, XmlBase& dragged, XmlBase& target)
{
    return XmlFile::cast(&dragged) && XmlFiles::cast(&target);
}

std::optional<bool> QZFiles::outlineViewCanCopyForeignItemOnItem(XmlOutlineView&, XmlBase& dragged, XmlBase& target)
{
    // Only a file of another open site, never one that belongs to none.
    return XmlFile::cast(&dragged) && dragged.myDocument() && XmlFiles::cast(&target);
}

std::optional<bool> QZFiles::outlineViewDropItemOnItemChildIndex(XmlOutlineView&, XmlBase& dragged, XmlBase& target, int index)
{
    return lq::uiFrame(this, "outlineView:dropItem:onItem:childIndex:", [&] {
        XmlFile* file = XmlFile::cast(&dragged);
        XmlFiles* folder = XmlFiles::cast(&target);
        if (!file || !folder)
            return false;
        if (dragged.myDocument() == target.myDocument())
            return moveFile(*file, *folder, index);
        if (folder->importFilename(file->fullname())) {
            FilesOutline->reloadData();
            return true;
        }
        lq::log(QStringLiteral("Copy refused: ") + file->fullname() + QStringLiteral(" into ") + folder->fullname());
        tell(quoted(file->filename()) + QStringLiteral(" could not be copied"),
            QStringLiteral("It could not be copied into ") + quoted(folder->name()) + QStringLiteral("."));
        return false;
    });
}

bool QZFiles::moveFile(XmlFile& file, XmlFiles& target, int index)
{
    const XmlBasePtr kept = file.sharedFromThis();
    if (file.parent() != &target) {
        // Moved through the files tree's gateway in one rename: a link on
        // the way to either place is refused (and said), and an item already
        // at the new name is never replaced (the kernel checks it in the
        // move itself).
        QString why;
        const std::shared_ptr<lq::ConfinedFolder> folder = XmlFiles::treeFolderOf(&target, &why);
        const QString above = XmlFiles::pathInTree(&target);
        if (folder && folder->status(above.isEmpty() ? file.filename() : above + QLatin1Char('/') + file.filename()).exists()) {
            tell(quoted(file.filename()) + QStringLiteral(" was not moved"),
                quoted(target.name()) + QStringLiteral(" already holds an item of that name."));
            return false;
        }
        if (!folder || !target.moveFileHere(file, &why)) {
            lq::log(QStringLiteral("Move failed: ") + file.fullname() + QStringLiteral(" to ") + target.fullname() + QStringLiteral(": ") + why);
            tell(quoted(file.filename()) + QStringLiteral(" could not be moved"),
                QStringLiteral("It could not be moved into ") + quoted(target.name()) + QStringLiteral(" on disk (") + why
                    + QStringLiteral("); it stays where it was."));
            return false;
        }
    } else if (target.indexOfChild(&file) < index) {
        --index;
    }
    file.removeFromParentWithoutDeletingChildren();
    target.insertChildAtIndex(kept, std::min(index, target.numberChildren()));
    return true;
}

std::optional<bool> QZFiles::canDeleteObject(XmlBase& element)
{
    return lq::uiFrame(this, "canDeleteObject:", [&] {
        XmlFiles* holder = XmlFiles::cast(element.parent());
        const bool folder = XmlFolder::cast(&element) != nullptr;
        if (!holder || (!folder && !XmlFile::cast(&element)))
            return false;
        const QString name = element.name();
        const int choice = lq::runAlert(_document ? _document->myWindow() : nullptr, QStringLiteral("Delete ") + quoted(name) + QStringLiteral("?"),
            folder ? QStringLiteral("The folder is deleted from the site's files on disk, with everything in it. This cannot be undone.")
                   : QStringLiteral("The file is deleted from the site's files on disk. This cannot be undone."),
            { QStringLiteral("Delete"), QStringLiteral("Cancel") });
        if (choice != 0)
            return false;
        // The files tree deletes it from disk and then from the tree, and
        // keeps it when the disk would not let it go.
        const XmlBasePtr kept = element.sharedFromThis();
        QString why;
        holder->deleteFilename(name, &why);
        if (element.parent() == holder) {
            lq::log(QStringLiteral("Delete failed: ") + element.fullname());
            tell(quoted(name) + QStringLiteral(" could not be deleted"),
                QStringLiteral("It could not be deleted from disk") + (why.isEmpty() ? QString() : QStringLiteral(" (") + why + QLatin1Char(')'))
                    + QStringLiteral("; it stays in the site's files."));
            return false;
        }
        return true;
    });
}

void QZFiles::dropDone()
{
    lq::uiFrame(this, "dropDone", [&] {
        if (_document)
            _document->updateNavEditor();
    });
}

void QZFiles::tell(const QString& title, const QString& message)
{
    lq::runAlert(_document ? _document->myWindow() : nullptr, title, message);
}

void QZFiles::reloadLater()
{
    // The edit that brought the new name has not returned yet.
    QTimer::singleShot(0, this, [outline = QPointer<XmlOutlineView>(FilesOutline)] {
        if (outline)
            outline->reloadData();
    });
}
