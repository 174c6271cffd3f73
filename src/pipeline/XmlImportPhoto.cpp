#include "pipeline/XmlImportPhoto.h"

#include "pipeline/BuildSteps.h"
#include "pipeline/XmlProcessor.h"
#include "model/site/XmlAlbum.h"
#include "model/core/DocumentBase.h"
#include "model/site/XmlPhoto.h"
#include "platform/ExceptionFrame.h"
#include "platform/Services.h"

#include <algorithm>

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
        tallyTogether(*processor);
        return processor;
    });
}

void XmlImportPhoto::tallyTogether(XmlProcessor& processor)
{
    const auto tally = std::make_shared<Tally>();
    XmlImportPhoto* last = nullptr;
    for (const XmlBasePtr& child : processor.children()) {
        if (XmlImportPhoto* step = cast(child.get())) {
            step->_tally = tally;
            step->_tellsTally = false;
            ++tally->given;
            last = step;
        }
    }
    if (last)
        last->_tellsTally = true;
}

bool XmlImportPhoto::run()
{
    bool pageThere = false;
    try {
        pageThere = importFile();
    } catch (...) {
        leaveOut({ lq::PictureFault::NotStored, QStringLiteral("it could not be imported (the log tells why)") });
        tellTally();
        throw;
    }
    tellTally();
    return pageThere;
}

bool XmlImportPhoto::importFile()
{
    return lq::modelFrame(this, "run", [&] {
        XmlAlbum* page = lq::registered<XmlAlbum>(_album);
        if (!page) {
            leaveOut({ lq::PictureFault::NotStored, QStringLiteral("its album page was deleted before it could come in") });
            return false;
        }
        lq::PictureRefusal refusal;
        if (!page->importPhotoIndexCaption(_filename, _index, _caption, &refusal))
            leaveOut(refusal ? refusal : lq::PictureRefusal { lq::PictureFault::NotStored, QStringLiteral("it could not be imported") });
        return true;
    });
}

void XmlImportPhoto::leaveOut(const lq::PictureRefusal& refusal)
{
    if (_document)
        _document->addActivityString(QStringLiteral("Not imported: ") + _filename + QStringLiteral(": ")
            + lq::pictureFaultName(refusal.fault) + QStringLiteral(", ") + refusal.reason);
    if (_tally)
        _tally->refused.append({ _filename, refusal });
}

void XmlImportPhoto::tellTally()
{
    if (!_tellsTally || !_tally || _tally->refused.isEmpty() || !_document)
        return;
    // In the order of their names, whatever order the steps ran in.
    QList<lq::RefusedPicture> refused = _tally->refused;
    std::stable_sort(refused.begin(), refused.end(), [](const lq::RefusedPicture& a, const lq::RefusedPicture& b) {
        return QString::compare(a.path, b.path, Qt::CaseInsensitive) < 0;
    });
    _document->picturesNotImported(refused, _tally->given);
    _tally->refused.clear();
}
