#include "platform/Codecs.h"
#include "application/MyApplication.h"
#include "model/core/XmlBase.h"
#include "support/Printers.h"

#include <QRandomGenerator>
#include <QtEndian>

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace {

std::uint32_t hexWord(const char* hex)
{
    return QByteArray(hex).toUInt(nullptr, 16);
}

// --- Base64 -------------------------------------------------------------------

struct Base64EncodeCase {
    QByteArray bytes;
    QByteArray text;
};

TEST(Base64, EncodesGroupsAndPadsTheLastOne)
{
    const std::vector<Base64EncodeCase> cases = {
        { "", "" },
        { "a", "YQ==" },
        { "ab", "YWI=" },
        { "abc", "YWJj" },
        { "abcd", "YWJjZA==" },
        { "abcde", "YWJjZGU=" },
        { "abcdef", "YWJjZGVm" },
        { QByteArray("\xFB\xFF\xBF", 3), "+/+/" },
        { QByteArray("\0\0\0", 3), "AAAA" },
        { QByteArray("\xFF", 1), "/w==" },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text.toStdString());
        const QByteArray text = lq::base64Encode(c.bytes);
        EXPECT_EQ(text, c.text);
        EXPECT_FALSE(text.isNull());
        EXPECT_EQ(lq::base64EncodeText(c.bytes), QString::fromLatin1(c.text));
    }
    EXPECT_EQ(lq::base64EncodeText("ab"), QStringLiteral("YWI="));
    EXPECT_FALSE(lq::base64EncodeText(QByteArray()).isNull());
}

struct Base64DecodeCase {
    const char* what;
    QByteArray text;
    QByteArray bytes;
};

TEST(Base64, DecodesWellFormedAndMalformedText)
{
    const std::vector<Base64DecodeCase> cases = {
        { "empty", "", "" },
        { "one padding", "YWI=", "ab" },
        { "two padding", "YQ==", "a" },
        { "no padding", "YWJj", "abc" },
        { "two groups", "YWJjZGVm", "abcdef" },
        { "high bits", "+/+/", QByteArray("\xFB\xFF\xBF", 3) },
        { "zero bytes", "AAAA", QByteArray("\0\0\0", 3) },
        { "carriage return inside", "YW\rJj", "abc" },
        { "line breaks", "YWJj\r\nZGVm\r\n", "abcdef" },
        { "line feed inside", "YW\nJj", "abc" },
        { "blanks and stray characters", " Y*W-J j.", "abc" },
        { "break inside the padding", "YQ=\r\n=", "a" },
        { "incomplete last group ignored", "YWJjZA", "abc" },
        { "lone character", "A", "" },
        { "many padding characters", "A=====", "" },
        { "padding only", "====", "" },
        { "extra padding after a full pad", "YQ=====", "a" },
        { "text after the padding ignored", "YQ==YWJj", "a" },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(lq::base64Decode(c.text), c.bytes);
        EXPECT_EQ(lq::base64DecodeText(QString::fromLatin1(c.text)), c.bytes);
    }
}

TEST(Base64, DecodeSkipsCharactersOutsideTheAlphabetInUnicodeText)
{
    EXPECT_EQ(lq::base64DecodeText(QStringLiteral("YW\u20ACJj")), QByteArray("abc"));
    EXPECT_EQ(lq::base64DecodeText(QStringLiteral("YW\rJj")), QByteArray("abc"));
    EXPECT_TRUE(lq::base64DecodeText(QString()).isEmpty());
}

TEST(Base64, DecodesOneGroupOfFourCharacters)
{
    struct QuadCase {
        const char* quad;
        QByteArray bytes;
    };
    const std::vector<QuadCase> cases = {
        { "YWJj", "abc" },
        { "+/+/", QByteArray("\xFB\xFF\xBF", 3) },
        { "YWI=", QByteArray("ab\0", 3) },
        { "YQ==", QByteArray("a\0\0", 3) },
        { "AAAA", QByteArray(3, '\0') },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.quad);
        char out[3] = { 1, 1, 1 };
        lq::base64DecodeQuad(c.quad, out);
        EXPECT_EQ(QByteArray(out, 3), c.bytes);
    }
}

