// The statics of XmlBase whose work lies in the platform layer: text escaping,
// value strings, codecs and image files. Each keeps its design name and its
// frame, and forwards to the free function that does the work.
#include "model/core/XmlBase.h"

#include "model/core/ModelSettings.h"
#include "platform/Codecs.h"
#include "platform/ConfinedFolder.h"
#include "platform/Escaping.h"
#include "platform/ExceptionFrame.h"
#include "platform/ImageFiles.h"
#include "platform/InputLimits.h"
#include "platform/ValueStrings.h"
#include "platform/text/ParagraphStyle.h"

#include <QFile>

namespace {
// The JPEG quality of an image file: 0 stands for the application's factor.
double jpegFactor(float compression)
{
    return compression == 0.0f ? ModelSettings::shared().jpgCompressionFactor() : compression;
}
} // namespace

QString XmlBase::escape(const QString& text)
{
    return lq::classFrame("XmlBase +escape:", [&] { return lq::escape(text); });
}

QString XmlBase::unescape(const QString& text)
{
    return lq::classFrame("XmlBase +unescape:", [&] { return lq::unescape(text); });
}

QString XmlBase::escapeForDemo(const QString& run)
{
    return lq::classFrame("XmlBase escapeForDemo:", [&] { return lq::escapeForDemo(run); });
}

QString XmlBase::javascriptEscape(const QString& text)
{
    return lq::classFrame("XmlBase +javascriptEscape:", [&] { return lq::javascriptEscape(text); });
}

QString XmlBase::doubleQuoteEscape(const QString& text)
{
    return lq::classFrame("XmlBase +doubleQuoteEscape:", [&] { return lq::doubleQuoteEscape(text); });
}

QString XmlBase::urlescape(const QString& text)
{
    return lq::classFrame("XmlBase +urlescape:", [&] { return lq::urlEscape(text); });
}

QString XmlBase::urlunescape(const QString& text)
{
    return lq::classFrame("XmlBase +urlunescape:", [&] { return lq::urlUnescape(text); });
}

QString XmlBase::paramEscape(const QString& text)
{
    return lq::classFrame("XmlBase paramEscape:", [&] { return lq::paramEscape(text); });
}

QString XmlBase::magicLinkMaker(const QString& link)
{
    return lq::classFrame("XmlBase +magicLinkMaker:", [&] { return lq::magicLinkMaker(link); });
}

QString XmlBase::reverseWord(const QString& text)
{
    return lq::classFrame("XmlBase +reverseWord:", [&] { return lq::reverseWord(text); });
}

std::optional<lq::Colour> XmlBase::stringToColor(const QString& text)
{
    return lq::classFrame("XmlBase stringToColor:", [&] { return lq::stringToColor(text); });
}

QString XmlBase::colorToString(const lq::Colour& colour)
{
    return lq::classFrame("XmlBase +colorToString:", [&] { return lq::colorToString(colour); });
}

QString XmlBase::colorToCSSString(const lq::Colour& colour)
{
    return lq::classFrame("XmlBase +colorToCSSString:", [&] { return lq::colorToCSSString(colour); });
}

int XmlBase::colorToInt(const lq::Colour& colour)
{
    return lq::classFrame("XmlBase +colorToInt:", [&] { return lq::colorToInt(colour); });
}

float XmlBase::hexColorHex(char high, char low)
{
    return lq::classFrame("XmlBase +hexColor:hex:", [&] { return lq::hexColorHex(high, low); });
}

int XmlBase::hexChar(char c)
{
    return lq::classFrame("XmlBase +hexChar:", [&] { return lq::hexChar(c); });
}

QString XmlBase::BOOLToString(bool flag)
{
    return lq::classFrame("XmlBase +BOOLToString:", [&] { return lq::boolToString(flag); });
}

quint32 XmlBase::hexString(const QString& text)
{
    return lq::classFrame("XmlBase +hexString", [&] { return lq::hexString(text); });
}

QString XmlBase::rectToString(const lq::Rect& rect)
{
    return lq::classFrame("XmlBase +rectToString:", [&] { return lq::rectToString(rect); });
}

lq::Rect XmlBase::stringToRect(const QString& text)
{
    return lq::classFrame("XmlBase +stringToRect:", [&] { return lq::stringToRect(text); });
}

