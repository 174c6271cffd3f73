// Element trees read from document files and written to them, and the
// files below an element's root folder (reached through the folder's
// gateway, lq::ConfinedFolder): pictures written there and files read from it.
#include "model/core/ElementFiles.h"

#include "model/core/DocumentBase.h"
#include "model/core/ModelSettings.h"
#include "platform/Codecs.h"
#include "platform/ConfinedFolder.h"
#include "platform/ExceptionFrame.h"
#include "platform/FileHelpers.h"
#include "platform/ImageFiles.h"
#include "platform/InputLimits.h"
#include "platform/Log.h"
#include "platform/Strings.h"

#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <functional>

#include <sys/stat.h>
#include <unistd.h>

namespace {

// UTF-8 without tolerance: any malformed or cut-off sequence gives nothing.
std::optional<QString> decodeUtf8Strictly(const QByteArray& bytes)
{
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = decoder.decode(bytes);
    if (decoder.hasError())
        return std::nullopt;
    return text;
}

// How much of the bytes ends on a whole UTF-8 sequence: a sequence cut by
// the end starts at most three bytes before it, and is left for the next piece.
qint64 wholeSequencesLength(const char* bytes, qint64 length)
{
    for (qint64 back = 1; back <= 3 && back <= length; ++back) {
        const auto c = static_cast<unsigned char>(bytes[length - back]);
        if ((c & 0xC0) == 0x80)
            continue;
        const qint64 needed = c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : c >= 0xC0 ? 2 : 1;
        return needed > back ? length - back : length;
    }
    return length;
}

// A file's text as UTF-8 without tolerance, as decodeUtf8Strictly reads
// it, but read a piece at a time straight into the text it becomes: a large
// document is not held as bytes beside its text. Nothing when the file
// cannot be read or holds more than `bound` bytes.
// `read` fills up to the count of bytes and answers how many it read (0 at
// the end, negative on an error); `size` is what the file holds.
std::optional<QString> readUtf8Strictly(const std::function<qint64(char*, qint64)>& read, qint64 size, qint64 bound)
{
    constexpr qint64 piece = 256 * 1024;
    QByteArray buffer(piece + 3, Qt::Uninitialized);
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text;
    // UTF-8 never takes more UTF-16 units than bytes.
    text.reserve(std::min(size, bound));
    qint64 carried = 0;
    qint64 total = 0;
    for (;;) {
        const qint64 got = read(buffer.data() + carried, piece);
        if (got < 0)
            return std::nullopt;
        total += got;
        if (total > bound)
            return std::nullopt;
        const qint64 available = carried + got;
        const qint64 whole = got == 0 ? available : wholeSequencesLength(buffer.constData(), available);
        const qsizetype at = text.size();
        text.resize(at + static_cast<qsizetype>(whole));
        const QChar* const end = decoder.appendToBuffer(text.data() + at, QByteArrayView(buffer.constData(), whole));
        text.resize(end - text.constData());
        if (decoder.hasError())
            return std::nullopt;
        carried = available - whole;
        if (got == 0)
            return text;
        std::memmove(buffer.data(), buffer.constData() + whole, static_cast<std::size_t>(carried));
    }
}

// The XML text of an enciphered document: ":", base64 cipher text, and the
// 16-character key at the end. Answers nothing when the text is too short or
// does not decipher to UTF-8.
std::optional<QString> decipherDocument(const QString& text)
{
    constexpr qsizetype keyLength = 16;
    if (text.size() <= keyLength)
        return std::nullopt;
    const QString key = text.right(keyLength);
    const QString cipher = text.mid(1, text.size() - 1 - keyLength);
    const QByteArray plain = lq::blowfishDecryptBase64(cipher.toUtf8(), key.toUtf8());
    if (plain.isNull())
        return std::nullopt;
    return decodeUtf8Strictly(plain);
}

// The element tree of a document file's text (enciphered or not); nothing
// for a file that is not UTF-8 text, or is empty.
XmlBasePtr createWithText(std::optional<QString> text, const QString& rootDir)
{
    if (!text || text->isEmpty())
        return nullptr;
    if (text->startsWith(QLatin1Char(':'))) {
        text = decipherDocument(*text);
        if (!text)
            return nullptr;
    }
    return XmlBase::createWithXmlRootDir(*text, rootDir);
}

} // namespace