TEST(Base64, RoundTripsEveryByteAtEveryLastGroupLength)
{
    QByteArray all;
    for (int b = 0; b < 256; ++b)
        all.append(char(b));
    for (qsizetype length : { 0, 1, 2, 3, 4, 5, 254, 255, 256 }) {
        SCOPED_TRACE(length);
        const QByteArray bytes = all.left(length);
        const QByteArray text = lq::base64Encode(bytes);
        EXPECT_EQ(text, bytes.toBase64());
        EXPECT_EQ(lq::base64Decode(text), bytes);
    }
}

TEST(Base64, DecodeOfArbitraryBytesStaysWithinItsBounds)
{
    // Random text mixed from alphabet, padding and other bytes; the sanitizer
    // watches every write, and the answer can never exceed 3 bytes per 4 characters.
    QRandomGenerator random(20240611);
    const QByteArray pieces = "AZaz09+/====\r\n \x80\xFF";
    for (int round = 0; round < 2000; ++round) {
        QByteArray text;
        const int length = random.bounded(0, 40);
        for (int i = 0; i < length; ++i)
            text.append(pieces.at(random.bounded(pieces.size())));
        const QByteArray bytes = lq::base64Decode(text);
        ASSERT_LE(bytes.size(), text.size() / 4 * 3) << text.toHex().toStdString();
    }
}

// --- Blowfish ------------------------------------------------------------------

struct BlowfishVector {
    const char* key;
    const char* plain;
    const char* cipher;
};

// Eric Young's test vectors: key bytes, then plain and cipher block, each
// block as its big-endian left and right halves.
const std::vector<BlowfishVector> ericYoungVectors = {
    { "0000000000000000", "0000000000000000", "4EF997456198DD78" },
    { "FFFFFFFFFFFFFFFF", "FFFFFFFFFFFFFFFF", "51866FD5B85ECB8A" },
    { "3000000000000000", "1000000000000001", "7D856F9A613063F2" },
    { "1111111111111111", "1111111111111111", "2466DD878B963C9D" },
    { "0123456789ABCDEF", "1111111111111111", "61F9C3802281B096" },
    { "1111111111111111", "0123456789ABCDEF", "7D0CC630AFDA1EC7" },
    { "FEDCBA9876543210", "0123456789ABCDEF", "0ACEAB0FC6A0A28D" },
    { "7CA110454A1A6E57", "01A1D6D039776742", "59C68245EB05282B" },
    { "0131D9619DC1376E", "5CD54CA83DEF57DA", "B1B8CC0B250F09A0" },
    { "07A1133E4A0B2686", "0248D43806F67172", "1730E5778BEA1DA4" },
    { "3849674C2602319E", "51454B582DDF440A", "A25E7856CF2651EB" },
    { "04B915BA43FEB5B6", "42FD443059577FA2", "353882B109CE8F1A" },
    { "0113B970FD34F2CE", "059B5E0851CF143A", "48F4D0884C379918" },
    { "0170F175468FB5E6", "0756D8E0774761D2", "432193B78951FC98" },
    { "43297FAD38E373FE", "762514B829BF486A", "13F04154D69D1AE5" },
    { "07A7137045DA2A16", "3BDD119049372802", "2EEDDA93FFD39C79" },
    { "04689104C2FD3B2F", "26955F6835AF609A", "D887E0393C2DA6E3" },
    { "37D06BB516CB7546", "164D5E404F275232", "5F99D04F5B163969" },
    { "1F08260D1AC2465E", "6B056E18759F5CCA", "4A057A3B24D3977B" },
    { "584023641ABA6176", "004BD6EF09176062", "452031C1E4FADA8E" },
    { "025816164629B007", "480D39006EE762F2", "7555AE39F59B87BD" },
    { "49793EBC79B3258F", "437540C8698F3CFA", "53C55F9CB49FC019" },
    { "4FB05E1515AB73A7", "072D43A077075292", "7A8E7BFA937E89A3" },
    { "49E95D6D4CA229BF", "02FE55778117F12A", "CF9C5D7A4986ADB5" },
    { "018310DC409B26D6", "1D9D5C5018F728C2", "D1ABB290658BC778" },
    { "1C587F1C13924FEF", "305532286D6F295A", "55CB3774D13EF201" },
    { "0101010101010101", "0123456789ABCDEF", "FA34EC4847B268B2" },
    { "1F1F1F1F0E0E0E0E", "0123456789ABCDEF", "A790795108EA3CAE" },
    { "E0FEE0FEF1FEF1FE", "0123456789ABCDEF", "C39E072D9FAC631D" },
    { "0000000000000000", "FFFFFFFFFFFFFFFF", "014933E0CDAFF6E4" },
    { "FFFFFFFFFFFFFFFF", "0000000000000000", "F21E9A77B71C49BC" },
    { "0123456789ABCDEF", "0000000000000000", "245946885754369A" },
    { "FEDCBA9876543210", "FFFFFFFFFFFFFFFF", "6B5C5A9C5D9E0A5A" },
    // Keys of 1 to 24 bytes: prefixes of one long key.
    { "F0", "FEDCBA9876543210", "F9AD597C49DB005E" },
    { "F0E1", "FEDCBA9876543210", "E91D21C1D961A6D6" },
    { "F0E1D2", "FEDCBA9876543210", "E9C2B70A1BC65CF3" },
    { "F0E1D2C3", "FEDCBA9876543210", "BE1E639408640F05" },
    { "F0E1D2C3B4A59687", "FEDCBA9876543210", "E87A244E2CC85E82" },
    { "F0E1D2C3B4A5968778", "FEDCBA9876543210", "15750E7A4F4EC577" },
    { "F0E1D2C3B4A5968778695A4B3C2D1E0F", "FEDCBA9876543210", "93142887EE3BE15C" },
    { "F0E1D2C3B4A5968778695A4B3C2D1E0F00", "FEDCBA9876543210", "03429E838CE2D14B" },
    { "F0E1D2C3B4A5968778695A4B3C2D1E0F0011223344556677", "FEDCBA9876543210", "05044B62FA52D080" },
};

