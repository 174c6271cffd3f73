#include "pipeline/XmlImportPhoto.h"

#include "pipeline/BuildSteps.h"
#include "pipeline/XmlProcessor.h"
#include "model/site/XmlAlbum.h"
#include "model/site/XmlPhoto.h"
#include "platform/ExceptionFrame.h"
#include "platform/Services.h"

XmlImportPhoto::XmlImportPhoto(Key key)
    : XmlRun(key)
{
}

std::shared_ptr<XmlImportPhoto> XmlImportPhoto::create()
{
    return make<XmlImportPhoto>();
}

std::shared_ptr<XmlImportPhoto> XmlImportPhoto::createForFileAlbumIndex(const QString& filename, const QString& album, int index)
{
    return lq::classFrame("XmlImportPhoto +createForFile:album:index:", [&] {
        std::shared_ptr<XmlImportPhoto> step = create();
        step->_filename = filename;
        step->_album = album;
        step->_index = index;
        if (const auto& lookup = lq::services().captionLookup)
            step->setCaption(lookup(filename));
        return step;
    });
}

std::shared_ptr<XmlProcessor> XmlImportPhoto::createProcessorForFilesAlbumIndex(const QStringList& filenames, const QString& album, int index)
{
    return lq::classFrame("XmlImportPhoto +createProcessorForFiles:album:index:", [&] {
        std::shared_ptr<XmlProcessor> processor = XmlProcessor::create();
        processor->setStatusMessage(QStringLiteral("Importing Photos..."));
        // Each step inserts before the photo at the index, so the last file
        // goes first; at the end (-1) each step appends, so the first goes first.
        if (index == -1) {
            for (const QString& file : filenames)
                processor->addChild(createForFileAlbumIndex(file, album, index));
        } else {
            for (auto file = filenames.crbegin(); file != filenames.crend(); ++file)
                processor->addChild(createForFileAlbumIndex(*file, album, index));
        }
        return processor;
    });
}

bool XmlImportPhoto::run()
{
    return lq::modelFrame(this, "run", [&] {
        XmlAlbum* page = lq::registered<XmlAlbum>(_album);
        if (!page)
            return false;
        page->importPhotoIndexCaption(_filename, _index, _caption);
        return true;
    });
}
