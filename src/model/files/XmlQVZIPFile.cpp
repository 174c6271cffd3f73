#include "model/files/XmlQVZIPFile.h"

#include "platform/ExceptionFrame.h"
#include "platform/Image.h"
#include "platform/Strings.h"

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
            QImage icon = getIconFromZip(fullname());
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
        setIconInZipIcon(fullname(), image);
    });
}

QString XmlQVZIPFile::comment()
{
    return lq::modelFrame(this, "comment", [&]() -> QString {
        if (_comment.isNull()) {
            const QString text = getCommentFromZip(fullname());
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
        setCommentInZipComment(fullname(), _comment);
    });
}

QString XmlQVZIPFile::name() const
{
    QString display = lq::stringByDeletingPathExtension(_filename);
    display.replace(QLatin1Char('_'), QLatin1Char(':'));
    return display;
}