TEST(Blowfish, StandardVectorsEncipherAndDecipher)
{
    for (const auto& v : ericYoungVectors) {
        SCOPED_TRACE(std::string(v.key) + " / " + v.plain);
        lq::BlowfishState state;
        lq::blowfishKeySchedule(state, QByteArray::fromHex(v.key));
        const QByteArray plain(v.plain);
        const QByteArray cipher(v.cipher);
        std::uint32_t left = hexWord(plain.left(8).constData());
        std::uint32_t right = hexWord(plain.mid(8).constData());
        lq::blowfishEncryptBlock(state, left, right);
        EXPECT_EQ(left, hexWord(cipher.left(8).constData()));
        EXPECT_EQ(right, hexWord(cipher.mid(8).constData()));
        lq::blowfishDecryptBlock(state, left, right);
        EXPECT_EQ(left, hexWord(plain.left(8).constData()));
        EXPECT_EQ(right, hexWord(plain.mid(8).constData()));
    }
}

TEST(Blowfish, CipherTextFormHasLittleEndianHalves)
{
    // Eight 0x11 bytes under key 01 23 45 67 89 AB CD EF give the halves
    // 61F9C380 and 2281B096; each half is stored least significant byte first.
    const QByteArray key = QByteArray::fromHex("0123456789ABCDEF");
    const QByteArray plain(8, '\x11');
    const QByteArray text = lq::blowfishEncryptBase64(plain, key);
    EXPECT_EQ(lq::base64Decode(text), QByteArray::fromHex("80C3F96196B08122"));
    EXPECT_EQ(text, QByteArray("gMP5YZawgSI="));
    EXPECT_EQ(lq::blowfishDecryptBase64(text, key), plain);
}