namespace lq {

bool saveToFile(XmlBase& element, const QString& path)
{
    return modelFrame(&element, "saveToFile:", [&]() -> bool {
        // The text goes to a temporary file beside the target, which replaces
        // the target only once it is complete and on the disk: a failed write
        // leaves the earlier file whole. Element files hold pages' passwords
        // and the destination's credentials: they are their owner's alone.
        QString why;
        if (!writeFileAtomically(path, element.createXml().toUtf8(), &why, { .ownerOnly = true, .durable = true })) {
            log(why);
            return false;
        }
        return true;
    });
}

bool saveInto(XmlBase& element, ConfinedFolder& folder, const QString& name)
{
    return modelFrame(&element, "saveToFile:", [&]() -> bool {
        QString why;
        if (!folder.writeFileAtomically(name, element.createXml().toUtf8(), &why, { .ownerOnly = true, .durable = true })) {
            log(why);
            return false;
        }
        return true;
    });
}


XmlBasePtr createWithFile(const QString& path)
{
    return classFrame("XmlBase +createWithFile:", [&]() -> XmlBasePtr {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            return nullptr;
        // A file past the bound is refused before it is read into memory.
        const qint64 bound = inputLimits().documentTextBytes;
        if (file.size() > bound) {
            log(QStringLiteral("Cannot read ") + path + QStringLiteral(": it holds ") + describeSize(file.size())
                + QStringLiteral(", more than the ") + describeSize(bound) + QStringLiteral(" a document file may have"));
            return nullptr;
        }
        std::optional<QString> text = readUtf8Strictly([&](char* data, qint64 count) { return file.read(data, count); }, file.size(), bound);
        file.close();
        return createWithText(std::move(text), QFileInfo(path).path());
    });
}

XmlBasePtr createWithFile(const ConfinedFolder& folder, const QString& name)
{
    return classFrame("XmlBase +createWithFile:", [&]() -> XmlBasePtr {
        QString why;
        const FileDescriptor file = folder.openForReading(name, &why);
        if (!file.isValid()) {
            // Only a file that is there and cannot be read is worth a line.
            if (folder.status(name).exists() || folder.status(name).kind == ConfinedFolder::Kind::Link)
                log(why);
            return nullptr;
        }
        // A file past the bound is refused before it is read into memory.
        const qint64 bound = inputLimits().documentTextBytes;
        struct stat status {};
        if (::fstat(file.get(), &status) != 0)
            return nullptr;
        if (status.st_size > bound) {
            log(QStringLiteral("Cannot read ") + folder.pathOf(name) + QStringLiteral(": it holds ") + describeSize(status.st_size)
                + QStringLiteral(", more than the ") + describeSize(bound) + QStringLiteral(" a document file may have"));
            return nullptr;
        }
        std::optional<QString> text = readUtf8Strictly([&](char* data, qint64 count) -> qint64 {
            for (;;) {
                const ssize_t got = ::read(file.get(), data, static_cast<size_t>(count));
                if (got >= 0 || errno != EINTR)
                    return got;
            }
        }, status.st_size, bound);
        const qsizetype slash = name.lastIndexOf(QLatin1Char('/'));
        return createWithText(std::move(text), folder.pathOf(slash < 0 ? QString() : name.left(slash)));
    });
}

XmlBasePtr createWithData(const QByteArray& bytes, const QString& rootDir)
{
    return classFrame("XmlBase +createWithData:rootDir:", [&]() -> XmlBasePtr {
        return createWithText(decodeUtf8Strictly(bytes), rootDir);
    });
}

std::shared_ptr<ConfinedFolder> rootFolder(XmlBase& element)
{
    return modelFrame(&element, "rootFolder", [&]() -> std::shared_ptr<ConfinedFolder> {
        if (DocumentBase* document = element.myDocument())
            if (std::shared_ptr<ConfinedFolder> folder = document->siteFolder())
                return folder;
        const QString folder = element.rootDir();
        return folder.isEmpty() ? nullptr : ConfinedFolder::open(folder);
    });
}

bool saveImageInRootFolder(XmlBase& element, const QImage& image, const QString& name, float compression, QString* error)
{
    return modelFrame(&element, "saveImage:inRootFolder:", [&]() -> bool {
        const std::shared_ptr<ConfinedFolder> folder = rootFolder(element);
        const auto fail = [&](const QString& why) {
            if (error)
                *error = QStringLiteral("cannot write ") + element.rootDir() + QLatin1Char('/') + name + QStringLiteral(": ") + why;
            return false;
        };
        if (!folder)
            return fail(QStringLiteral("its folder cannot be opened"));
        const QByteArray bytes = imageFileData(image, name, ModelSettings::shared().jpegFactor(compression));
        if (bytes.isEmpty())
            return fail(QStringLiteral("the picture cannot be encoded"));
        const qsizetype slash = name.lastIndexOf(QLatin1Char('/'));
        if (slash > 0 && !folder->makeFolder(name.left(slash), error))
            return false;
        return folder->writeFileAtomically(name, bytes, error);
    });
}

std::optional<QByteArray> readFileAt(XmlBase& element, const QString& path, qint64 bound, QString* error)
{
    return modelFrame(&element, "readFileAt:", [&]() -> std::optional<QByteArray> {
        const std::shared_ptr<ConfinedFolder> folder = rootFolder(element);
        if (const std::optional<QString> name = folder ? folder->nameOf(path) : std::nullopt)
            return folder->readFile(*name, bound, error);
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly)) {
            if (error)
                *error = QStringLiteral("cannot read ") + path + QStringLiteral(": ") + file.errorString();
            return std::nullopt;
        }
        if (bound >= 0 && file.size() > bound) {
            if (error)
                *error = QStringLiteral("cannot read ") + path + QStringLiteral(": it holds more than ") + describeSize(bound);
            return std::nullopt;
        }
        return file.readAll();
    });
}

} // namespace lq
