#include "publish/XmlBom.h"

#include "platform/ConfinedFolder.h"
#include "platform/ExceptionFrame.h"
#include "platform/Log.h"
#include "publish/XmlF.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>

namespace {

std::shared_ptr<XmlF> copyOfFile(const XmlF* file)
{
    auto copy = XmlF::create();
    copy->setName(file->name());
    copy->setMd5(file->md5());
    return copy;
}

// The files and folders right inside a folder, found by name: the change set
// looks up every file of one tree in the other, so each folder is indexed
// once instead of being searched once per file.
struct FolderIndex {
    explicit FolderIndex(const XmlD* folder)
    {
        if (!folder)
            return;
        const XmlBaseList children = folder->children();
        files.reserve(children.size());
        for (const XmlBasePtr& child : children) {
            if (XmlD::isFileNode(child.get()))
                files.insert(child->name(), static_cast<const XmlF*>(child.get()));
            else if (XmlD::isFolderNode(child.get()) && !folders.contains(child->name()))
                folders.insert(child->name(), static_cast<const XmlD*>(child.get()));
        }
    }

    bool hasFile(const QString& name) const { return files.contains(name); }
    // Whether a file of the name holds the digest.
    bool hasFileWithDigest(const QString& name, const QString& md5) const
    {
        for (auto it = files.constFind(name); it != files.cend() && it.key() == name; ++it)
            if (it.value()->md5() == md5)
                return true;
        return false;
    }
    // The first folder of the name, or nothing.
    const XmlD* folder(const QString& name) const { return folders.value(name, nullptr); }

    QMultiHash<QString, const XmlF*> files;
    QHash<QString, const XmlD*> folders;
};

// The files and folders of the new tree that the old one lacks or holds with
// another digest; every folder of the new tree keeps its node.
std::shared_ptr<XmlD> additions(const XmlD* newer, const XmlD* older, const QString& name)
{
    auto result = XmlD::create();
    if (!name.isNull())
        result->setName(name);
    if (!newer)
        return result;
    const FolderIndex old(older);
    for (const XmlBasePtr& child : newer->children()) {
        if (XmlD::isFileNode(child.get())) {
            const auto* file = static_cast<const XmlF*>(child.get());
            if (!old.hasFileWithDigest(file->name(), file->md5()))
                result->addChild(copyOfFile(file));
        } else if (XmlD::isFolderNode(child.get())) {
            result->addChild(additions(static_cast<const XmlD*>(child.get()), old.folder(child->name()), child->name()));
        }
    }
    return result;
}

// The files of the old tree whose names the new tree no longer has.
std::shared_ptr<XmlD> removals(const XmlD* older, const XmlD* newer, const QString& name)
{
    auto result = XmlD::create();
    if (!name.isNull())
        result->setName(name);
    if (!older)
        return result;
    const FolderIndex now(newer);
    for (const XmlBasePtr& child : older->children()) {
        if (XmlD::isFileNode(child.get())) {
            if (!now.hasFile(child->name()))
                result->addChild(copyOfFile(static_cast<const XmlF*>(child.get())));
        } else if (XmlD::isFolderNode(child.get())) {
            result->addChild(removals(static_cast<const XmlD*>(child.get()), now.folder(child->name()), child->name()));
        }
    }
    return result;
}

// The ending of the temporary name a file is copied under beside its place
// in the destination, until it is whole.
const QString partEnding = QStringLiteral(".lqpart");

// Copies the file beside its destination under a temporary name and then
// renames it into place, so that the old file stays until the new one is
// whole; both ends reached through their gateways, never through a link.
bool copyFileSafely(const lq::ConfinedFolder& source, lq::ConfinedFolder& destination, const QString& name, QString& why)
{
    const QString temporary = name + partEnding;
    if (!destination.remove(temporary, &why) || !source.copyTo(name, destination, temporary, &why))
        return false;
    if (!destination.rename(temporary, name, lq::ConfinedFolder::Replace::Always, &why)) {
        QString ignored;
        destination.remove(temporary, &ignored);
        return false;
    }
    return true;
}

// Every file below the tree, as paths below `relative`.
void collectFiles(XmlD* tree, const QString& relative, QStringList& paths)
{
    for (const XmlBasePtr& child : tree->children()) {
        const QString path = relative.isEmpty() ? child->name() : relative + QLatin1Char('/') + child->name();
        if (XmlD::isFileNode(child.get()))
            paths.append(path);
        else if (XmlD::isFolderNode(child.get()))
            collectFiles(static_cast<XmlD*>(child.get()), path, paths);
    }
}

} // namespace