TEST(Blowfish, BlocksAreZeroPaddedAndEncipheredOneByOne)
{
    const QByteArray key = "some key";
    struct Case {
        QByteArray plain;
        qsizetype base64Length;
    };
    const std::vector<Case> cases = {
        { "", 0 },
        { "1", 12 },
        { "1234567", 12 },
        { "12345678", 12 },
        { "123456789", 24 },
        { "1234567812345678", 24 },
        { "12345678123456789", 32 },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.plain.toStdString());
        const QByteArray text = lq::blowfishEncryptBase64(c.plain, key);
        EXPECT_FALSE(text.isNull());
        EXPECT_EQ(text.size(), c.base64Length);
        const QByteArray decrypted = lq::blowfishDecryptBase64(text, key);
        EXPECT_FALSE(decrypted.isNull());
        EXPECT_EQ(decrypted, c.plain);
    }
    EXPECT_TRUE(lq::blowfishEncryptBase64("12345678", key).endsWith("="));

    // No chaining: equal plain blocks give equal cipher blocks.
    const QByteArray twice = lq::base64Decode(lq::blowfishEncryptBase64("abcdefghabcdefgh", key));
    ASSERT_EQ(twice.size(), 16);
    EXPECT_EQ(twice.left(8), twice.mid(8));
    // The short last block is the plain bytes followed by zero bytes.
    const QByteArray block = lq::base64Decode(lq::blowfishEncryptBase64("abc", key));
    ASSERT_EQ(block.size(), 8);
    lq::BlowfishState state;
    lq::blowfishKeySchedule(state, key);
    std::uint32_t left = qFromLittleEndian<std::uint32_t>(block.constData());
    std::uint32_t right = qFromLittleEndian<std::uint32_t>(block.constData() + 4);
    lq::blowfishDecryptBlock(state, left, right);
    EXPECT_EQ(left, 0x00636261u);
    EXPECT_EQ(right, 0u);
}

TEST(Blowfish, NothingGivesNothing)
{
    EXPECT_TRUE(lq::blowfishEncryptBase64(QByteArray(), "key").isNull());
    EXPECT_TRUE(lq::blowfishDecryptBase64(QByteArray(), "key").isNull());
    EXPECT_TRUE(lq::sitePasswordDecrypt(QByteArray()).isNull());
}

TEST(Blowfish, PlainTextEndsAtItsFirstZeroByte)
{
    const QByteArray key = "key";
    EXPECT_EQ(lq::blowfishEncryptBase64(QByteArray("ab\0cd", 5), key), lq::blowfishEncryptBase64("ab", key));
}

TEST(Blowfish, RoundTripsTextUnderTheSameKeyOnly)
{
    const QByteArray key = "Lamp Over Reed";
    const std::vector<QByteArray> texts = {
        "x",
        "password:secret",
        "a longer text that spans several blocks of eight bytes",
        QStringLiteral("Gr\u00FC\u00DFe \u65E5\u672C").toUtf8(),
    };
    for (const auto& plain : texts) {
        SCOPED_TRACE(plain.toStdString());
        const QByteArray text = lq::blowfishEncryptBase64(plain, key);
        EXPECT_EQ(lq::blowfishDecryptBase64(text, key), plain);
        const QByteArray other = lq::blowfishDecryptBase64(text, "Lamp Over Reef");
        EXPECT_NE(other, plain);
        EXPECT_FALSE(other.contains('\0'));
    }
}

TEST(Blowfish, EmptyKeyActsAsAZeroKey)
{
    const QByteArray text = lq::blowfishEncryptBase64("plain", QByteArray());
    EXPECT_EQ(text, lq::blowfishEncryptBase64("plain", QByteArray(8, '\0')));
    EXPECT_EQ(lq::blowfishDecryptBase64(text, QByteArray()), QByteArray("plain"));
}

TEST(Blowfish, DecipheringMalformedTextStaysWithinItsBounds)
{
    const QByteArray key = "key";
    // 5 and 13 bytes after decoding: the short last block is deciphered on its own.
    for (const QByteArray& text : { QByteArray("YWJjZGU="), QByteArray("YWJjZGVmZ2hpamtsbQ=="), QByteArray("A====="),
             QByteArray("\r\n"), QByteArray("") }) {
        SCOPED_TRACE(text.toStdString());
        const QByteArray plain = lq::blowfishDecryptBase64(text, key);
        EXPECT_FALSE(plain.isNull());
        EXPECT_LE(plain.size(), lq::base64Decode(text).size());
    }
}

TEST(Blowfish, SitePasswordsUseTheirOwnKey)
{
    const QByteArray text = lq::sitePasswordEncrypt("anna:secret");
    EXPECT_EQ(text, lq::blowfishEncryptBase64("anna:secret", "Blue herons wade near old stones"));
    EXPECT_EQ(lq::sitePasswordDecrypt(text), QByteArray("anna:secret"));
}

// --- Site-password pair ----------------------------------------------------------

