// The pasteboard operations of XmlBase and the turning of folders on disk
// into file elements: what views take from a drop or a paste, what the file
// lists build themselves from, and which files count as pictures to import.
#include "model/core/XmlBase.h"

#include "model/application/MyApplication.h"
#include "model/files/XmlExternalFiles.h"
#include "model/files/XmlFile.h"
#include "model/files/XmlFolder.h"
#include "model/files/XmlQVZIPFile.h"
#include "platform/ExceptionFrame.h"
#include "platform/Pasteboard.h"
#include "platform/Strings.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>

namespace {

// The entries directly inside the folder, in name order, hidden ones included.
// A folder that cannot be listed has none.
QFileInfoList entriesOf(const QString& folder)
{
    return QDir(folder).entryInfoList(
        QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
}

// The text after the last "." of the path's last component ("" when there is
// none). A leading dot counts too, so ".png" has the extension "png" and a
// hidden archive ".old.qvzip" is still an archive.
QString extensionOf(const QString& path)
{
    const QString last = lq::lastPathComponent(path);
    const qsizetype dot = last.lastIndexOf(QLatin1Char('.'));
    return dot < 0 ? QString(QLatin1String("")) : last.mid(dot + 1);
}

void addFilesBelow(const QString& folder, const QString& relative, XmlBase* parent)
{
    const QString here = relative.isEmpty() ? folder : folder + QLatin1Char('/') + relative;
    for (const QFileInfo& entry : entriesOf(here)) {
        // Links are not followed: a link to a folder above would never end.
        if (entry.isSymLink())
            continue;
        const QString below = relative.isEmpty() ? entry.fileName() : relative + QLatin1Char('/') + entry.fileName();
        if (entry.isFile()) {
            auto file = XmlFile::create();
            file->setFilename(folder + QLatin1Char('/') + below);
            parent->addChild(file);
        } else if (entry.isDir()) {
            addFilesBelow(folder, below, parent);
        }
    }
}

} // namespace

void XmlBase::putOnPasteboard(lq::Pasteboard& pasteboard)
{
    lq::modelFrame(this, "putOnPasteboard:", [&] { pasteboard.declareString(createXml()); });
}

XmlBasePtr XmlBase::createFromPasteboard(const lq::Pasteboard& pasteboard)
{
    return lq::classFrame("XmlBase +createFromPasteboard:", [&]() -> XmlBasePtr {
        if (const std::optional<QString> text = pasteboard.string()) {
            if (XmlBasePtr element = createWithXmlRootDir(*text, QString()))
                return element;
        }
        std::optional<QStringList> paths = pasteboard.filenames();
        if (!paths)
            return nullptr;
        std::stable_sort(paths->begin(), paths->end(),
            [](const QString& a, const QString& b) { return a.compare(b, Qt::CaseInsensitive) < 0; });
        auto files = XmlExternalFiles::create();
        for (const QString& path : *paths) {
            // Paths that vanished since the drop are passed over.
            const QFileInfo info(path);
            if (info.isFile()) {
                auto file = XmlFile::create();
                file->setFilename(path);
                files->addChild(file);
            } else if (info.isDir()) {
                addContentsOfDirectoryTo(path, files.get());
            }
        }
        return files;
    });
}

bool XmlBase::canWeImport(const QString& path)
{
    return lq::classFrame("XmlBase +canWeImport:", [&] {
        return MyApplication::shared().allowedImportFileTypes().contains(extensionOf(path), Qt::CaseSensitive);
    });
}

void XmlBase::addDirectoryTreeToFoldersFiles(const QString& folder, XmlBase* parent, bool folders, bool files)
{
    lq::classFrame("XmlBase +addDirectoryTree:to:folders:files:", [&] {
        if (!parent)
            return;
        for (const QFileInfo& entry : entriesOf(folder)) {
            if (entry.isSymLink())
                continue;
            const QString name = entry.fileName();
            if (entry.isFile()) {
                if (!files)
                    continue;
                XmlBasePtr element;
                if (extensionOf(name) == QLatin1String("qvzip")) {
                    auto archive = XmlQVZIPFile::create();
                    archive->setFilename(name);
                    element = archive;
                } else if (name.startsWith(QLatin1Char('.'))) {
                    continue;
                } else {
                    auto file = XmlFile::create();
                    file->setFilename(name);
                    element = file;
                }
                parent->addChild(element);
            } else if (entry.isDir() && folders) {
                auto subfolder = XmlFolder::create();
                subfolder->setFoldername(name);
                parent->addChild(subfolder);
                addDirectoryTreeToFoldersFiles(folder + QLatin1Char('/') + name, subfolder.get(), folders, files);
            }
        }
    });
}

void XmlBase::addContentsOfDirectoryTo(const QString& folder, XmlBase* parent)
{
    lq::classFrame("XmlBase +addContentsOfDirectory:to:", [&] {
        if (parent)
            addFilesBelow(folder, QString(), parent);
    });
}
