#pragma once

// The program's own byte-level codecs: base64 and the Blowfish cipher, and
// the enciphered-text form that stored credentials and site passwords use.
//
// "Nothing" is a null QByteArray throughout: the enciphering and deciphering
// routines answer a null array for a null argument, and a non-null (possibly
// empty) array otherwise.

#include <QByteArray>
#include <QString>

#include <cstdint>

namespace lq {

// --- Base64 -----------------------------------------------------------------

// The standard alphabet ("A"-"Z", "a"-"z", "0"-"9", "+", "/") with "=" padding,
// without line breaks. Empty bytes give an empty (non-null) text.
QByteArray base64Encode(const QByteArray& bytes);

// Decodes the characters of the alphabet that stand before the first "=";
// every other character (carriage return, line feed, blank, anything else) is
// skipped. At most two "=" after them count as padding. Only complete groups
// of four are decoded: an incomplete last group is ignored. Never answers more
// than three bytes for every four characters of the text.
QByteArray base64Decode(const QByteArray& text);

// The same as text: the bytes' base64 as a string (empty, never null, for no
// bytes), and the bytes of a string, whose characters outside the alphabet,
// whatever their UTF-8 form, are skipped.
QString base64EncodeText(const QByteArray& bytes);
QByteArray base64DecodeText(const QString& text);

// One group of four characters of the alphabet into three bytes; "=" (and
// any other character outside the alphabet) stands for zero bits.
void base64DecodeQuad(const char quad[4], char out[3]);

// --- Blowfish ---------------------------------------------------------------

// The cipher state: 18 subkeys and four S-boxes. Built afresh (on the stack)
// for every operation; nothing is kept between calls.
struct BlowfishState {
    std::uint32_t p[18];
    std::uint32_t s[4][256];
};

// The standard key schedule: the key's bytes, taken cyclically four at a
// time (most significant first), are XORed into the initial subkeys, then the
// subkeys and S-boxes are refilled by enciphering an all-zero block over and
// over. An empty key leaves the initial subkeys as they are (as a key of zero
// bytes would).
void blowfishKeySchedule(BlowfishState& state, const char* key, qsizetype keyLength);
void blowfishKeySchedule(BlowfishState& state, const QByteArray& key);

// One 64-bit block, as its left and right 32-bit halves.
void blowfishEncryptBlock(const BlowfishState& state, std::uint32_t& left, std::uint32_t& right);
void blowfishDecryptBlock(const BlowfishState& state, std::uint32_t& left, std::uint32_t& right);

// Enciphers the plain bytes up to the first zero byte (a zero byte ends the
// plain text) and answers the cipher bytes as base64 text. The cipher form:
// blocks of 8 bytes, bytes 0-3 the left half and 4-7 the right half, each a
// little-endian word; each block on its own (ECB); a short last block filled
// up with zero bytes. Empty plain text gives the empty text; null gives null.
QByteArray blowfishEncryptBase64(const QByteArray& plain, const QByteArray& key);

// The reverse: decodes the base64 text, deciphers each block and answers the
// bytes up to the first zero byte (which drops the zero padding). A short
// last block, which well-formed text never has, is zero-filled, deciphered
// and cut back to its length. Null gives null.
QByteArray blowfishDecryptBase64(const QByteArray& base64, const QByteArray& key);

// The two routines above under the fixed key of site passwords.
QByteArray sitePasswordKey();
QByteArray sitePasswordEncrypt(const QByteArray& plain);
QByteArray sitePasswordDecrypt(const QByteArray& base64);

// --- Site credentials -------------------------------------------------------

// "<user>:<password>" enciphered under the site password key, as text.
QString usernamePassword(const QString& user, const QString& password);
// The reverse of usernamePassword: the pair split at the first colon, so that a
// password with colons stays whole. Both empty when the text does not decipher
// to such a pair.
void usernamePasswordEncoded(QString& user, QString& password, const QString& encoded);

} // namespace lq
