#include "model/files/XmlQVZIPFile.h"

#include "model/files/XmlFiles.h"
#include "platform/ConfinedFolder.h"
#include "platform/ExceptionFrame.h"
#include "platform/Image.h"
#include "platform/InputLimits.h"
#include "platform/Log.h"
#include "platform/Strings.h"
#include "platform/Zip.h"

#include <QFile>

XmlQVZIPFile::XmlQVZIPFile(Key key)
    : XmlFile(key)
{
}

std::shared_ptr<XmlQVZIPFile> XmlQVZIPFile::create()
{
    return make<XmlQVZIPFile>();
}

QImage XmlQVZIPFile::iconImage()
{
    return lq::modelFrame(this, "iconImage", [&]() -> QImage {
        if (!_iconImage) {
            QImage icon = lq::zipIcon(fullname());
            if (icon.isNull())
                icon = lq::namedImage(QStringLiteral("noimage")).copy();
            _iconImage = icon;
        }
        return *_iconImage;
    });
}

void XmlQVZIPFile::setIconImage(const QImage& image)
{
    lq::modelFrame(this, "setIconImage:", [&] {
        _iconImage = image;
        lq::setZipIcon(fullname(), image);
    });
}

QString XmlQVZIPFile::comment()
{
    return lq::modelFrame(this, "comment", [&]() -> QString {
        if (_comment.isNull()) {
            // Read through the gateway of the list's folder: an archive that
            // is a link, or lies below one, has no comment to show.
            QString text;
            const std::shared_ptr<lq::ConfinedFolder> folder = XmlFiles::treeFolderOf(this);
            const lq::FileDescriptor archive = folder ? folder->openForReading(XmlFiles::pathInTree(this)) : lq::FileDescriptor();
            QFile file;
            if (archive.isValid() && file.open(archive.get(), QIODevice::ReadOnly, QFileDevice::DontCloseHandle))
                text = lq::zipComment(file);
            _comment = text.isNull() ? QString(QLatin1String("")) : text;
        }
        return _comment;
    });
}

void XmlQVZIPFile::setComment(const QString& comment)
{
    lq::modelFrame(this, "setComment:", [&] {
        // A null text would read as "not yet read": keep it as empty.
        _comment = comment.isNull() ? QString(QLatin1String("")) : comment;
        // The archive is read and replaced whole through the list's gateway.
        const std::shared_ptr<lq::ConfinedFolder> folder = XmlFiles::treeFolderOf(this);
        const QString name = XmlFiles::pathInTree(this);
        QString why;
        const std::optional<QByteArray> bytes = folder ? folder->readFile(name, lq::inputLimits().archiveMemberBytes, &why) : std::nullopt;
        const std::optional<QByteArray> changed = bytes ? lq::withZipComment(*bytes, _comment, &why) : std::nullopt;
        if (!changed || (*changed != *bytes && !folder->writeFileAtomically(name, *changed, &why)))
            lq::log(QStringLiteral("zip failed: cannot store the comment of ") + fullname() + QStringLiteral(": ") + why);
    });
}

QString XmlQVZIPFile::name() const
{
    QString display = lq::stringByDeletingPathExtension(_filename);
    display.replace(QLatin1Char('_'), QLatin1Char(':'));
    return display;
}
