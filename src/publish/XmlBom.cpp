#include "publish/XmlBom.h"

#include "platform/ConfinedFolder.h"
#include "platform/ExceptionFrame.h"
#include "platform/Log.h"
#include "publish/XmlF.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QRandomGenerator>
#include <QRegularExpression>

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

// The temporary name a file is copied under beside its place: its own name,
// a random mark and an ending of ours, or, where that would be longer than
// a name may be, the mark and the ending alone.
QString temporaryNameFor(const QString& path)
{
    const qsizetype slash = path.lastIndexOf(QLatin1Char('/'));
    const QString folder = path.left(slash + 1);
    const QString name = path.mid(slash + 1);
    const QString mark = QLatin1Char('.') + QString::number(QRandomGenerator::global()->generate64() & 0xFFFFFFFFFFFFull, 16)
        + QStringLiteral(".lqpart");
    // NAME_MAX of the file systems at hand, in bytes.
    constexpr qsizetype longestName = 255;
    if ((name + mark).toUtf8().size() > longestName)
        return folder + mark;
    return folder + name + mark;
}

// Whether the path's last name has the form temporaryNameFor gives.
bool isTemporaryName(const QString& path)
{
    static const QRegularExpression form(QStringLiteral("(^|/)[^/]*\\.[0-9a-f]{1,12}\\.lqpart$"));
    return form.match(path).hasMatch();
}

// Copies the file beside its destination under its temporary name and then
// renames it into place, so that the old file stays until the new one is
// whole; both ends reached through their gateways, never through a link.
bool copyFileSafely(const lq::ConfinedFolder& source, lq::ConfinedFolder& destination, const QString& name, const QString& temporary,
    QString& why)
{
    if (!source.copyTo(name, destination, temporary, &why))
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
        const QStringList leftOver = removeRecordedLeftovers(*destination, source.get());
        // A folder copied onto itself: nothing to copy.
        const lq::ConfinedFolder::Status from = source ? source->status(QString()) : lq::ConfinedFolder::Status();
        const lq::ConfinedFolder::Status to = destination->status(QString());
        const bool copying = _addFiles && !(from.device == to.device && from.inode == to.inode);
        _temporaries.clear();
        if (copying) {
            QSet<QString> taken(leftOver.cbegin(), leftOver.cend());
            chooseTemporaries(_addFiles.get(), *source, *destination, QString(), taken);
        }
        // Recorded before any of them is made: a copy killed on the way
        // leaves nothing the next one does not know of.
        writeRecord(*destination, leftOver + _temporaries.values());
        if (copying)
            copyTree(_addFiles.get(), *source, *destination, QString());
        if (_removeFiles)
            deleteTree(_removeFiles.get(), *destination, QString());
        // What is still there (a temporary file that could not be taken
        // away) stays recorded for the next copy.
        QStringList stillThere;
        for (const QString& path : leftOver + _temporaries.values())
            if (destination->status(path).exists())
                stillThere.append(path);
        writeRecord(*destination, stillThere);
        if (_failures.isEmpty())
            return QString();
        return QStringLiteral("Could not copy: ") + failedFiles().join(QStringLiteral(", "));
    });
}

