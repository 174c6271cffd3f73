// The zip archives of XmlBase: theme archives, snapshots and document
// archives are read and written only through the system's zip and unzip
// tools. Every tool is waited for and its exit status checked; a failure is
// logged as "zip failed: <detail>" and shows in the operation's answer.
//
// Archives come from outside (theme archives are shared between users), so
// unzipTo inspects the listing before anything is unpacked and refuses an
// archive whose members could land outside the target folder.
#include "model/core/XmlBase.h"

#include "platform/ExceptionFrame.h"
#include "platform/Image.h"
#include "platform/Log.h"
#include "platform/Process.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryDir>

namespace {

const QString zipTool = QStringLiteral("/usr/bin/zip");
const QString unzipTool = QStringLiteral("/usr/bin/unzip");

// Exit status of unzip when the member asked for is not in the archive.
constexpr int unzipNoMatchingFiles = 11;
// Exit status of unzip for warnings after which everything was processed.
constexpr int unzipWarnings = 1;

void logZipFailure(const QString& detail)
{
    lq::log(QStringLiteral("zip failed: ") + detail);
}

// Runs a tool and logs its failure. unzip's status 1 means that it warned but
// did all it was asked, which counts as success here.
bool runTool(const QString& tool, const QStringList& arguments, const QString& folder,
    lq::ProcessResult& result, const std::optional<QByteArray>& input = std::nullopt)
{
    result = lq::runProcess(tool, arguments, folder, input);
    const bool tolerated = tool == unzipTool && result.started && !result.crashed && result.exitCode == unzipWarnings;
    if (result.succeeded() || tolerated)
        return true;
    logZipFailure(result.failureDetail(tool));
    return false;
}

// The platform's temporary folder, where the archive's own tools run.
QString temporaryFolder()
{
    return QDir::tempPath();
}

// Paths handed to tools running in the temporary folder must not depend on it.
QString absolute(const QString& path)
{
    return QFileInfo(path).absoluteFilePath();
}

// The lines of a tool's listing, without empty lines.
QStringList listingLines(const QByteArray& output)
{
    QStringList lines;
    const QStringList raw = QString::fromLocal8Bit(output).split(QLatin1Char('\n'));
    for (QString line : raw) {
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
        if (!line.isEmpty())
            lines.append(line);
    }
    return lines;
}

bool isInside(const QString& canonicalPath, const QString& canonicalFolder)
{
    if (canonicalPath.isEmpty() || canonicalFolder.isEmpty())
        return false;
    if (canonicalPath == canonicalFolder)
        return true;
    const QString prefix = canonicalFolder.endsWith(QLatin1Char('/')) ? canonicalFolder : canonicalFolder + QLatin1Char('/');
    return canonicalPath.startsWith(prefix);
}

// Why a member name must not be unpacked, or nothing when it may: it has to
// name a place below the target folder.
QString unsafeMemberName(const QString& name)
{
    for (const QChar c : name) {
        if (c.unicode() < 0x20 || c.unicode() == 0x7f)
            return QStringLiteral("has control characters");
    }
    if (name.startsWith(QLatin1Char('/')) || name.startsWith(QLatin1Char('\\')))
        return QStringLiteral("is an absolute path");
    static const QRegularExpression drive(QStringLiteral("^[A-Za-z]:"));
    if (drive.match(name).hasMatch())
        return QStringLiteral("is an absolute path");
    static const QRegularExpression separators(QStringLiteral("[/\\\\]"));
    const QStringList components = name.split(separators);
    if (components.contains(QStringLiteral("..")))
        return QStringLiteral("leads out of the folder");
    return QString();
}

// One entry line of unzip's short listing ("unzip -Z -s"): mode, version,
// host, size, text/binary and extra flags, method, date, time, then the name.
struct ListedMember {
    QString mode;
    QString flags;
    QString name;
};

std::optional<ListedMember> parseShortListingLine(const QString& line)
{
    static const QRegularExpression entry(
        QStringLiteral("^(\\S+)\\s+\\S+\\s+\\S+\\s+\\d+\\s+(\\S+)\\s+\\S+\\s+\\S+\\s+\\S+ (.*)$"));
    const QRegularExpressionMatch match = entry.match(line);
    if (!match.hasMatch())
        return std::nullopt;
    return ListedMember { match.captured(1), match.captured(2), match.captured(3) };
}

// Why a member's kind must not be unpacked, or nothing: only plain files and
// folders are; links and other special files could point anywhere, and
// encrypted members would make the tool ask for a password.
QString unsafeMemberKind(const ListedMember& member)
{
    const QChar kind = member.mode.isEmpty() ? QChar() : member.mode.front();
    if (kind == QLatin1Char('l'))
        return QStringLiteral("is a symbolic link");
    if (kind != QLatin1Char('-') && kind != QLatin1Char('d') && kind != QLatin1Char('?'))
        return QStringLiteral("is a special file");
    if (!member.flags.isEmpty() && member.flags.front().isUpper())
        return QStringLiteral("is encrypted");
    return QString();
}

// Why unpacking the member into the folder could write outside it through a
// link that is already there, or nothing.
QString unsafeExistingPath(const QString& folder, const QString& canonicalFolder, const QString& name)
{
    QString path = folder;
    const QStringList components = name.split(QLatin1Char('/'), Qt::SkipEmptyParts);
    for (const QString& component : components) {
        path += QLatin1Char('/') + component;
        const QFileInfo info(path);
        if (info.isSymLink()) {
            if (!isInside(info.canonicalFilePath(), canonicalFolder))
                return QStringLiteral("would be written through a link out of the folder");
        } else if (!info.exists()) {
            break;
        }
    }
    return QString();
}

// The members of the archive in listing order, after checking that every one
// of them lands inside the folder; nothing when the archive is refused or the
// listing cannot be read.
std::optional<QStringList> checkedMembers(const QString& archive, const QString& folder)
{
    lq::ProcessResult names;
    if (!runTool(unzipTool, { QStringLiteral("-Z"), QStringLiteral("-1"), archive }, folder, names))
        return std::nullopt;
    // An archive without members is listed with a warning in place of names.
    if (names.exitCode == unzipWarnings && names.output.trimmed() == "Empty zipfile.")
        return QStringList();
    const QStringList members = listingLines(names.output);

    // The short listing shows each member's kind; "*" leaves out the header
    // and totals, so that it holds one line per member, in the same order.
    lq::ProcessResult details;
    if (!runTool(unzipTool, { QStringLiteral("-Z"), QStringLiteral("-s"), archive, QStringLiteral("*") }, folder, details))
        return std::nullopt;
    const QStringList detailLines = listingLines(details.output);

    const auto refuse = [&](const QString& why) -> std::optional<QStringList> {
        logZipFailure(QStringLiteral("refusing %1: %2").arg(archive, why));
        return std::nullopt;
    };
    const auto refuseMember = [&](const QString& member, const QString& reason) {
        return refuse(QStringLiteral("member \"%1\" %2").arg(member, reason));
    };
    if (detailLines.size() != members.size())
        return refuse(QStringLiteral("its listings disagree"));

    const QString canonicalFolder = QFileInfo(folder).canonicalFilePath();
    for (qsizetype i = 0; i < members.size(); ++i) {
        const QString& name = members.at(i);
        const std::optional<ListedMember> listed = parseShortListingLine(detailLines.at(i));
        if (!listed || listed->name != name)
            return refuseMember(name, QStringLiteral("cannot be matched in the listing"));
        for (const QString& reason : { unsafeMemberName(name), unsafeMemberKind(*listed),
                 unsafeExistingPath(folder, canonicalFolder, name) }) {
            if (!reason.isEmpty())
                return refuseMember(name, reason);
        }
    }
    return members;
}

} // namespace

