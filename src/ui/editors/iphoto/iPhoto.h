#pragma once

#include "model/core/XmlBase.h"

#include <QDateTime>
#include <QHash>

#include <optional>

class iPhotoAlbum;

// The user's photo library: its root folder and album data, found through
// "~/Library/Preferences/com.apple.iPhoto.plist" (key "RootDirectory", the
// album data "AlbumData.xml" in that folder), and the tree of its albums
// read from the album data. It also answers the caption of any picture
// inside the library, through the helper tool "iphotoreader".
//
// Three nodes exist while the program runs, each made with create(): the
// application's (captions for the import steps), each document's own (the
// tree the iPhoto pane shows and imports from) and each site's entry node
// (the "iPhoto Library" row of the site navigator, never read). A node is
// never written to a file. A library that cannot be found leaves the node
// empty, with a line in the log and nothing else.
class iPhoto final : public XmlBase {
public:
    explicit iPhoto(Key key);

    // A new node that has looked the library up; its albums are not read yet.
    static std::shared_ptr<iPhoto> create();
    static iPhoto* cast(XmlBase* object) { return dynamic_cast<iPhoto*>(object); }

    QString elementName() const override;
    // Always "iPhoto Library"; a name set is ignored.
    QString name() const override;
    void setName(const QString& name) override;
    QImage iconImage() override;
    // Never written.
    void writeXmlInString(QString& xml) override;

    // The album data file and the library's folder; empty when the library
    // was not found.
    const QString& iPhotoXmlData() const { return _iPhotoXmlData; }
    const QString& iPhotoRootDir() const { return _iPhotoRootDir; }
    // Where the library was looked for and why none was read, for the pane;
    // "" while a library was found and read.
    const QString& whyNotFound() const { return _whyNotFound; }

    // Reads the albums anew (the old ones go first). Left out: albums with a
    // "Master" key, without a name or named "Last Import", of an unknown
    // type or without a key list, and albums whose "Parent" is not read
    // before them. Nothing happens while the library is unknown.
    void importFromLibrary();
    // The first album, depth first, of that number; else nothing.
    iPhotoAlbum* getPhotoAlbumWithId(int albumId);
    // The caption the library gives a picture file inside its folder, as the
    // caption tool prints it for the application's "importCaptions" setting
    // (1 comments, 2 both, else the title); a null string for a file outside
    // the library, for a blank caption, and when the tool is missing or
    // fails (which is logged). The tool reads the album data once for every
    // picture and the node keeps its answers until the album data, the
    // setting or the tool changes, so that an import reads the list once.
    QString captionForFile(const QString& path);

private:
    // The captions of every picture of the library, by clean path, and what
    // they were read with (none when the tool failed, which is logged once).
    struct CaptionTable {
        QString tool;
        QString mode;
        qint64 dataSize = -1;
        QDateTime dataModified;
        QHash<QString, QString> captions;
    };

    void lookUpLibrary();
    // The table for the tool and mode, read anew when the album data changed.
    const CaptionTable& captionTable(const QString& tool, const QString& mode);

    QString _iPhotoXmlData;
    QString _iPhotoRootDir;
    std::optional<CaptionTable> _captionTable;
    QString _whyNotFound;
};
