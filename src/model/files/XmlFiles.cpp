#include "model/files/XmlFiles.h"

#include "model/core/ElementFiles.h"
#include "model/files/XmlFile.h"
#include "model/files/XmlFolder.h"
#include "platform/ConfinedFolder.h"
#include "platform/ExceptionFrame.h"
#include "platform/Image.h"
#include "platform/Log.h"
#include "platform/Strings.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>

#include <algorithm>

#include <sys/stat.h>

namespace {

using lq::ConfinedFolder;

// The name an element of a file tree has on disk inside its folder.
QString diskName(XmlBase* element)
{
    if (XmlFile* file = XmlFile::cast(element))
        return file->filename();
    if (XmlFolder* folder = XmlFolder::cast(element))
        return folder->foldername();
    return QString();
}

// The root of the file tree the element belongs to, or nothing.
XmlBase* treeRootOf(XmlBase* element)
{
    XmlBase* node = XmlFiles::cast(element) ? element : element ? element->parent() : nullptr;
    while (XmlFolder::cast(node))
        node = node->parent();
    return XmlFiles::cast(node) ? node : nullptr;
}

QString joined(const QString& folder, const QString& name)
{
    return folder.isEmpty() ? name : folder + QLatin1Char('/') + name;
}

} // namespace

XmlFiles::XmlFiles(Key key)
    : XmlBase(key)
{
    _have_children = true;
    _edit_name = false;
}

std::shared_ptr<XmlFiles> XmlFiles::create()
{
    return make<XmlFiles>();
}

QString XmlFiles::elementName() const
{
    return QStringLiteral("files");
}

QString XmlFiles::name() const
{
    return QStringLiteral("Files");
}

QString XmlFiles::fullname() const
{
    return lq::modelFrame(this, "fullname", [&] {
        // rootDir asks the root, which never changes the tree.
        return const_cast<XmlFiles*>(this)->rootDir() + QStringLiteral("/files");
    });
}

QString XmlFiles::filenameWithRoot(const QString& root)
{
    return root.isEmpty() ? QString(QLatin1String("")) : root + QLatin1Char('/');
}

bool XmlFiles::canYouBeMyParent(XmlBase* child)
{
    return XmlFile::cast(child) || XmlFolder::cast(child);
}

QImage XmlFiles::iconImage()
{
    return lq::namedImage(QStringLiteral("xmlfiles"));
}

void XmlFiles::writeXmlInString(QString& xml)
{
    lq::modelFrame(this, "writeXmlInString:", [&] {
        // The site's mirror of its "files" folder is made anew from the
        // folder, never stored: the parent is then the site root itself.
        if (_parent && !_parent->parent() && _parent->siteRoot())
            return;
        XmlBase::writeXmlInString(xml);
    });
}

std::shared_ptr<ConfinedFolder> XmlFiles::treeFolder(QString* error)
{
    return lq::modelFrame(this, "treeFolder", [&]() -> std::shared_ptr<ConfinedFolder> {
        // A folder of the tree answers the tree's.
        XmlBase* top = this;
        while (XmlFolder::cast(top))
            top = top->parent();
        if (top != this)
            return XmlFiles::cast(top) ? XmlFiles::cast(top)->treeFolder(error) : nullptr;
        const std::shared_ptr<ConfinedFolder> site = lq::rootFolder(*this);
        const std::optional<QString> name = site ? site->nameOf(fullname()) : std::nullopt;
        if (!name || name->isEmpty()) {
            if (error)
                *error = fullname() + QStringLiteral(" is not a folder of the site");
            return nullptr;
        }
        return site->folder(*name, error);
    });
}

std::shared_ptr<ConfinedFolder> XmlFiles::treeFolderOf(XmlBase* element, QString* error)
{
    XmlBase* holder = XmlFiles::cast(element) ? element : element ? element->parent() : nullptr;
    XmlFiles* files = XmlFiles::cast(holder);
    return files ? files->treeFolder(error) : nullptr;
}

QString XmlFiles::pathInTree(XmlBase* element)
{
    QString path = element ? element->filenameWithRoot(QString()) : QString();
    while (path.endsWith(QLatin1Char('/')))
        path.chop(1);
    return path;
}

