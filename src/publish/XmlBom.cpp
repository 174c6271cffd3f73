#include "publish/XmlBom.h"

#include "platform/ExceptionFrame.h"
#include "platform/FileHelpers.h"
#include "platform/Log.h"
#include "publish/XmlF.h"

#include <QDir>
#include <QFile>
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

// Copies the file beside its destination under a temporary name and then
// renames it into place, so that the old file stays until the new one is
// whole. Answers "" when it did, else why not.
QString copyFileSafely(const QString& from, const QString& to)
{
    const QString temporary = to + QStringLiteral(".lqpart");
    QFile::remove(temporary);
    QString why;
    if (!lq::copyFile(from, temporary, &why)) {
        lq::log(why);
        return why.isEmpty() ? QStringLiteral("it could not be copied") : why;
    }
    // QFile::rename refuses to replace; the old file goes only now.
    QFile old(to);
    if (old.exists() && !old.remove()) {
        QFile::remove(temporary);
        return QStringLiteral("the file there could not be replaced: ") + old.errorString();
    }
    QFile copy(temporary);
    if (!copy.rename(to)) {
        const QString reason = copy.errorString();
        QFile::remove(temporary);
        return QStringLiteral("the copy could not be put in place: ") + reason;
    }
    return QString();
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

QString XmlBom::createFiles()
{
    return lq::modelFrame(this, "createFiles", [&]() -> QString {
        _failures.clear();
        if (_addFiles) {
            const QString error = copyTree(_addFiles.get(), _rootSource, _rootDest, QString());
            if (!error.isEmpty())
                return error;
        }
        if (_removeFiles)
            deleteTree(_removeFiles.get(), _rootDest);
        if (_failures.isEmpty())
            return QString();
        return QStringLiteral("Could not copy: ") + failedFiles().join(QStringLiteral(", "));
    });
}

QString XmlBom::copyTree(XmlD* tree, const QString& source, const QString& dest, const QString& relative)
{
    if (source == dest)
        return QString();
    const QFileInfo sourceInfo(source);
    if (!sourceInfo.exists())
        return QStringLiteral("Source folder:") + source + QStringLiteral(" does not exist");
    if (!sourceInfo.isDir())
        return QStringLiteral("Source folder:") + source + QStringLiteral(" is a file");
    const QFileInfo destInfo(dest);
    if (destInfo.exists() && !destInfo.isDir())
        return QStringLiteral("Destination folder:") + dest + QStringLiteral(" is a file");
    if (!destInfo.exists() && !QDir().mkpath(dest))
        return QStringLiteral("Could not create destination folder:") + dest;
    for (const XmlBasePtr& child : tree->children()) {
        const QString name = child->name();
        const QString path = relative.isEmpty() ? name : relative + QLatin1Char('/') + name;
        if ((XmlD::isFileNode(child.get()) || XmlD::isFolderNode(child.get())) && !XmlD::isSafeName(name)) {
            // Such a name could lead out of the destination folder.
            lq::log(QStringLiteral("Refused to copy a file whose name leads out of the folder: ") + path);
            _failures.append({ path, QStringLiteral("its name leads out of the folder") });
            continue;
        }
        const QString from = source + QLatin1Char('/') + name;
        const QString to = dest + QLatin1Char('/') + name;
        if (XmlD::isFileNode(child.get())) {
            if (const QString why = copyFileSafely(from, to); !why.isEmpty()) {
                lq::log(QStringLiteral("Could not copy:") + from + QStringLiteral(" to:") + to);
                _failures.append({ path, why });
            }
        } else if (XmlD::isFolderNode(child.get())) {
            const QString error = copyTree(static_cast<XmlD*>(child.get()), from, to, path);
            if (!error.isEmpty())
                return error;
        }
    }
    return QString();
}

void XmlBom::deleteTree(XmlD* tree, const QString& folder)
{
    const QFileInfo info(folder);
    // A link in the destination is never followed: what it leads to is not ours.
    if (!info.isDir() || (folder != _rootDest && info.isSymLink()))
        return;
    for (const XmlBasePtr& child : tree->children()) {
        if (!XmlD::isFileNode(child.get()) && !XmlD::isFolderNode(child.get()))
            continue;
        if (!XmlD::isSafeName(child->name())) {
            lq::log(QStringLiteral("Refused to remove a file whose name leads out of the folder ") + folder);
            continue;
        }
        const QString path = folder + QLatin1Char('/') + child->name();
        if (XmlD::isFileNode(child.get()))
            QFile::remove(path);
        else
            deleteTree(static_cast<XmlD*>(child.get()), path);
    }
}
