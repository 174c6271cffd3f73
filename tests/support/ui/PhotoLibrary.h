#pragma once
// A photo library in a home folder of its own, laid out as the program looks
// for one: "Library/Preferences/com.apple.iPhoto.plist" naming the library's
// folder "~/Pictures/iPhoto Library", the album data "AlbumData.xml" in it
// and real JPEG pictures. While a ScopedPhotoLibrary lives, HOME is that
// folder, the helper tools are the built ones and the library's hooks are
// installed (the site's row, the application's library, the captions of
// import steps).
#include "ui/editors/iphoto/PhotoLibraryServices.h"
#include "ui/editors/iphoto/iPhoto.h"
#include "application/MyApplication.h"
#include "model/site/XmlSite.h"
#include "pipeline/XmlImportPhoto.h"
#include "support/HelperTools.h"
#include "support/ScopedServices.h"
#include "support/TestFiles.h"
#include "support/TestPictures.h"

#include <QDir>
#include <QTemporaryDir>
#include <QXmlStreamWriter>

#include <optional>

struct LibraryPicture {
    QString key;
    QString path;             // full path; "" for a record without one
    QString caption;          // "Caption" (title)
    QString comment;          // "Comment"
    QString mediaType = QStringLiteral("Image");   // "" leaves the key out
};

struct LibraryAlbum {
    LibraryAlbum(QVariant id, QString albumName, QString albumType = {}, QStringList albumKeys = {}, std::optional<int> parentId = {},
        bool isMaster = false, bool hasKeyList = true)
        : albumId(std::move(id)), name(std::move(albumName)), type(std::move(albumType)), keys(std::move(albumKeys)), parent(parentId)
        , master(isMaster), keyList(hasKeyList)
    {
    }
    QVariant albumId;         // none leaves "AlbumId" out
    QString name;             // null leaves "AlbumName" out
    QString type;             // "" leaves "Album Type" out
    QStringList keys;
    std::optional<int> parent;
    bool master = false;
    bool keyList = true;
};

class PhotoLibrary {
public:
    PhotoLibrary()
        : home(folder.path())
        , root(home + QStringLiteral("/Pictures/iPhoto Library"))
    {
        QDir().mkpath(root + QStringLiteral("/Originals"));
        QDir().mkpath(home + QStringLiteral("/Library/Preferences"));
    }

    // A real JPEG picture of one colour inside the library; its path.
    QString picture(const QString& name, const QColor& colour)
    {
        const QString path = root + QStringLiteral("/Originals/") + name;
        writeAll(path, jpegBytes(96, 64, colour, 90));
        return path;
    }

    // The preferences file, naming the library's folder as given.
    void writePreferences(const QString& rootDirectory = QStringLiteral("~/Pictures/iPhoto Library"))
    {
        writeList(home + QStringLiteral("/Library/Preferences/com.apple.iPhoto.plist"), [&](QXmlStreamWriter& xml) {
            xml.writeStartElement(QStringLiteral("dict"));
            xml.writeTextElement(QStringLiteral("key"), QStringLiteral("RootDirectory"));
            xml.writeTextElement(QStringLiteral("string"), rootDirectory);
            xml.writeEndElement();
        });
    }

    void writeAlbumData(const QList<LibraryPicture>& pictures, const QList<LibraryAlbum>& albums)
    {
        writeList(root + QStringLiteral("/AlbumData.xml"), [&](QXmlStreamWriter& xml) {
            xml.writeStartElement(QStringLiteral("dict"));
            xml.writeTextElement(QStringLiteral("key"), QStringLiteral("Application Version"));
            xml.writeTextElement(QStringLiteral("string"), QStringLiteral("6.0"));
            xml.writeTextElement(QStringLiteral("key"), QStringLiteral("List of Albums"));
            xml.writeStartElement(QStringLiteral("array"));
            for (const LibraryAlbum& album : albums)
                writeAlbum(xml, album);
            xml.writeEndElement();
            xml.writeTextElement(QStringLiteral("key"), QStringLiteral("Master Image List"));
            xml.writeStartElement(QStringLiteral("dict"));
            for (const LibraryPicture& picture : pictures) {
                xml.writeTextElement(QStringLiteral("key"), picture.key);
                xml.writeStartElement(QStringLiteral("dict"));
                entry(xml, QStringLiteral("Caption"), picture.caption);
                entry(xml, QStringLiteral("Comment"), picture.comment);
                entry(xml, QStringLiteral("ImagePath"), picture.path);
                entry(xml, QStringLiteral("MediaType"), picture.mediaType);
                xml.writeEndElement();
            }
            xml.writeEndElement();
            xml.writeEndElement();
        });
    }

