#include "application/MyApplication.h"

#include "platform/Codecs.h"
#include "platform/ExceptionFrame.h"

// Stored credentials are kept as "<key>:<value>" enciphered under the pass
// phrase, so a text stored for one key never reads back under another.

QString MyApplication::passPhrase()
{
    return QStringLiteral("Lamp Over Reed");
}

QString MyApplication::encodeStringForKey(const QString& value, const QString& key) const
{
    return lq::modelFrame(this, "encodeString:forKey:", [&]() -> QString {
        if (value.isNull() || key.isNull())
            return QStringLiteral("");
        const QString plain = key + QLatin1Char(':') + value;
        const QByteArray cipher = lq::blowfishEncryptBase64(plain.toUtf8(), passPhrase().toUtf8());
        return cipher.isEmpty() ? QStringLiteral("") : QString::fromLatin1(cipher);
    });
}

QString MyApplication::decodeStringForKey(const QString& text, const QString& key) const
{
    return lq::modelFrame(this, "decodeString:forKey:", [&]() -> QString {
        if (text.isNull() || key.isNull())
            return QStringLiteral("");
        const QByteArray plain = lq::blowfishDecryptBase64(text.toUtf8(), passPhrase().toUtf8());
        if (plain.isNull())
            return QStringLiteral("");
        // Split at the first colon only: the value itself may contain colons.
        const QString decoded = QString::fromUtf8(plain);
        const qsizetype colon = decoded.indexOf(QLatin1Char(':'));
        if (colon < 0 || decoded.left(colon) != key)
            return QStringLiteral("");
        return decoded.mid(colon + 1);
    });
}
