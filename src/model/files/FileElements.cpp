#include "model/files/FileElements.h"

#include "model/core/ElementFactory.h"
#include "model/core/ElementPasteboard.h"
#include "model/files/DirectoryWalk.h"
#include "model/files/XmlExternalFiles.h"
#include "model/files/XmlFile.h"
#include "model/files/XmlFiles.h"
#include "platform/ExceptionFrame.h"

#include <QFileInfo>

#include <algorithm>

namespace {

// An XmlExternalFiles with a file element per existing file and per file
// anywhere below an existing folder, the paths taken in case-insensitive order.
// A path given that is neither a file nor a folder (a pipe, a device, a link
// to nothing) stays in the list as a file: whoever takes the list refuses it
// and says why, rather than it going without a word.
XmlBasePtr pastedFiles(QStringList paths)
{
    return lq::classFrame("XmlBase +createFromPasteboard:", [&]() -> XmlBasePtr {
        std::stable_sort(paths.begin(), paths.end(),
            [](const QString& a, const QString& b) { return a.compare(b, Qt::CaseInsensitive) < 0; });
        auto files = XmlExternalFiles::create();
        for (const QString& path : paths) {
            // Paths that vanished since the drop are passed over.
            const QFileInfo info(path);
            if (info.isDir()) {
                lq::addContentsOfDirectoryTo(path, files.get());
            } else if (info.exists() || info.isSymLink()) {
                auto file = XmlFile::create();
                file->setFilename(path);
                files->addChild(file);
            }
        }
        return files;
    });
}

} // namespace

namespace lq {

void registerFileElements()
{
    lq::addFactoryTags({
        { "file", &lq::makeElement<XmlFile> },
        { "files", &lq::makeElement<XmlFiles> },
    });
    lq::registerPastedFiles(&pastedFiles);
}

} // namespace lq