bool XmlBase::zipRootDirFilenameRecursive(const QString& archive, const QString& rootDir, const QString& filename, bool recursive)
{
    return lq::classFrame("XmlBase +zip:rootDir:filename:recursive", [&]() -> bool {
        QStringList arguments;
        if (recursive)
            arguments << QStringLiteral("-r");
        // A member name beginning with "-" would be read as an option; zip
        // drops the leading "./" from the stored name.
        const QString member = filename.startsWith(QLatin1Char('-')) ? QStringLiteral("./") + filename : filename;
        arguments << archive << member;
        lq::ProcessResult result;
        return runTool(zipTool, arguments, rootDir, result);
    });
}

std::optional<XmlBaseList> XmlBase::unzipTo(const QString& archive, const QString& folder)
{
    return lq::classFrame("XmlBase +unzip:to:", [&]() -> std::optional<XmlBaseList> {
        const std::optional<QStringList> members = checkedMembers(archive, folder);
        if (!members)
            return std::nullopt;

        lq::ProcessResult unpacked;
        if (!runTool(unzipTool, { QStringLiteral("-o"), archive }, folder, unpacked))
            return std::nullopt;

        // Element files are read only where they really lie inside the folder.
        const QString canonicalFolder = QFileInfo(folder).canonicalFilePath();
        XmlBaseList trees;
        for (const QString& member : *members) {
            if (QFileInfo(member).suffix() != QLatin1String("xmlbase"))
                continue;
            const QString path = folder + QLatin1Char('/') + member;
            const QFileInfo info(path);
            if (!info.isFile() || !isInside(info.canonicalFilePath(), canonicalFolder))
                continue;
            if (XmlBasePtr tree = createWithFile(path))
                trees.append(tree);
        }
        return trees;
    });
}

