#include "model/core/XmlBase.h"

#include "model/core/Codecs.h"
#include "platform/ExceptionFrame.h"

QString XmlBase::base64encode(const QByteArray& data)
{
    return lq::classFrame("XmlBase +base64encode", [&] {
        const QByteArray text = lq::base64_encode(data);
        // Empty data gives the empty text, not nothing.
        return text.isEmpty() ? QStringLiteral("") : QString::fromLatin1(text);
    });
}

QByteArray XmlBase::base64decode(const QString& text)
{
    return lq::classFrame("XmlBase +base64decode", [&] {
        // Characters outside the base64 alphabet, whatever their UTF-8 form, are skipped.
        return lq::base64_decode(text.toUtf8());
    });
}

QString XmlBase::usernamePassword(const QString& user, const QString& password)
{
    return lq::classFrame("XmlBase +username:password:", [&] {
        const QString plain = user + QLatin1Char(':') + password;
        return QString::fromLatin1(lq::site_password_encrypt(plain.toUtf8()));
    });
}

void XmlBase::usernamePasswordEncoded(QString& user, QString& password, const QString& encoded)
{
    lq::classFrame("XmlBase +username:password:encoded:", [&] {
        user = QStringLiteral("");
        password = QStringLiteral("");
        const QByteArray plain = lq::site_password_decrypt(encoded.toUtf8());
        if (plain.isNull())
            return;
        // The pair is "<user>:<password>". Splitting at the first colon keeps
        // a password that contains colons whole; a user name with a colon
        // cannot be told apart from such a password.
        const QString text = QString::fromUtf8(plain);
        const qsizetype colon = text.indexOf(QLatin1Char(':'));
        if (colon < 0)
            return;
        user = text.left(colon);
        password = text.mid(colon + 1);
    });
}
