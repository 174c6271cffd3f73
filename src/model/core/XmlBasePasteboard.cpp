// The pasteboard operations of XmlBase and the turning of folders on disk
// into file elements: what views take from a drop or a paste, what the file
// lists build themselves from, and which files count as pictures to import.
#include "model/core/XmlBase.h"

#include "model/core/ModelSettings.h"
#include "model/files/DirectoryWalk.h"
#include "model/files/XmlExternalFiles.h"
#include "model/files/XmlFile.h"
#include "platform/ExceptionFrame.h"
#include "platform/Pasteboard.h"
#include "platform/Strings.h"

#include <QFileInfo>

#include <algorithm>

namespace {

// The text after the last "." of the path's last component ("" when there is
// none). A leading dot counts too, so ".png" has the extension "png".
QString extensionOf(const QString& path)
{
    const QString last = lq::lastPathComponent(path);
    const qsizetype dot = last.lastIndexOf(QLatin1Char('.'));
    return dot < 0 ? QString(QLatin1String("")) : last.mid(dot + 1);
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
        return ModelSettings::shared().allowedImportFileTypes().contains(extensionOf(path), Qt::CaseSensitive);
    });
}

void XmlBase::addDirectoryTreeToFoldersFiles(const QString& folder, XmlBase* parent, bool folders, bool files)
{
    lq::classFrame("XmlBase +addDirectoryTree:to:folders:files:", [&] {
        using Folders = DirectoryWalk::Folders;
        addDirectoryTree(folder, parent,
            { .folders = folders ? Folders::AsElements : Folders::Skip, .files = files, .hiddenFiles = false, .archives = true });
    });
}

void XmlBase::addContentsOfDirectoryTo(const QString& folder, XmlBase* parent)
{
    lq::classFrame("XmlBase +addContentsOfDirectory:to:", [&] {
        addDirectoryTree(folder, parent, { .folders = DirectoryWalk::Folders::Flatten });
    });
}
