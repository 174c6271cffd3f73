#include "ui/editors/iphoto/iPhoto.h"

#include "ui/editors/iphoto/iPhotoAlbum.h"
#include "application/MyApplication.h"
#include "platform/AuxiliaryTools.h"
#include "platform/Image.h"
#include "platform/Log.h"
#include "platform/Process.h"
#include "platform/PropertyList.h"

#include <QDir>
#include <QFileInfo>

namespace {

const QString captionTool = QStringLiteral("iphotoreader");

// "Looked for its settings in <path>, which cannot be read: <why>".
QString lookedIn(const QString& what, const QString& path, const QString& error)
{
    const QString named = QLatin1Char('"') + path + QStringLiteral("\" ");
    const QString place = QStringLiteral("Looked for ") + what + QStringLiteral(" in ") + path;
    return error.startsWith(named) ? place + QStringLiteral(", which ") + error.mid(named.size()) : place + QStringLiteral(": ") + error;
}

QString homeFolder()
{
    return qEnvironmentVariable("HOME");
}

// "~" and "~/..." in the user's home folder.
QString expandTilde(const QString& path, const QString& home)
{
    if (path == QLatin1String("~"))
        return home;
    if (path.startsWith(QLatin1String("~/")))
        return home + path.mid(1);
    return path;
}

// What the caption tool is asked for, by the "importCaptions" setting.
QString captionMode()
{
    const int setting = MyApplication::instance() ? MyApplication::instance()->importCaptions() : 0;
    if (setting == 1)
        return QStringLiteral("comments");
    if (setting == 2)
        return QStringLiteral("both");
    return QStringLiteral("title");
}

// True when the path names something inside the folder.
bool isInsideFolder(const QString& path, const QString& folder)
{
    const QString top = QDir::cleanPath(folder);
    const QString place = QDir::cleanPath(path);
    const QString prefix = top.endsWith(QLatin1Char('/')) ? top : top + QLatin1Char('/');
    return place.startsWith(prefix) && place.size() > prefix.size();
}

} // namespace

iPhoto::iPhoto(Key key)
    : XmlBase(key)
{
    _have_children = true;
    _have_content = true;
    _edit_name = false;
}

std::shared_ptr<iPhoto> iPhoto::create()
{
    auto library = make<iPhoto>();
    library->lookUpLibrary();
    return library;
}

QString iPhoto::elementName() const
{
    return QStringLiteral("iPhoto");
}

QString iPhoto::name() const
{
    return QStringLiteral("iPhoto Library");
}

void iPhoto::setName(const QString&)
{
}

QImage iPhoto::iconImage()
{
    return lq::namedImage(QStringLiteral("iphoto"));
}

void iPhoto::writeXmlInString(QString&)
{
}

void iPhoto::lookUpLibrary()
{
    try {
        const QString home = homeFolder();
        if (home.isEmpty()) {
            _whyNotFound = QStringLiteral("The home folder is not known (HOME is not set), so the library's settings could not be looked for.");
            lq::log(QStringLiteral("iphoto object: Could not find Library directory for user"));
            return;
        }
        const QString preferences = home + QStringLiteral("/Library/Preferences/com.apple.iPhoto.plist");
        if (!QFileInfo::exists(preferences)) {
            // Simply no photo library here: the pane says so, the log need not.
            _whyNotFound = QStringLiteral("Looked for its settings in ") + preferences + QStringLiteral(", which does not exist.");
            return;
        }
        QString error;
        const std::optional<QVariant> settings = lq::readPropertyListFile(preferences, &error);
        if (!settings) {
            _whyNotFound = lookedIn(QStringLiteral("its settings"), preferences, error);
            lq::log(QStringLiteral("iphoto object error"));
            lq::log(error);
            return;
        }
        const QString root = settings->toMap().value(QStringLiteral("RootDirectory")).toString();
        if (root.isEmpty()) {
            _whyNotFound = QStringLiteral("Its settings in ") + preferences + QStringLiteral(" name no library folder (RootDirectory).");
            lq::log(QStringLiteral("iphoto object error"));
            lq::log(preferences + QStringLiteral(" names no RootDirectory"));
            return;
        }
        _iPhotoRootDir = expandTilde(root, home);
        _iPhotoXmlData = _iPhotoRootDir + QStringLiteral("/AlbumData.xml");
    } catch (const lq::Exception& failure) {
        lq::log(QStringLiteral("General Error with iPhoto object: ") + failure.name() + QStringLiteral(": ") + failure.reason());
    }
}

