#include "model/files/XmlFiles.h"

#include "model/files/XmlFile.h"
#include "model/files/XmlFolder.h"
#include "platform/ExceptionFrame.h"
#include "platform/FileHelpers.h"
#include "platform/Image.h"
#include "platform/Strings.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <system_error>

#include <sys/stat.h>
#include <unistd.h>

namespace {

std::filesystem::path nativePath(const QString& path)
{
    return std::filesystem::path(QFile::encodeName(path).toStdString());
}

// True when both paths name one file (the same path, a link to it, a hard link).
bool isSameFile(const QString& a, const QString& b)
{
    std::error_code error;
    const bool same = std::filesystem::equivalent(nativePath(a), nativePath(b), error);
    return !error && same;
}

// True when anything, a dangling link included, is at the path.
bool somethingAt(const QString& path)
{
    const QFileInfo info(path);
    return info.exists() || info.isSymLink();
}

// Copies the source into a temporary file in the folder and puts that in
// place of the destination in one rename, so that the destination is either
// the old file or the complete copy. Answers whether the copy is in place.
bool copyReplacing(const QString& source, const QString& folder, const QString& destination)
{
    QFile input(source);
    if (!input.open(QIODevice::ReadOnly))
        return false;
    QTemporaryFile staged(folder + QStringLiteral("/.import-XXXXXX"));
    if (!staged.open())
        return false;
    QByteArray buffer(64 * 1024, Qt::Uninitialized);
    for (;;) {
        const qint64 count = input.read(buffer.data(), buffer.size());
        if (count < 0)
            return false;
        if (count == 0)
            break;
        if (staged.write(buffer.constData(), count) != count)
            return false;
    }
    if (!staged.flush() || ::fsync(staged.handle()) != 0)
        return false;
    staged.setPermissions(input.permissions());
    staged.close();
    if (::rename(QFile::encodeName(staged.fileName()).constData(), QFile::encodeName(destination).constData()) != 0)
        return false;
    staged.setAutoRemove(false);
    return true;
}

// Removes whatever is at the path: a folder with its contents (links inside
// are removed, not followed), a file or a link. Answers whether it is gone.
bool removeFromDisk(const QString& path)
{
    const QFileInfo info(path);
    if (info.isDir() && !info.isSymLink())
        QDir(path).removeRecursively();
    else
        QFile::remove(path);
    return !somethingAt(path);
}

// The name an element of a file tree has on disk inside its folder.
QString diskName(XmlBase* element)
{
    if (XmlFile* file = XmlFile::cast(element))
        return file->filename();
    if (XmlFolder* folder = XmlFolder::cast(element))
        return folder->foldername();
    return QString();
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

bool XmlFiles::importFilename(const QString& source)
{
    return lq::modelFrame(this, "importFilename:", [&]() -> bool {
        const QString folder = fullname();
        const QString name = lq::lastPathComponent(source);
        if (folder.isEmpty() || !XmlFile::isPlainName(name))
            return false;
        if (!QFileInfo(source).isFile())
            return false;
        const QString destination = folder + QLatin1Char('/') + name;
        if (!isInsideRootFolder(this, destination))
            return false;
        const QFileInfo target(destination);
        if (target.isDir() && !target.isSymLink())
            return false;
        // A file of this folder dropped onto the folder is already in place.
        if (!isSameFile(source, destination) && !copyReplacing(source, folder, destination))
            return false;
        fileWithName(name);
        return true;
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
                // of a dragged tree find theirs through the tree.
                const QString& filename = file->filename();
                const QString source = QDir::isAbsolutePath(filename) ? filename : file->fullname();
                if (!importFilename(source))
                    refused.append(source);
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

void XmlFiles::deleteFilename(const QString& name)
{
    lq::modelFrame(this, "deleteFilename:", [&] {
        if (name.isNull())
            return;
        for (const XmlBasePtr& child : children()) {
            const QString childName = child->name();
            if (childName.isNull() || childName != name)
                continue;
            // Only an entry of this very folder is ever removed.
            const QString path = child->fullname();
            if (!XmlFile::isPlainName(diskName(child.get())) || !isInsideRootFolder(child.get(), path))
                return;
            if (removeFromDisk(path))
                removeChild(child.get());
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
    const QString parentPath = fullname();
    if (parentPath.isEmpty())
        return nullptr;
    QString path = parentPath + QLatin1Char('/') + base;
    if (!isInsideRootFolder(this, path))
        return nullptr;
    // mkdir fails with EEXIST for anything already there, a dangling link
    // included, so a taken name is never reused.
    for (int number = 2;; ++number) {
        if (::mkdir(QFile::encodeName(path).constData(), 0777) == 0)
            break;
        if (errno != EEXIST)
            return nullptr;
        path = parentPath + QLatin1Char('/') + base + QLatin1Char(' ') + QString::number(number);
    }
    auto folder = XmlFolder::create();
    folder->setFoldername(lq::lastPathComponent(path));
    addChild(folder);
    return folder;
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
        const QString rootPath = root->fullname();
        if (rootPath.isEmpty())
            return false;
        const QString top = QDir::cleanPath(rootPath);
        const QString place = QDir::cleanPath(path);
        const auto inside = [](const QString& inner, const QString& outer) {
            return !outer.isEmpty() && inner.startsWith(outer) && inner.size() > outer.size()
                && (outer.endsWith(QLatin1Char('/')) || inner.at(outer.size()) == QLatin1Char('/'));
        };
        if (!inside(place, top))
            return false;
        // No link on the way from the document's folder (the library folder
        // for a stand-alone tree) is followed, the tree's own folder
        // ("files") included: wherever it points today, a change through it
        // would land outside.
        const QString package = const_cast<XmlFiles*>(root)->rootDir();
        return lq::linkUnsafePath(package, place).isEmpty();
    });
}

int XmlFiles::compareCreationDate(XmlBase* other)
{
    return lq::modelFrame(this, "compareCreationDate:", [&] { return XmlFile::compareCreationDates(this, other); });
}