    // The library most tests use: the folder "Trips" holding the albums
    // "Beach" (a.jpg, d.jpg) and "Hills" (c.jpg, b.jpg), the albums "Book",
    // "Show" and "Loose" and the empty "Empty"; beside them albums the
    // program leaves out ("Photos" with a "Master" key, "Last Import", one
    // without a name, "Early" whose folder comes after it, "Calendar" of an
    // unknown type, "NoKeys" without a key list), a movie, a record without
    // a path and a key without a record.
    void writeSample()
    {
        writePreferences();
        const QString a = picture(QStringLiteral("a.jpg"), Qt::red);
        const QString b = picture(QStringLiteral("b.jpg"), Qt::green);
        const QString c = picture(QStringLiteral("c.jpg"), Qt::blue);
        const QString d = picture(QStringLiteral("d.jpg"), Qt::yellow);
        const QString odd = picture(QStringLiteral("e  f&g.jpg"), Qt::magenta);
        writeAll(root + QStringLiteral("/Originals/clip.mov"), "not a picture");
        writeAlbumData(
            {
                { QStringLiteral("1"), a, QStringLiteral("Sandy"), QStringLiteral("The first morning") },
                { QStringLiteral("2"), b, QStringLiteral("Rocks & <pools>"), QString() },
                { QStringLiteral("3"), root + QStringLiteral("/Originals/clip.mov"), QStringLiteral("Clip"), QString(), QStringLiteral("Movie") },
                { QStringLiteral("4"), d, QStringLiteral("Dunes"), QString(), QString() },
                { QStringLiteral("5"), QString(), QStringLiteral("Nowhere"), QString() },
                { QStringLiteral("6"), c, QStringLiteral("   "), QStringLiteral("Only a comment") },
                { QStringLiteral("7"), odd, QStringLiteral("Odd name"), QString() },
            },
            {
                { 1, QStringLiteral("Photos"), QString(), { "1", "2" }, std::nullopt, true },
                { 2, QStringLiteral("Last Import"), QString(), { "1" } },
                { 3, QString(), QString(), { "1" } },
                { 20, QStringLiteral("Early"), QString(), { "1" }, 10 },
                { 10, QStringLiteral("Trips"), QStringLiteral("Folder"), {} },
                { 11, QStringLiteral("Beach"), QString(), { "1", "3", "4", "5", "99" }, 10 },
                { 12, QStringLiteral("Hills"), QStringLiteral("Smart"), { "6", "2" }, 10 },
                { 13, QStringLiteral("Book"), QStringLiteral("Book"), { "2" } },
                { 14, QStringLiteral("Show"), QStringLiteral("Slideshow"), { "7" } },
                { 15, QStringLiteral("Calendar"), QStringLiteral("Calendar"), { "1" } },
                { 16, QStringLiteral("NoKeys"), QString(), {}, std::nullopt, false, false },
                { QVariant(), QStringLiteral("Loose"), QString(), { "2" } },
                { 17, QStringLiteral("Empty"), QString(), {} },
            });
    }
    QString path(const QString& name) const { return root + QStringLiteral("/Originals/") + name; }

    QTemporaryDir folder;
    const QString home;
    const QString root;

private:
    static void entry(QXmlStreamWriter& xml, const QString& key, const QString& value)
    {
        if (value.isEmpty())
            return;
        xml.writeTextElement(QStringLiteral("key"), key);
        xml.writeTextElement(QStringLiteral("string"), value);
    }
    static void writeAlbum(QXmlStreamWriter& xml, const LibraryAlbum& album)
    {
        xml.writeStartElement(QStringLiteral("dict"));
        if (album.albumId.isValid()) {
            xml.writeTextElement(QStringLiteral("key"), QStringLiteral("AlbumId"));
            xml.writeTextElement(QStringLiteral("integer"), album.albumId.toString());
        }
        if (!album.name.isNull()) {
            xml.writeTextElement(QStringLiteral("key"), QStringLiteral("AlbumName"));
            xml.writeTextElement(QStringLiteral("string"), album.name);
        }
        entry(xml, QStringLiteral("Album Type"), album.type);
        if (album.master) {
            xml.writeTextElement(QStringLiteral("key"), QStringLiteral("Master"));
            xml.writeEmptyElement(QStringLiteral("true"));
        }
        if (album.parent) {
            xml.writeTextElement(QStringLiteral("key"), QStringLiteral("Parent"));
            xml.writeTextElement(QStringLiteral("integer"), QString::number(*album.parent));
        }
        if (album.keyList) {
            xml.writeTextElement(QStringLiteral("key"), QStringLiteral("KeyList"));
            xml.writeStartElement(QStringLiteral("array"));
            for (const QString& key : album.keys)
                xml.writeTextElement(QStringLiteral("string"), key);
            xml.writeEndElement();
        }
        xml.writeEndElement();
    }
    template <class Body>
    static void writeList(const QString& path, Body body)
    {
        QByteArray bytes;
        QXmlStreamWriter xml(&bytes);
        xml.setAutoFormatting(true);
        xml.writeStartDocument();
        xml.writeDTD(QStringLiteral("<!DOCTYPE plist PUBLIC \"-//Apple//DTD PLIST 1.0//EN\" \"http://www.apple.com/DTDs/PropertyList-1.0.dtd\">"));
        xml.writeStartElement(QStringLiteral("plist"));
        xml.writeAttribute(QStringLiteral("version"), QStringLiteral("1.0"));
        body(xml);
        xml.writeEndElement();
        xml.writeEndDocument();
        writeAll(path, bytes);
    }
};

// HOME is the library's home folder, and the library's hooks are in place,
// while it lives.
class ScopedPhotoLibrary {
public:
    explicit ScopedPhotoLibrary(const PhotoLibrary& library)
        : _home(qgetenv("HOME"))
    {
        qputenv("HOME", library.home.toUtf8());
        useBuiltHelperTools();
    }
    ~ScopedPhotoLibrary()
    {
        MyApplication::shared().setIPhotoLibraryFactory({});
        qputenv("HOME", _home);
    }
    ScopedPhotoLibrary(const ScopedPhotoLibrary&) = delete;
    ScopedPhotoLibrary& operator=(const ScopedPhotoLibrary&) = delete;

private:
    QByteArray _home;
    const ScopedServices _hooks { [](lq::Services& services) {
        lq::registerPhotoLibraryServices(services, MyApplication::shared());
    } };
};