bool XmlFiles::placeCopy(const QString& name, const std::function<bool(ConfinedFolder&, const QString&, QString*)>& copy, QString* error)
{
    QString why;
    const auto refuse = [&] {
        if (!why.isEmpty())
            lq::log(why);
        if (error)
            *error = why;
        return false;
    };
    const std::shared_ptr<ConfinedFolder> folder = treeFolder(&why);
    if (!folder)
        return refuse();
    if (!XmlFile::isPlainName(name)) {
        why = QStringLiteral("\"") + name + QStringLiteral("\" is no plain file name");
        return refuse();
    }
    const QString here = pathInTree(this);
    const QString destination = joined(here, name);
    // A folder is never replaced by a file; a place on a way through a
    // link is refused.
    const ConfinedFolder::Kind there = folder->status(destination, &why).kind;
    if (there == ConfinedFolder::Kind::Refused)
        return refuse();
    if (there == ConfinedFolder::Kind::Folder) {
        why = folder->pathOf(destination) + QStringLiteral(" is a folder");
        return refuse();
    }
    why.clear();
    // The copy goes to a temporary file in the folder that then replaces the
    // destination in one rename, so a failed copy leaves the old file whole.
    const QString temporary = joined(here, QStringLiteral(".import-") + QString::number(QRandomGenerator::global()->generate64(), 16));
    if (!copy(*folder, temporary, &why) || !folder->sync(temporary, &why)
        || !folder->rename(temporary, destination, ConfinedFolder::Replace::Always, &why)) {
        folder->remove(temporary);
        return refuse();
    }
    fileWithName(name);
    return true;
}

bool XmlFiles::importFilename(const QString& source, QString* why)
{
    return lq::modelFrame(this, "importFilename:", [&]() -> bool {
        const QString name = lq::lastPathComponent(source);
        const std::shared_ptr<ConfinedFolder> folder = treeFolder(why);
        if (!folder)
            return false;
        struct stat from {};
        if (!XmlFile::isPlainName(name) || ::stat(QFile::encodeName(source).constData(), &from) != 0 || !S_ISREG(from.st_mode)) {
            if (why)
                *why = source + QStringLiteral(" is no file that can be read");
            return false;
        }
        // A file of this folder dropped onto the folder is already in place.
        const ConfinedFolder::Status there = folder->status(joined(pathInTree(this), name));
        if (there.kind == ConfinedFolder::Kind::File && there.device == from.st_dev && there.inode == from.st_ino) {
            fileWithName(name);
            return true;
        }
        // A file of the tree itself is read through the tree's gateway, any
        // other (the user's own, another site's) from where it is.
        const std::optional<QString> inside = folder->nameOf(source);
        return placeCopy(
            name,
            [&](ConfinedFolder& into, const QString& temporary, QString* failure) {
                return inside ? into.copyTo(*inside, into, temporary, failure) : into.copyIn(source, temporary, failure);
            },
            why);
    });
}

std::shared_ptr<XmlFile> XmlFiles::fileWithName(const QString& name)
{
    return lq::modelFrame(this, "fileWithName:", [&]() -> std::shared_ptr<XmlFile> {
        if (auto found = firstChildOfType<XmlFile>([&](const XmlFile& file) { return file.filename() == name; }))
            return found;
        auto file = XmlFile::create();
        file->setFilename(name);
        addChild(file);
        return file;
    });
}

QStringList XmlFiles::importFiles(XmlBase* tree)
{
    return lq::modelFrame(this, "importFiles:", [&] {
        QStringList refused;
        if (!tree)
            return refused;
        for (const XmlBasePtr& child : tree->children()) {
            if (XmlFile* file = XmlFile::cast(child.get())) {
                // Files dropped from outside carry their absolute path; files
                // of a dragged tree are read through that tree's gateway.
                const QString& filename = file->filename();
                if (QDir::isAbsolutePath(filename)) {
                    if (!importFilename(filename))
                        refused.append(filename);
                    continue;
                }
                const std::shared_ptr<ConfinedFolder> from = treeFolderOf(file);
                const bool copied = from && placeCopy(filename, [&](ConfinedFolder& into, const QString& temporary, QString* why) {
                    return from->copyTo(pathInTree(file), into, temporary, why);
                });
                if (!copied)
                    refused.append(file->fullname());
            } else if (XmlFolder* folder = XmlFolder::cast(child.get())) {
                // A folder dragged into itself or into one of its own
                // subfolders would be copied into the copy without end.
                if (isSelfOrDescendantOf(folder)) {
                    refused.append(folder->foldername());
                    continue;
                }
                if (std::shared_ptr<XmlFolder> into = folderWithName(folder->foldername()))
                    refused.append(into->importFiles(folder));
                else
                    refused.append(folder->foldername());
            }
        }
        return refused;
    });
}