void iPhoto::importFromLibrary()
{
    lq::uiFrame(this, "importFromLibrary", [&] {
        if (_iPhotoXmlData.isEmpty())
            return;
        removeAllChildren();
        QString error;
        const std::optional<QVariant> data = lq::readPropertyListFile(_iPhotoXmlData, &error);
        if (!data) {
            _whyNotFound = lookedIn(QStringLiteral("its albums"), _iPhotoXmlData, error);
            lq::log(QStringLiteral("import From Library Error"));
            lq::log(error);
            return;
        }
        _whyNotFound.clear();
        const QVariantMap top = data->toMap();
        const QVariantMap master = top.value(QStringLiteral("Master Image List")).toMap();
        for (const QVariant& entry : top.value(QStringLiteral("List of Albums")).toList()) {
            const QVariantMap fields = entry.toMap();
            const QString name = fields.value(QStringLiteral("AlbumName")).toString();
            if (fields.contains(QStringLiteral("Master")) || !fields.contains(QStringLiteral("AlbumName"))
                || name == QLatin1String("Last Import"))
                continue;
            const std::optional<iPhotoAlbum::Kind> kind = iPhotoAlbum::kindOfAlbumType(fields.value(QStringLiteral("Album Type")).toString());
            if (!kind || !fields.contains(QStringLiteral("KeyList")))
                continue;
            const std::shared_ptr<iPhotoAlbum> album = iPhotoAlbum::create(*kind);
            album->setAlbumId(fields.value(QStringLiteral("AlbumId")).toInt());
            album->setName(name);
            album->addPhotosFromMaster(fields.value(QStringLiteral("KeyList")).toList(), master);
            if (!fields.contains(QStringLiteral("Parent"))) {
                addChild(album);
            } else if (iPhotoAlbum* parent = getPhotoAlbumWithId(fields.value(QStringLiteral("Parent")).toInt())) {
                parent->addChild(album);
            }
        }
    });
}

iPhotoAlbum* iPhoto::getPhotoAlbumWithId(int albumId)
{
    return lq::modelFrame(this, "getPhotoAlbumWithId:", [&]() -> iPhotoAlbum* {
        for (const XmlBasePtr& child : children()) {
            if (iPhotoAlbum* album = iPhotoAlbum::cast(child.get())) {
                if (iPhotoAlbum* found = album->getPhotoAlbumWithId(albumId))
                    return found;
            }
        }
        return nullptr;
    });
}

QString iPhoto::captionForFile(const QString& path)
{
    return lq::uiFrame(this, "captionForFile:", [&]() -> QString {
        if (_iPhotoRootDir.isEmpty() || _iPhotoXmlData.isEmpty() || path.isEmpty() || !isInsideFolder(path, _iPhotoRootDir))
            return QString();
        const QString tool = lq::auxiliaryTool(captionTool);
        if (tool.isEmpty()) {
            lq::log(QStringLiteral("The caption tool \"") + captionTool + QStringLiteral("\" is missing from ") + lq::auxiliaryToolFolder());
            return QString();
        }
        const QString caption = captionTable(tool, captionMode()).captions.value(QDir::cleanPath(path));
        return caption.trimmed().isEmpty() ? QString() : caption;
    });
}

const iPhoto::CaptionTable& iPhoto::captionTable(const QString& tool, const QString& mode)
{
    const QFileInfo data(_iPhotoXmlData);
    const qint64 size = data.exists() ? data.size() : -1;
    const QDateTime modified = data.lastModified();
    if (_captionTable && _captionTable->tool == tool && _captionTable->mode == mode && _captionTable->dataSize == size
        && _captionTable->dataModified == modified)
        return *_captionTable;
    CaptionTable& table = _captionTable.emplace();
    table.tool = tool;
    table.mode = mode;
    table.dataSize = size;
    table.dataModified = modified;
    // Without a picture path the tool prints every path and its caption,
    // each followed by a zero byte.
    const lq::ProcessResult result = lq::runProcess(tool, { mode, _iPhotoXmlData }, homeFolder());
    if (!result.succeeded()) {
        lq::log(result.failureDetail(tool));
        return table;
    }
    const QList<QByteArray> fields = result.output.split('\0');
    for (qsizetype i = 0; i + 1 < fields.size(); i += 2) {
        const QString picture = QString::fromUtf8(fields[i]);
        if (!table.captions.contains(picture))
            table.captions.insert(picture, QString::fromUtf8(fields[i + 1]));
    }
    return table;
}