QStringList XmlBom::removeRecordedLeftovers(lq::ConfinedFolder& destination, const lq::ConfinedFolder* source)
{
    if (!_recordFolder || !_recordFolder->exists(_recordName))
        return {};
    QString why;
    const std::optional<QByteArray> bytes = _recordFolder->readFile(_recordName, 64 * 1024 * 1024, &why);
    const std::shared_ptr<XmlD> record
        = bytes ? std::dynamic_pointer_cast<XmlD>(XmlBase::createWithXmlRootDir(QString::fromUtf8(*bytes), QString())) : nullptr;
    if (!record || !XmlD::isFolderNode(record.get())) {
        lq::log(QStringLiteral("The record of an export's temporary files cannot be read: ")
            + (why.isEmpty() ? _recordFolder->pathOf(_recordName) : why));
        return {};
    }
    // The record names the folder its copy went to. A site folder may come
    // from anywhere: a record is trusted only for the folder the user chose
    // for this copy, and only for names of the form the copy makes.
    if (record->name() != destination.path()) {
        lq::log(QStringLiteral("The temporary files of an export to ") + record->name() + QStringLiteral(" were left there: ")
            + XmlD::shownName(record->filePaths().join(QStringLiteral(", "))));
        return {};
    }
    QStringList stillThere;
    for (const QString& path : record->filePaths()) {
        if (!XmlD::isSafePath(path) || !isTemporaryName(path))
            continue;
        // A file of the site at that name now is the site's, whatever the
        // record says: it is copied as any other.
        if (source && source->status(path).exists())
            continue;
        if (destination.status(path).kind != lq::ConfinedFolder::Kind::File)
            continue;
        if (destination.remove(path, &why)) {
            lq::log(QStringLiteral("Removed what an interrupted export left: ") + destination.pathOf(path));
        } else {
            lq::log(why);
            stillThere.append(path);
        }
    }
    return stillThere;
}

void XmlBom::chooseTemporaries(XmlD* tree, const lq::ConfinedFolder& source, const lq::ConfinedFolder& destination,
    const QString& relative, QSet<QString>& taken)
{
    for (const XmlBasePtr& child : tree->children()) {
        const QString name = child->name();
        if (!XmlD::isSafeName(name))
            continue;
        const QString path = relative.isEmpty() ? name : relative + QLatin1Char('/') + name;
        if (XmlD::isFolderNode(child.get())) {
            chooseTemporaries(static_cast<XmlD*>(child.get()), source, destination, path, taken);
            continue;
        }
        if (!XmlD::isFileNode(child.get()))
            continue;
        // A name neither the site nor the destination holds, nor another
        // file of this copy took.
        QString temporary;
        for (int tries = 0; tries < 64; ++tries) {
            temporary = temporaryNameFor(path);
            const lq::ConfinedFolder::Kind there = destination.status(temporary).kind;
            // A way that is not taken (a link in a folder's place) stays
            // so for any name: the copy says why.
            if (there == lq::ConfinedFolder::Kind::Refused)
                break;
            if (there == lq::ConfinedFolder::Kind::Missing && !taken.contains(temporary) && !source.status(temporary).exists())
                break;
        }
        taken.insert(temporary);
        _temporaries.insert(path, temporary);
    }
}

void XmlBom::writeRecord(const lq::ConfinedFolder& destination, const QStringList& paths)
{
    if (!_recordFolder)
        return;
    QString why;
    if (paths.isEmpty()) {
        if (!_recordFolder->remove(_recordName, &why))
            lq::log(why);
        return;
    }
    auto record = XmlD::create();
    record->setName(destination.path());
    for (const QString& path : paths)
        record->addFileMd5(path, QStringLiteral(""));
    if (!_recordFolder->writeFileAtomically(_recordName, record->createXml().toUtf8(), &why, { .ownerOnly = true, .durable = true }))
        lq::log(QStringLiteral("The temporary files of this export could not be recorded: ") + why);
}

void XmlBom::copyTree(XmlD* tree, const lq::ConfinedFolder& source, lq::ConfinedFolder& destination, const QString& relative)
{
    for (const XmlBasePtr& child : tree->children()) {
        const QString name = child->name();
        const QString path = relative.isEmpty() ? name : relative + QLatin1Char('/') + name;
        const QString unsafe = XmlD::isFileNode(child.get()) || XmlD::isFolderNode(child.get()) ? XmlD::unsafeNameReason(name) : QString();
        if (!unsafe.isEmpty()) {
            // Such a name could lead out of the destination folder, or name another file there.
            lq::log(QStringLiteral("Refused to copy ") + XmlD::shownName(path) + QStringLiteral(": ") + unsafe);
            _failures.append({ path, unsafe });
            continue;
        }
        QString why;
        if (XmlD::isFileNode(child.get())) {
            if (!copyFileSafely(source, destination, path, _temporaries.value(path), why)) {
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
