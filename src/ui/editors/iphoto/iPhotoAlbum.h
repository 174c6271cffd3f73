#pragma once

#include "model/core/XmlBase.h"

#include <QStringList>
#include <QVariantList>
#include <QVariantMap>

// One album of the photo library as its album data lists it: its number, its
// name and the full paths of its pictures in the album's own order. Folders
// hold further albums (those whose "Parent" names them). Album nodes live
// only in the library's tree: they are never written to a site.
class iPhotoAlbum final : public XmlBase {
public:
    // The library's kinds of album ("Album Type"); each has its own icon.
    enum class Kind { Regular, Folder, Smart, Book, Slideshow };

    explicit iPhotoAlbum(Key key);

    static std::shared_ptr<iPhotoAlbum> create(Kind kind = Kind::Regular);
    static iPhotoAlbum* cast(XmlBase* object) { return dynamic_cast<iPhotoAlbum*>(object); }
    // The kind of an "Album Type" (a missing type is a regular album), or
    // nothing for a type the library offers that is not imported.
    static std::optional<Kind> kindOfAlbumType(const QString& type);

    QString elementName() const override;
    QImage iconImage() override;
    // Never written.
    void writeXmlInString(QString& xml) override;

    Kind kind() const { return _kind; }
    bool isFolder() const { return _kind == Kind::Folder; }
    const QStringList& photos() const { return _photos; }
    int albumId() const { return _albumId; }
    void setAlbumId(int albumId) { _albumId = albumId; }

    // The first album, this one or one below it (depth first, an album
    // before those it holds), whose number is the one given; else nothing.
    iPhotoAlbum* getPhotoAlbumWithId(int albumId);
    // The pictures become the "ImagePath"s of the master records of the keys,
    // in the keys' order; keys without a record, records of another
    // "MediaType" than "Image" (a missing type counts as "Image") and records
    // without a path are left out.
    void addPhotosFromMaster(const QVariantList& keys, const QVariantMap& master);

private:
    Kind _kind = Kind::Regular;
    QStringList _photos;
    int _albumId = 0;
};
