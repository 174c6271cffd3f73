// iphotoreader: prints the caption that a photo library gives a picture.
//
//   iphotoreader title|comments|both <album data> <picture path>
//   iphotoreader title|comments|both <album data>
//
// <album data> is the library's "AlbumData.xml" (an XML property list);
// <picture path> is the picture's full path as HTML text (markup characters
// and the like as entities, the way the program passes paths on). The
// picture's record is the entry of the "Master Image List" whose
// "ImagePath" is that path. Prints, without a line break after it, the
// record's "Caption" (title), its "Comment" (comments), or both joined by
// " - " (both; either alone when the other is empty). Prints nothing when
// the picture has no record or the text asked for is empty.
//
// Without a picture path it prints the caption of every picture the list
// has a record of, so that an import reads the list once for all its
// pictures: for each record with an "ImagePath", in the order of the
// records' keys, the clean path and the caption, each followed by a zero
// byte. A path listed twice is printed once, with its first record.
//
// Exit status 0 when the album data could be read, 1 when it (or the
// program's string table, which holds the entities of the escaped path)
// could not (the reason on standard error), 2 for a usage error.

#include "platform/Escaping.h"
#include "platform/PropertyList.h"
#include "platform/Resources.h"
#include "platform/StringTable.h"

#include <QCoreApplication>
#include <QDir>
#include <QSet>
#include <QStringList>
#include <QVariantMap>

#include <cstdio>

namespace {

void complain(const QString& text)
{
    std::fputs((QStringLiteral("iphotoreader: ") + text + QLatin1Char('\n')).toLocal8Bit().constData(), stderr);
}

// The record of the picture at the path, or an empty map.
QVariantMap recordOf(const QVariantMap& master, const QString& path)
{
    const QString wanted = QDir::cleanPath(path);
    for (auto entry = master.cbegin(); entry != master.cend(); ++entry) {
        const QVariantMap record = entry.value().toMap();
        const QString imagePath = record.value(QStringLiteral("ImagePath")).toString();
        if (!imagePath.isEmpty() && QDir::cleanPath(imagePath) == wanted)
            return record;
    }
    return {};
}

QString captionOf(const QVariantMap& record, const QString& mode)
{
    const QString title = record.value(QStringLiteral("Caption")).toString();
    const QString comment = record.value(QStringLiteral("Comment")).toString();
    if (mode == QLatin1String("title"))
        return title;
    if (mode == QLatin1String("comments"))
        return comment;
    if (title.trimmed().isEmpty())
        return comment;
    if (comment.trimmed().isEmpty())
        return title;
    return title + QStringLiteral(" - ") + comment;
}

// Every picture's path and caption, each followed by a zero byte.
QByteArray everyCaption(const QVariantMap& master, const QString& mode)
{
    QByteArray table;
    QSet<QString> seen;
    for (auto entry = master.cbegin(); entry != master.cend(); ++entry) {
        const QVariantMap record = entry.value().toMap();
        const QString imagePath = record.value(QStringLiteral("ImagePath")).toString();
        const QString path = QDir::cleanPath(imagePath);
        const QString caption = captionOf(record, mode);
        // A zero byte would split an entry in two.
        if (imagePath.isEmpty() || seen.contains(path) || path.contains(QChar(0)) || caption.contains(QChar(0)))
            continue;
        seen.insert(path);
        table += path.toUtf8() + '\0' + caption.toUtf8() + '\0';
    }
    return table;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    const QStringList modes { QStringLiteral("title"), QStringLiteral("comments"), QStringLiteral("both") };
    if ((arguments.size() != 3 && arguments.size() != 4) || !modes.contains(arguments[1])) {
        complain(QStringLiteral("usage: iphotoreader title|comments|both <album data> [<picture path>]"));
        return 2;
    }
    // The entities of the escaped path come from the program's string table.
    lq::StringTable strings;
    const QString table = lq::resourcePath(QStringLiteral("strings/Localizable.strings"));
    if (!strings.loadFile(table)) {
        complain(table + QStringLiteral(" cannot be read"));
        return 1;
    }
    lq::setLocalizer([&strings](const QString& key) { return strings.value(key, QStringLiteral(" ")); });
    QString error;
    const std::optional<QVariant> albumData = lq::readPropertyListFile(arguments[2], &error);
    if (!albumData) {
        complain(arguments[2] + QStringLiteral(": ") + error);
        return 1;
    }
    const QVariantMap master = albumData->toMap().value(QStringLiteral("Master Image List")).toMap();
    const QByteArray text = arguments.size() == 3 ? everyCaption(master, arguments[1])
                                                  : captionOf(recordOf(master, lq::unescape(arguments[3])), arguments[1]).toUtf8();
    std::fwrite(text.constData(), 1, static_cast<std::size_t>(text.size()), stdout);
    lq::setLocalizer({});
    return 0;
}