QImage XmlBase::getIconFromZip(const QString& archive)
{
    return lq::classFrame("XmlBase +getIconFromZip:", [&]() -> QImage {
        const lq::ProcessResult result = lq::runProcess(unzipTool,
            { QStringLiteral("-p"), absolute(archive), QStringLiteral("icon.jpg") }, temporaryFolder());
        // An archive without an icon is ordinary: only other failures are logged.
        if (result.started && !result.crashed && result.exitCode == unzipNoMatchingFiles)
            return QImage();
        if (!result.succeeded()) {
            logZipFailure(result.failureDetail(unzipTool));
            return QImage();
        }
        const QList<QImage> representations = lq::decodeImageRepresentations(result.output);
        if (representations.isEmpty())
            return QImage();
        if (representations.size() > 1)
            lq::log(QStringLiteral("multiple image reps"));
        return lq::atPixelSize(representations.first());
    });
}

bool XmlBase::setIconInZipIcon(const QString& archive, const QImage& icon)
{
    return lq::classFrame("XmlBase +setIconInZip:icon:", [&]() -> bool {
        // The icon is staged in a private folder of its own, so that no other
        // program or concurrent call can slip another file in under its name.
        QTemporaryDir staging(temporaryFolder() + QStringLiteral("/lumenquill-icon-XXXXXX"));
        if (!staging.isValid()) {
            logZipFailure(QStringLiteral("no temporary folder for the icon: %1").arg(staging.errorString()));
            return false;
        }
        if (!saveImageFilenameCompression(icon, staging.filePath(QStringLiteral("icon.jpg")), 0.9f)) {
            logZipFailure(QStringLiteral("could not write the icon of %1").arg(archive));
            return false;
        }
        lq::ProcessResult result;
        return runTool(zipTool, { absolute(archive), QStringLiteral("icon.jpg") }, staging.path(), result);
    });
}

QString XmlBase::getCommentFromZip(const QString& archive)
{
    return lq::classFrame("XmlBase +getCommentFromZip:", [&]() -> QString {
        lq::ProcessResult result;
        if (!runTool(unzipTool, { QStringLiteral("-q"), QStringLiteral("-z"), absolute(archive) }, temporaryFolder(), result))
            return QString();
        if (result.output.isEmpty())
            return QStringLiteral("");
        QString comment = QString::fromLocal8Bit(result.output);
        // The tool ends what it prints with a line end of its own.
        if (comment.endsWith(QLatin1Char('\n')))
            comment.chop(1);
        return comment;
    });
}

bool XmlBase::setCommentInZipComment(const QString& archive, const QString& comment)
{
    return lq::classFrame("XmlBase +setCommentInZip:comment:", [&]() -> bool {
        // zip reads the comment from its standard input up to its end, and
        // the archive is rewritten before it exits: waiting for it means the
        // next reader of the archive finds the new comment.
        lq::ProcessResult result;
        return runTool(zipTool, { QStringLiteral("-z"), absolute(archive) }, temporaryFolder(), result,
            comment.toLocal8Bit());
    });
}