QString XmlBase::pointToString(const lq::Point& point)
{
    return lq::classFrame("XmlBase +pointToString:", [&] { return lq::pointToString(point); });
}

lq::Point XmlBase::stringToPoint(const QString& text)
{
    return lq::classFrame("XmlBase +stringToPoint:", [&] { return lq::stringToPoint(text); });
}

QString XmlBase::sizeToString(const lq::Size& size)
{
    return lq::classFrame("XmlBase +sizeToString:", [&] { return lq::sizeToString(size); });
}

lq::Size XmlBase::stringToSize(const QString& text)
{
    return lq::classFrame("XmlBase +stringToSize:", [&] { return lq::stringToSize(text); });
}

bool XmlBase::stringToBOOL(const QString& text)
{
    return lq::classFrame("XmlBase +stringToBOOL:", [&] { return lq::stringToBool(text); });
}

QList<lq::TabStop> XmlBase::lqTabStops()
{
    return lq::classFrame("XmlBase +lqTabStops", [&] { return lq::standardTabStops(); });
}

QByteArray XmlBase::imageDataFilenameCompression(const QImage& image, const QString& path, float compression)
{
    return lq::classFrame("XmlBase imageData:filename:compression:", [&] { return lq::imageFileData(image, path, jpegFactor(compression)); });
}

bool XmlBase::saveImageFilenameCompression(const QImage& image, const QString& path, float compression, QString* error)
{
    return lq::classFrame("XmlBase +saveImage:filename:compression:", [&] { return lq::saveImageFile(image, path, jpegFactor(compression), error); });
}

QImage XmlBase::loadImageFromFile(const QString& path)
{
    return lq::classFrame("XmlBase +loadImageFromFile:", [&] { return lq::loadImageFile(path); });
}

bool XmlBase::saveImageInRootFolder(const QImage& image, const QString& name, float compression, QString* error)
{
    return lq::modelFrame(this, "saveImage:inRootFolder:", [&]() -> bool {
        const std::shared_ptr<lq::ConfinedFolder> folder = rootFolder();
        const auto fail = [&](const QString& why) {
            if (error)
                *error = QStringLiteral("cannot write ") + rootDir() + QLatin1Char('/') + name + QStringLiteral(": ") + why;
            return false;
        };
        if (!folder)
            return fail(QStringLiteral("its folder cannot be opened"));
        const QByteArray bytes = lq::imageFileData(image, name, jpegFactor(compression));
        if (bytes.isEmpty())
            return fail(QStringLiteral("the picture cannot be encoded"));
        const qsizetype slash = name.lastIndexOf(QLatin1Char('/'));
        if (slash > 0 && !folder->makeFolder(name.left(slash), error))
            return false;
        return folder->writeFileAtomically(name, bytes, error);
    });
}

std::optional<QByteArray> XmlBase::readFileAt(const QString& path, qint64 bound, QString* error)
{
    return lq::modelFrame(this, "readFileAt:", [&]() -> std::optional<QByteArray> {
        const std::shared_ptr<lq::ConfinedFolder> folder = rootFolder();
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
                *error = QStringLiteral("cannot read ") + path + QStringLiteral(": it holds more than ") + lq::describeSize(bound);
            return std::nullopt;
        }
        return file.readAll();
    });
}

QString XmlBase::base64encode(const QByteArray& data)
{
    return lq::classFrame("XmlBase +base64encode", [&] {
        const QByteArray text = lq::base64Encode(data);
        return text.isEmpty() ? QStringLiteral("") : QString::fromLatin1(text); // empty data: the empty text, not nothing
    });
}

QByteArray XmlBase::base64decode(const QString& text)
{
    // Characters outside the base64 alphabet, whatever their UTF-8 form, are skipped.
    return lq::classFrame("XmlBase +base64decode", [&] { return lq::base64Decode(text.toUtf8()); });
}

QString XmlBase::usernamePassword(const QString& user, const QString& password)
{
    return lq::classFrame("XmlBase +username:password:", [&] { return lq::usernamePassword(user, password); });
}

void XmlBase::usernamePasswordEncoded(QString& user, QString& password, const QString& encoded)
{
    lq::classFrame("XmlBase +username:password:encoded:", [&] { lq::usernamePasswordEncoded(user, password, encoded); });
}