QStringList XmlBom::failedFiles() const
{
    QStringList paths;
    for (const FileFailure& failure : _failures)
        paths.append(failure.path);
    return paths;
}

XmlBom::XmlBom(Key key)
    : XmlBase(key)
{
}

std::shared_ptr<XmlBom> XmlBom::create()
{
    return make<XmlBom>();
}

QString XmlBom::elementName() const
{
    return QStringLiteral("Bom");
}

std::shared_ptr<XmlBom> XmlBom::createWithSourceDest(XmlD* source, XmlD* dest)
{
    auto bom = create();
    lq::modelFrame(bom.get(), "createWithSource:dest:", [&] {
        bom->setAddFiles(additions(source, dest, QString()));
        bom->setRemoveFiles(removals(dest, source, QString()));
        if (source) {
            for (const FileFailure& unlisted : source->listingFailures())
                bom->removeFiles()->removeFileMd5(unlisted.path, QString());
        }
    });
    return bom;
}

std::shared_ptr<lq::ConfinedFolder> XmlBom::openSource(QString& error) const
{
    if (_sourceFolder)
        return _sourceFolder;
    const QFileInfo sourceInfo(_rootSource);
    if (!sourceInfo.exists()) {
        error = QStringLiteral("Source folder:") + _rootSource + QStringLiteral(" does not exist");
        return nullptr;
    }
    if (!sourceInfo.isDir()) {
        error = QStringLiteral("Source folder:") + _rootSource + QStringLiteral(" is a file");
        return nullptr;
    }
    QString why;
    std::shared_ptr<lq::ConfinedFolder> source = lq::ConfinedFolder::open(_rootSource, &why);
    if (!source)
        error = QStringLiteral("Source folder:") + _rootSource + QStringLiteral(" cannot be read: ") + why;
    return source;
}

std::shared_ptr<lq::ConfinedFolder> XmlBom::openDestination(QString& error) const
{
    // The folder the user chose, made when it is missing: the way to it is
    // theirs. Everything below it is reached through its gateway.
    const QFileInfo destInfo(_rootDest);
    if (destInfo.exists() && !destInfo.isDir()) {
        error = QStringLiteral("Destination folder:") + _rootDest + QStringLiteral(" is a file");
        return nullptr;
    }
    if (!destInfo.exists() && !QDir().mkpath(_rootDest)) {
        error = QStringLiteral("Could not create destination folder:") + _rootDest;
        return nullptr;
    }
    QString why;
    std::shared_ptr<lq::ConfinedFolder> destination = lq::ConfinedFolder::open(_rootDest, &why);
    if (!destination)
        error = QStringLiteral("Could not create destination folder:") + _rootDest + QStringLiteral(": ") + why;
    return destination;
}

QString XmlBom::createFiles()
{
    return lq::modelFrame(this, "createFiles", [&]() -> QString {
        _failures.clear();
        QString error;
        const std::shared_ptr<lq::ConfinedFolder> source = _addFiles ? openSource(error) : nullptr;
        if (_addFiles && !source)
            return error;
        const std::shared_ptr<lq::ConfinedFolder> destination = openDestination(error);
        if (!destination)
            return error;
        removeLeftovers(*destination);
        // A folder copied onto itself: nothing to copy.
        const lq::ConfinedFolder::Status from = source ? source->status(QString()) : lq::ConfinedFolder::Status();
        const lq::ConfinedFolder::Status to = destination->status(QString());
        if (_addFiles && !(from.device == to.device && from.inode == to.inode))
            copyTree(_addFiles.get(), *source, *destination, QString());
        if (_removeFiles)
            deleteTree(_removeFiles.get(), *destination, QString());
        if (_failures.isEmpty())
            return QString();
        return QStringLiteral("Could not copy: ") + failedFiles().join(QStringLiteral(", "));
    });
}

