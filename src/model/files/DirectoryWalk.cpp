#include "model/files/DirectoryWalk.h"

#include "model/files/XmlFile.h"
#include "model/files/XmlFolder.h"
#include "model/files/XmlQVZIPFile.h"
#include "platform/ConfinedFolder.h"
#include "platform/ExceptionFrame.h"
#include "platform/Strings.h"

#include <QDir>
#include <QFileInfo>

namespace {

// The text after the last "." of the name ("" when there is none). A leading
// dot counts too, so a hidden archive ".old.qvzip" is still an archive.
QString extensionOf(const QString& name)
{
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    return dot < 0 ? QString(QLatin1String("")) : name.mid(dot + 1);
}

// The file element for a regular file, or nothing when the walk leaves it out.
XmlBasePtr fileElement(const QString& name, const QString& filename, const DirectoryWalk& walk)
{
    if (!walk.files)
        return nullptr;
    if (walk.archives && extensionOf(name) == QLatin1String("qvzip")) {
        auto archive = XmlQVZIPFile::create();
        archive->setFilename(filename);
        return archive;
    }
    if (!walk.hiddenFiles && name.startsWith(QLatin1Char('.')))
        return nullptr;
    auto file = XmlFile::create();
    file->setFilename(filename);
    return file;
}

// Walks "<folder>/<relative>"; relative is the path below the folder the walk began in.
void walk(const QString& folder, const QString& relative, XmlBase* parent, const DirectoryWalk& options)
{
    const QString here = relative.isEmpty() ? folder : folder + QLatin1Char('/') + relative;
    const QFileInfoList entries = QDir(here).entryInfoList(
        QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
    const bool flat = options.folders == DirectoryWalk::Folders::Flatten;
    for (const QFileInfo& entry : entries) {
        if (entry.isSymLink())
            continue;
        const QString name = entry.fileName();
        const QString below = relative.isEmpty() ? name : relative + QLatin1Char('/') + name;
        if (entry.isFile()) {
            if (XmlBasePtr element = fileElement(name, flat ? folder + QLatin1Char('/') + below : name, options))
                parent->addChild(element);
        } else if (entry.isDir()) {
            if (flat) {
                walk(folder, below, parent, options);
            } else if (options.folders == DirectoryWalk::Folders::AsElements) {
                auto subfolder = XmlFolder::create();
                subfolder->setFoldername(name);
                parent->addChild(subfolder);
                walk(here + QLatin1Char('/') + name, QString(), subfolder.get(), options);
            }
        }
    }
}

// Walks the folder at the name below the gateway; relative is the path
// below the folder the walk began in.
void walkConfined(const lq::ConfinedFolder& folder, const QString& top, const QString& relative, XmlBase* parent, const DirectoryWalk& options)
{
    const QString here = relative.isEmpty() ? top : top.isEmpty() ? relative : top + QLatin1Char('/') + relative;
    const bool flat = options.folders == DirectoryWalk::Folders::Flatten;
    for (const lq::ConfinedFolder::Entry& entry : folder.list(here).value_or(QList<lq::ConfinedFolder::Entry>())) {
        const QString below = relative.isEmpty() ? entry.name : relative + QLatin1Char('/') + entry.name;
        if (entry.kind == lq::ConfinedFolder::Kind::File) {
            if (XmlBasePtr element = fileElement(entry.name, flat ? folder.pathOf(top.isEmpty() ? below : top + QLatin1Char('/') + below) : entry.name, options))
                parent->addChild(element);
        } else if (entry.kind == lq::ConfinedFolder::Kind::Folder) {
            if (flat) {
                walkConfined(folder, top, below, parent, options);
            } else if (options.folders == DirectoryWalk::Folders::AsElements) {
                auto subfolder = XmlFolder::create();
                subfolder->setFoldername(entry.name);
                parent->addChild(subfolder);
                walkConfined(folder, here.isEmpty() ? entry.name : here + QLatin1Char('/') + entry.name, QString(), subfolder.get(), options);
            }
        }
    }
}

} // namespace

void addDirectoryTree(const QString& folder, XmlBase* parent, const DirectoryWalk& options)
{
    if (parent)
        walk(folder, QString(), parent, options);
}

void addDirectoryTree(const lq::ConfinedFolder& folder, const QString& name, XmlBase* parent, const DirectoryWalk& options)
{
    if (parent)
        walkConfined(folder, name, QString(), parent, options);
}

namespace lq {

void addDirectoryTreeToFoldersFiles(const QString& folder, XmlBase* parent, bool folders, bool files)
{
    classFrame("XmlBase +addDirectoryTree:to:folders:files:", [&] {
        using Folders = DirectoryWalk::Folders;
        addDirectoryTree(folder, parent,
            { .folders = folders ? Folders::AsElements : Folders::Skip, .files = files, .hiddenFiles = false, .archives = true });
    });
}

void addContentsOfDirectoryTo(const QString& folder, XmlBase* parent)
{
    classFrame("XmlBase +addContentsOfDirectory:to:", [&] {
        addDirectoryTree(folder, parent, { .folders = DirectoryWalk::Folders::Flatten });
    });
}

} // namespace lq
