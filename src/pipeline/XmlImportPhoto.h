#pragma once

#include "pipeline/XmlRun.h"

#include <QStringList>

#include <functional>

class XmlProcessor;

// The in-memory step that imports one picture file into an album page at a
// position, queued once per file by the photo imports of the editors.
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
    // file first at the end). Its status line is "Importing Photos...".
    static std::shared_ptr<XmlProcessor> createProcessorForFilesAlbumIndex(const QStringList& filenames, const QString& album, int index);

    const QString& filename() const { return _filename; }
    const QString& caption() const { return _caption; }
    void setCaption(const QString& caption) { _caption = caption; }
    const QString& album() const { return _album; }
    int index() const { return _index; }

    // The page, when it is still there, imports the picture; false when the
    // page is gone, else true.
    bool run() override;

private:
    QString _filename;
    QString _caption;
    QString _album;
    int _index = 0;
};