void XmlBom::removeLeftovers(lq::ConfinedFolder& destination)
{
    // A copy that was killed before it was whole left its temporary file;
    // the next export takes it away. Links are listed, never entered.
    QString why;
    const std::optional<QList<lq::ConfinedFolder::Entry>> entries = destination.list(QString(), &why, true);
    for (const lq::ConfinedFolder::Entry& entry : entries.value_or(QList<lq::ConfinedFolder::Entry>())) {
        if (entry.kind != lq::ConfinedFolder::Kind::File || !entry.name.endsWith(partEnding))
            continue;
        if (destination.remove(entry.name, &why))
            lq::log(QStringLiteral("Removed what an interrupted export left: ") + destination.pathOf(entry.name));
        else
            lq::log(why);
    }
}

void XmlBom::copyTree(XmlD* tree, const lq::ConfinedFolder& source, lq::ConfinedFolder& destination, const QString& relative)
{
    for (const XmlBasePtr& child : tree->children()) {
        const QString name = child->name();
        const QString path = relative.isEmpty() ? name : relative + QLatin1Char('/') + name;
        if ((XmlD::isFileNode(child.get()) || XmlD::isFolderNode(child.get())) && !XmlD::isSafeName(name)) {
            // Such a name could lead out of the destination folder.
            lq::log(QStringLiteral("Refused to copy a file whose name leads out of the folder: ") + path);
            _failures.append({ path, QStringLiteral("its name leads out of the folder") });
            continue;
        }
        QString why;
        if (XmlD::isFileNode(child.get())) {
            if (!copyFileSafely(source, destination, path, why)) {
                lq::log(QStringLiteral("Could not copy:") + source.pathOf(path) + QStringLiteral(" to:") + destination.pathOf(path)
                    + QStringLiteral(": ") + why);
                _failures.append({ path, why });
            }
        } else if (XmlD::isFolderNode(child.get())) {
            // A folder is made where none is; a link or a file in its
            // place stays as it is, and nothing of the folder arrives.
            if (!destination.makeFolder(path, &why, false)) {
                lq::log(QStringLiteral("Could not copy the folder ") + path + QStringLiteral(": ") + why);
                QStringList paths;
                collectFiles(static_cast<XmlD*>(child.get()), path, paths);
                for (const QString& file : paths)
                    _failures.append({ file, QStringLiteral("its folder could not be made: ") + why });
                continue;
            }
            copyTree(static_cast<XmlD*>(child.get()), source, destination, path);
        }
    }
}

void XmlBom::deleteTree(XmlD* tree, lq::ConfinedFolder& destination, const QString& relative)
{
    for (const XmlBasePtr& child : tree->children()) {
        if (!XmlD::isFileNode(child.get()) && !XmlD::isFolderNode(child.get()))
            continue;
        if (!XmlD::isSafeName(child->name())) {
            lq::log(QStringLiteral("Refused to remove a file whose name leads out of the folder ") + destination.pathOf(relative));
            continue;
        }
        const QString path = relative.isEmpty() ? child->name() : relative + QLatin1Char('/') + child->name();
        // A link in the destination is never followed: what it leads to is
        // not ours. A file's link is removed as the file would be.
        const lq::ConfinedFolder::Kind kind = destination.status(path).kind;
        QString why;
        if (XmlD::isFileNode(child.get())) {
            if ((kind == lq::ConfinedFolder::Kind::File || kind == lq::ConfinedFolder::Kind::Link) && !destination.remove(path, &why))
                lq::log(why);
        } else if (kind == lq::ConfinedFolder::Kind::Folder) {
            deleteTree(static_cast<XmlD*>(child.get()), destination, path);
        }
    }
}
