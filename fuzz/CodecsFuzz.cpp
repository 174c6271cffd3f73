// The codecs: base64 and the Blowfish cipher with their round trips, the
// site password form and the stored user name and password pair.
#include "FuzzSupport.h"

#include "platform/Codecs.h"
#include "model/core/XmlBase.h"

namespace {

QString hex(const QByteArray& bytes)
{
    return QString::fromLatin1(bytes.toHex());
}

// The plain text the cipher carries: everything before the first zero byte.
QByteArray carried(const QByteArray& plain)
{
    const qsizetype zero = plain.indexOf('\0');
    return zero < 0 ? plain : plain.left(zero);
}

} // namespace

void fuzzOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray input = fuzz::bytes(data, size);

    // Base64 of any bytes decodes to the same bytes; any text decodes to at
    // most three bytes for four characters.
    const QByteArray encoded = lq::base64Encode(input);
    if (lq::base64Decode(encoded) != input)
        fuzz::fail("base64 round trip", hex(input), QString::fromLatin1(encoded));
    const QByteArray decoded = lq::base64Decode(input);
    if (decoded.size() > input.size() / 4 * 3)
        fuzz::fail("base64 decoding grew", hex(input), hex(decoded));
    if (lq::base64DecodeText(lq::base64EncodeText(input)) != input)
        fuzz::fail("XmlBase base64 round trip", hex(input));

    // The first byte gives the key's length; the rest after the key is the plain text.
    if (input.isEmpty())
        return;
    const qsizetype keyLength = std::min<qsizetype>(static_cast<unsigned char>(input[0]) % 57, input.size() - 1);
    const QByteArray key = input.mid(1, keyLength);
    const QByteArray plain = input.mid(1 + keyLength);
    const QByteArray cipher = lq::blowfishEncryptBase64(plain, key);
    const QByteArray back = lq::blowfishDecryptBase64(cipher, key);
    if (back != carried(plain))
        fuzz::fail("Blowfish round trip", hex(plain), hex(back));
    lq::blowfishDecryptBase64(plain, key); // any text deciphers to something
    if (lq::sitePasswordDecrypt(lq::sitePasswordEncrypt(plain)) != carried(plain))
        fuzz::fail("site password round trip", hex(plain));

    // A user name without a colon and a password come back as they were.
    const QString pair = QString::fromUtf8(carried(plain));
    const qsizetype colon = pair.indexOf(QLatin1Char(':'));
    const QString user = colon < 0 ? pair : pair.left(colon);
    const QString password = colon < 0 ? QString() : pair.mid(colon + 1);
    QString userBack;
    QString passwordBack;
    lq::usernamePasswordEncoded(userBack, passwordBack, lq::usernamePassword(user, password));
    if (userBack != user || passwordBack != password)
        fuzz::fail("user name and password round trip", user + QLatin1Char(':') + password, userBack + QLatin1Char(':') + passwordBack);
}