TEST(SitePasswordPair, RoundTripsUserAndPassword)
{
    struct Case {
        QString user;
        QString password;
    };
    const std::vector<Case> cases = {
        { "anna", "secret" },
        { "anna", "pa:ss:word" },
        { "", "" },
        { "j\u00F6rg", "\u00FCber" },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.user.toStdString() + ":" + c.password.toStdString());
        const QString encoded = lq::usernamePassword(c.user, c.password);
        EXPECT_EQ(lq::sitePasswordDecrypt(encoded.toUtf8()), (c.user + ":" + c.password).toUtf8());
        QString user = "old";
        QString password = "old";
        lq::usernamePasswordEncoded(user, password, encoded);
        EXPECT_EQ(user, c.user);
        EXPECT_EQ(password, c.password);
    }
}

TEST(SitePasswordPair, UserNameWithAColonSplitsAtItsFirstColon)
{
    QString user;
    QString password;
    lq::usernamePasswordEncoded(user, password, lq::usernamePassword("a:b", "c"));
    EXPECT_EQ(user, "a");
    EXPECT_EQ(password, "b:c");
}

TEST(SitePasswordPair, UnreadableTextLeavesBothEmpty)
{
    const std::vector<QString> texts = {
        QString(),
        "",
        QString::fromLatin1(lq::sitePasswordEncrypt("no colon here")),
        QString::fromLatin1(lq::blowfishEncryptBase64("anna:secret", "another key")),
    };
    for (const auto& text : texts) {
        SCOPED_TRACE(text.toStdString());
        QString user = "old";
        QString password = "old";
        lq::usernamePasswordEncoded(user, password, text);
        EXPECT_EQ(user, "");
        EXPECT_FALSE(user.isNull());
        EXPECT_EQ(password, "");
        EXPECT_FALSE(password.isNull());
    }
}

// --- Stored credentials -----------------------------------------------------------

TEST(StoredCredentials, EncipherKeyColonValueUnderThePassPhrase)
{
    auto& app = MyApplication::shared();
    EXPECT_EQ(MyApplication::passPhrase(), "Lamp Over Reed");
    const QString encoded = app.encodeStringForKey("secret", "password");
    EXPECT_EQ(lq::blowfishDecryptBase64(encoded.toUtf8(), "Lamp Over Reed"), QByteArray("password:secret"));
    EXPECT_EQ(app.decodeStringForKey(encoded, "password"), "secret");
    EXPECT_EQ(app.decodeStringForKey(encoded, "username"), "");
    EXPECT_EQ(app.decodeStringForKey(encoded, "pass"), "");
}

TEST(StoredCredentials, ValuesRoundTrip)
{
    auto& app = MyApplication::shared();
    const std::vector<QString> values = {
        "secret",
        "a:b",
        ":leading and trailing:",
        "",
        "p\u00E4ssw\u00F6rd \u2713",
        "a value long enough to take several cipher blocks",
    };
    for (const auto& value : values) {
        SCOPED_TRACE(value.toStdString());
        const QString encoded = app.encodeStringForKey(value, "password");
        const QString decoded = app.decodeStringForKey(encoded, "password");
        EXPECT_EQ(decoded, value);
        EXPECT_FALSE(decoded.isNull());
        EXPECT_EQ(app.decodeStringForKey(encoded, "username"), "");
    }
}

TEST(StoredCredentials, MissingOrUnreadableInputGivesTheEmptyText)
{
    auto& app = MyApplication::shared();
    const QString valid = app.encodeStringForKey("secret", "password");
    struct Case {
        const char* what;
        QString result;
    };
    const std::vector<Case> cases = {
        { "encode without value", app.encodeStringForKey(QString(), "password") },
        { "encode without key", app.encodeStringForKey("secret", QString()) },
        { "decode without text", app.decodeStringForKey(QString(), "password") },
        { "decode without key", app.decodeStringForKey(valid, QString()) },
        { "decode of the empty text", app.decodeStringForKey("", "password") },
        { "decode of text that is not base64", app.decodeStringForKey("!!!", "password") },
        { "decode of text without a colon",
            app.decodeStringForKey(QString::fromLatin1(lq::blowfishEncryptBase64("password", "Lamp Over Reed")), "password") },
        { "decode of text made under another pass phrase",
            app.decodeStringForKey(QString::fromLatin1(lq::blowfishEncryptBase64("password:secret", "other")), "password") },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(c.result, "");
        EXPECT_FALSE(c.result.isNull());
    }
}

} // namespace
