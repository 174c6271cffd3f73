#pragma once

#include "pipeline/XmlRun.h"
#include "platform/ImageFiles.h"

#include <QList>
#include <QStringList>

#include <functional>

class XmlProcessor;

// The in-memory step that imports one picture file into an album page at a
// position, queued once per file by the photo imports of the editors.
//
// The steps of one import keep one tally of the files left out (not a
// picture, unreadable, damaged, not stored, or their page gone), each with
// why; each such file is told in the Activity log as its step runs, and the
// step that runs last hands the whole tally, in the order of the files'
// names, to the document (DocumentBase::picturesNotImported), which tells
// the user once.
class XmlImportPhoto final : public XmlRun {
public:
    explicit XmlImportPhoto(Key key);

    static std::shared_ptr<XmlImportPhoto> create();
    static XmlImportPhoto* cast(XmlBase* object) { return dynamic_cast<XmlImportPhoto*>(object); }
    // A step importing the file into the page of the UUID at the index, with
    // the caption the photo library has for the file (the services' caption
    // lookup, filled by the editors, which own the library); with none (null)
    // the photo takes the file's name.
    static std::shared_ptr<XmlImportPhoto> createForFileAlbumIndex(const QString& filename, const QString& album, int index);
    // The script that imports the files into the page of the UUID at the
    // index (-1: at the end): one step per file, ordered so that the photos
    // end in the files' order (the last file first at an index, the first
    // file first at the end). Its status line is "Importing Photos...". Its
    // steps keep one tally (tallyTogether).
    static std::shared_ptr<XmlProcessor> createProcessorForFilesAlbumIndex(const QStringList& filenames, const QString& album, int index);
    // Makes the import steps of the script one import: one tally of the
    // files left out, told by the last of them.
    static void tallyTogether(XmlProcessor& processor);

    const QString& filename() const { return _filename; }
    const QString& caption() const { return _caption; }
    void setCaption(const QString& caption) { _caption = caption; }
    const QString& album() const { return _album; }
    int index() const { return _index; }

    // The page, when it is still there, imports the picture; false when the
    // page is gone, else true. A file left out goes into the tally.
    bool run() override;

    // The files of one import left out so far, and how many it was given.
    struct Tally {
        QList<lq::RefusedPicture> refused;
        int given = 0;
    };

private:
    bool importFile();
    void leaveOut(const lq::PictureRefusal& refusal);
    // The last step of the import tells the document what was left out.
    void tellTally();

    std::shared_ptr<Tally> _tally;
    bool _tellsTally = false;
    QString _filename;
    QString _caption;
    QString _album;
    int _index = 0;
};