bool XmlFiles::moveFileHere(XmlFile& file, QString* why)
{
    return lq::modelFrame(this, "moveFileHere:", [&]() -> bool {
        const std::shared_ptr<ConfinedFolder> folder = treeFolder(why);
        if (!folder)
            return false;
        if (treeRootOf(&file) != treeRootOf(this) || !XmlFile::isPlainName(file.filename())) {
            if (why)
                *why = QStringLiteral("it is no file of this tree");
            return false;
        }
        return folder->rename(pathInTree(&file), joined(pathInTree(this), file.filename()), ConfinedFolder::Replace::Never, why);
    });
}

void XmlFiles::deleteFilename(const QString& name, QString* error)
{
    lq::modelFrame(this, "deleteFilename:", [&] {
        if (name.isNull())
            return;
        for (const XmlBasePtr& child : children()) {
            const QString childName = child->name();
            if (childName.isNull() || childName != name)
                continue;
            // Only an entry of this very folder is ever removed, through the
            // tree's gateway: a folder on the way that is a link stops it, a
            // link itself goes (never what it points at).
            QString why;
            const std::shared_ptr<ConfinedFolder> folder = treeFolder(&why);
            if (folder && !XmlFile::isPlainName(diskName(child.get())))
                why = QStringLiteral("\"") + diskName(child.get()) + QStringLiteral("\" is no plain file name");
            else if (folder && folder->remove(pathInTree(child.get()), &why)) {
                removeChild(child.get());
                return;
            }
            lq::log(why);
            if (error)
                *error = why;
            return;
        }
    });
}

void XmlFiles::addFolder()
{
    lq::modelFrame(this, "addFolder", [&] { createFolder(QStringLiteral("untitled folder")); });
}

std::shared_ptr<XmlFolder> XmlFiles::folderWithName(const QString& name)
{
    return lq::modelFrame(this, "folderWithName:", [&]() -> std::shared_ptr<XmlFolder> {
        if (auto found = firstChildOfType<XmlFolder>([&](const XmlFolder& folder) { return folder.foldername() == name; }))
            return found;
        if (!XmlFile::isPlainName(name))
            return nullptr;
        return createFolder(name);
    });
}

std::shared_ptr<XmlFolder> XmlFiles::createFolder(const QString& base)
{
    const std::shared_ptr<ConfinedFolder> folder = treeFolder();
    if (!folder || !XmlFile::isPlainName(base))
        return nullptr;
    const QString here = pathInTree(this);
    // Anything already there, a dangling link included, takes the name.
    QString name = base;
    for (int number = 2;; ++number) {
        bool taken = false;
        if (folder->makeNewFolder(joined(here, name), nullptr, &taken))
            break;
        if (!taken)
            return nullptr;
        name = base + QLatin1Char(' ') + QString::number(number);
    }
    auto made = XmlFolder::create();
    made->setFoldername(name);
    addChild(made);
    return made;
}

void XmlFiles::sortByCreationDate()
{
    lq::modelFrame(this, "sortByCreationDate", [&] {
        if (!_children)
            return;
        const auto dateOf = [](const XmlBasePtr& element) {
            return XmlFile::creationDateOf(element.get()).value_or(0.0);
        };
        std::stable_sort(_children->begin(), _children->end(),
            [&](const XmlBasePtr& a, const XmlBasePtr& b) { return dateOf(a) > dateOf(b); });
    });
}

bool XmlFiles::isInsideRootFolder(const XmlBase* element, const QString& path)
{
    return lq::classFrame("XmlFiles +isInsideRootFolder:path:", [&]() -> bool {
        const XmlFiles* root = nullptr;
        for (const XmlBase* node = element; node && !root; node = node->parent()) {
            if (const auto* folder = dynamic_cast<const XmlFolder*>(node)) {
                if (!XmlFile::isPlainName(folder->foldername()))
                    return false;
            } else if (const auto* files = dynamic_cast<const XmlFiles*>(node)) {
                root = files;
            }
        }
        if (!root || path.isEmpty())
            return false;
        const std::shared_ptr<ConfinedFolder> folder = const_cast<XmlFiles*>(root)->treeFolder();
        const std::optional<QString> name = folder ? folder->nameOf(path) : std::nullopt;
        if (!name || name->isEmpty() || !ConfinedFolder::unsafeName(*name).isEmpty())
            return false;
        // No link on the way from the tree's folder is followed: wherever it
        // points today, a change through it would land outside.
        const qsizetype slash = name->lastIndexOf(QLatin1Char('/'));
        if (slash < 0)
            return true;
        const ConfinedFolder::Kind above = folder->status(name->left(slash)).kind;
        return above == ConfinedFolder::Kind::Folder || above == ConfinedFolder::Kind::Missing;
    });
}

int XmlFiles::compareCreationDate(XmlBase* other)
{
    return lq::modelFrame(this, "compareCreationDate:", [&] { return XmlFile::compareCreationDates(this, other); });
}
