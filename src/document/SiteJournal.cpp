#include "document/SiteJournal.h"

#include "platform/FileHelpers.h"
#include "platform/Log.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <optional>

const QString SiteJournal::journalName = QStringLiteral(".lumenquill-journal");
const QString SiteJournal::saveStagingPrefix = QStringLiteral(".lqtmp-");
const QString SiteJournal::revertStagingPrefix = QStringLiteral(".lumenquill-revert-");
const QString SiteJournal::themeStagingPrefix = QStringLiteral(".lumenquill-theme-");

namespace {

const QByteArray journalHeader = QByteArrayLiteral("lumenquill journal 1");
const QByteArray journalEnd = QByteArrayLiteral("end");
// The mark of a move that brings a new file.
const QByteArray newFileMark = QByteArrayLiteral("new");

const QStringList elementFiles { QStringLiteral("site.xmlbase"), QStringLiteral("theme.xmlbase"), QStringLiteral("location.xmlbase"),
    QStringLiteral("rss.xmlbase") };

bool fail(QString* error, const QString& why)
{
    if (error)
        *error = why;
    return false;
}

bool isPlainName(const QString& name)
{
    return !name.isEmpty() && name != QLatin1String(".") && name != QLatin1String("..") && !name.contains(QLatin1Char('/'))
        && !name.contains(QLatin1Char('\t')) && !name.contains(QLatin1Char('\n')) && !name.contains(QChar(u'\0'));
}

bool isStagingName(const QString& name)
{
    return name.startsWith(SiteJournal::saveStagingPrefix) || name.startsWith(SiteJournal::revertStagingPrefix)
        || name.startsWith(SiteJournal::themeStagingPrefix);
}

// A file written beside its target and not yet renamed over it: ".<name>.lqtmp-<hex>".
bool isWrittenBeside(const QString& name)
{
    static const QRegularExpression beside(QStringLiteral("^\\..+\\.lqtmp-[0-9a-f]+$"));
    return beside.match(name).hasMatch();
}

bool isLink(const QString& path)
{
    return QFileInfo(path).isSymLink();
}

// A staged file the journal may take: below a staging folder of the
// document folder, through no link, a plain file itself.
bool isStagedFile(const QString& folder, const QString& staged)
{
    const QStringList parts = staged.split(QLatin1Char('/'));
    if (parts.size() < 2 || !isStagingName(parts.first()))
        return false;
    QString path = folder;
    for (const QString& part : parts) {
        if (!isPlainName(part))
            return false;
        path += QLatin1Char('/') + part;
        if (isLink(path))
            return false;
    }
    return true;
}

bool isAllowedTarget(const SiteJournal::Move& move)
{
    return move.newFile ? SiteJournal::isNewFileTarget(move.target) : SiteJournal::isReplaceableTarget(move.target);
}

// Why nothing may be moved to the path, or "": a folder is in the way, or
// its folder is missing or a link (nothing goes out of the document folder).
// A new file may go where folders are still missing, made below the
// document folder when it moves; no link may be on its way.
QString whatStopsTheMove(const QString& folder, const SiteJournal::Move& move)
{
    const QString destination = folder + QLatin1Char('/') + move.target;
    if (move.newFile) {
        if (const QString unsafe = lq::linkUnsafePath(folder, destination); !unsafe.isEmpty())
            return unsafe;
        QString missing = QFileInfo(destination).path();
        while (!QFileInfo::exists(missing) && missing != folder)
            missing = QFileInfo(missing).path();
        if (missing != QFileInfo(destination).path())
            return QFileInfo(missing).isDir() ? QString() : QStringLiteral("\"") + missing + QStringLiteral("\" is no folder");
    }
    if (QFileInfo(destination).isDir() && !isLink(destination))
        return QStringLiteral("a folder is in the way");
    const QString parent = QFileInfo(destination).path();
    if (isLink(parent) || !QFileInfo(parent).isDir())
        return QStringLiteral("its folder is missing or a link");
    if (::access(QFile::encodeName(parent).constData(), W_OK) != 0)
        return QStringLiteral("its folder cannot be written: ") + QString::fromLocal8Bit(std::strerror(errno));
    return QString();
}

// Puts one staged file in the place of its target. A staged file already
// gone was moved before (a journal played a second time). A new file never
// replaces what came to its place meanwhile: that stays.
bool moveIntoPlace(const QString& folder, const SiteJournal::Move& move, QString* error)
{
    const QString source = folder + QLatin1Char('/') + move.staged;
    const QString destination = folder + QLatin1Char('/') + move.target;
    const auto failed = [&](const QString& why) { return fail(error, QStringLiteral("cannot put ") + move.target + QStringLiteral(" in place: ") + why); };
    struct stat status {};
    if (::lstat(QFile::encodeName(source).constData(), &status) != 0)
        return true;
    if (!S_ISREG(status.st_mode))
        return failed(QStringLiteral("what was staged is no file"));
    if (const QString why = whatStopsTheMove(folder, move); !why.isEmpty())
        return failed(why);
    if (!move.newFile) {
        if (::rename(QFile::encodeName(source).constData(), QFile::encodeName(destination).constData()) != 0)
            return failed(QString::fromLocal8Bit(std::strerror(errno)));
        return true;
    }
    QString why;
    if (!lq::makeFoldersBelow(folder, QFileInfo(destination).path(), &why))
        return failed(why);
    if (::renameat2(AT_FDCWD, QFile::encodeName(source).constData(), AT_FDCWD, QFile::encodeName(destination).constData(), RENAME_NOREPLACE) != 0
        && errno != EEXIST)
        return failed(QString::fromLocal8Bit(std::strerror(errno)));
    return true;
}

// Moves every file into place, then forces the folders that changed onto
// the disk (for a new file, every folder up to the document folder: some
// may have been made for it).
bool play(const QString& folder, const QList<SiteJournal::Move>& moves, QString* error)
{
    bool done = true;
    QStringList touched;
    for (const SiteJournal::Move& move : moves) {
        QString why;
        if (!moveIntoPlace(folder, move, &why)) {
            if (done)
                fail(error, why);
            done = false;
        }
        QString parent = QFileInfo(folder + QLatin1Char('/') + move.target).path();
        while (!touched.contains(parent)) {
            touched.append(parent);
            if (!move.newFile || parent == folder)
                break;
            parent = QFileInfo(parent).path();
        }
    }
    for (const QString& parent : touched)
        lq::syncFolder(parent);
    return done;
}

QByteArray journalText(const QString& stagingName, const QList<SiteJournal::Move>& moves)
{
    QByteArray text = journalHeader + '\n';
    for (const SiteJournal::Move& move : moves) {
        text += (stagingName + QLatin1Char('/') + move.staged).toUtf8() + '\t' + move.target.toUtf8();
        text += move.newFile ? '\t' + newFileMark + '\n' : QByteArray("\n");
    }
    return text + journalEnd + '\n';
}

// The moves of a journal's text; nothing when it is not a whole journal of
// this program or names anything a change may not touch.
std::optional<QList<SiteJournal::Move>> readJournal(const QString& folder, const QByteArray& text)
{
    QList<QByteArray> lines = text.split('\n');
    if (lines.size() < 3 || lines.first() != journalHeader || !lines.last().isEmpty() || lines[lines.size() - 2] != journalEnd)
        return std::nullopt;
    QList<SiteJournal::Move> moves;
    for (qsizetype i = 1; i < lines.size() - 2; ++i) {
        const QList<QByteArray> fields = lines[i].split('\t');
        if (fields.size() != 2 && !(fields.size() == 3 && fields[2] == newFileMark))
            return std::nullopt;
        const SiteJournal::Move move { QString::fromUtf8(fields[0]), QString::fromUtf8(fields[1]), fields.size() == 3 };
        if (!isStagedFile(folder, move.staged) || !isAllowedTarget(move))
            return std::nullopt;
        moves.append(move);
    }
    return moves;
}

// Removes what changes under way leave in one folder.
void removeLeftovers(const QString& folder, bool stagingFolders)
{
    for (const QString& name : lq::folderEntries(folder)) {
        if (isWrittenBeside(name) || (stagingFolders && isStagingName(name))) {
            QString why;
            if (!lq::removeItem(folder + QLatin1Char('/') + name, &why))
                lq::log(QStringLiteral("could not clean up after an interrupted save: ") + why);
        }
    }
}

} // namespace

SiteJournal::SiteJournal(const QString& folder, const QString& stagingPrefix)
    : _folder(folder)
    , _prefix(stagingPrefix)
{
}

SiteJournal::~SiteJournal()
{
    // A committed change whose moves did not all happen keeps its staged
    // files for the next recover, which finishes it.
    if (!_staging.isEmpty() && !(_committed && QFileInfo::exists(_folder + QLatin1Char('/') + journalName)))
        lq::removeItem(_staging);
}

bool SiteJournal::begin(QString* error)
{
    QTemporaryDir staging(_folder + QLatin1Char('/') + _prefix + QStringLiteral("XXXXXX"));
    if (!staging.isValid())
        return fail(error, QStringLiteral("cannot make a staging folder in ") + _folder + QStringLiteral(": ") + staging.errorString());
    staging.setAutoRemove(false);
    _staging = staging.path();
    return true;
}

bool SiteJournal::stageFile(const QString& target, const QByteArray& bytes, QString* error)
{
    const QString staged = QFileInfo(target).fileName();
    if (!lq::writeFileAtomically(_staging + QLatin1Char('/') + staged, bytes, error, { .ownerOnly = true, .durable = false }))
        return false;
    addMove(staged, target);
    return true;
}

void SiteJournal::addMove(const QString& staged, const QString& target)
{
    _moves.append({ staged, target, false });
}

void SiteJournal::addNewFile(const QString& staged, const QString& target)
{
    _moves.append({ staged, target, true });
}

bool SiteJournal::commit(QString* error)
{
    if (_staging.isEmpty())
        return fail(error, QStringLiteral("nothing was staged"));
    const QString stagingName = QFileInfo(_staging).fileName();
    // Whatever would stop a file from going into its place stops the change
    // before anything is replaced.
    for (const Move& move : _moves) {
        if (!isStagedFile(_folder, stagingName + QLatin1Char('/') + move.staged) || !isAllowedTarget(move))
            return fail(error, QStringLiteral("cannot put ") + move.target + QStringLiteral(" in place"));
        if (const QString why = whatStopsTheMove(_folder, move); !why.isEmpty())
            return fail(error, QStringLiteral("cannot put ") + move.target + QStringLiteral(" in place: ") + why);
    }
    if (!lq::syncTree(_staging, error))
        return false;
    const QString journal = _folder + QLatin1Char('/') + journalName;
    if (!lq::writeFileAtomically(journal, journalText(stagingName, _moves), error, { .ownerOnly = true, .durable = true }))
        return false;
    // From here on the change is made: what fails now the next recover finishes.
    _committed = true;
    QList<Move> moves;
    for (const Move& move : _moves)
        moves.append({ stagingName + QLatin1Char('/') + move.staged, move.target, move.newFile });
    if (!play(_folder, moves, error))
        return false;
    ::unlink(QFile::encodeName(journal).constData());
    lq::syncFolder(_folder);
    return true;
}

bool SiteJournal::recover(const QString& folder, QString* error)
{
    const QString journal = folder + QLatin1Char('/') + journalName;
    bool clean = true;
    const QFileInfo journalInfo(journal);
    if (journalInfo.exists() || journalInfo.isSymLink()) {
        QFile file(journal);
        const bool readable = !journalInfo.isSymLink() && journalInfo.isFile() && journalInfo.size() < 1024 * 1024
            && file.open(QIODevice::ReadOnly);
        const auto moves = readable ? readJournal(folder, file.readAll()) : std::nullopt;
        file.close();
        if (moves) {
            lq::log(QStringLiteral("Finishing the save that was interrupted in ") + folder);
            clean = play(folder, *moves, error);
        } else {
            lq::log(QStringLiteral("Ignoring a journal that is not this program's in ") + folder);
        }
        // A journal that could not be played whole stays for the next try.
        if (clean) {
            lq::removeItem(journal);
            lq::syncFolder(folder);
        }
    }
    if (!clean)
        return false;
    removeLeftovers(folder, true);
    for (const char* sub : { "revert", "bitmaps2" }) {
        const QString path = folder + QLatin1Char('/') + QLatin1String(sub);
        if (QFileInfo(path).isDir() && !isLink(path))
            removeLeftovers(path, false);
    }
    return true;
}

bool SiteJournal::isReplaceableTarget(const QString& target)
{
    if (elementFiles.contains(target))
        return true;
    const QStringList parts = target.split(QLatin1Char('/'));
    if (parts.size() != 2 || !isPlainName(parts[1]))
        return false;
    if (parts[0] == QLatin1String("revert"))
        return parts[1].endsWith(QLatin1String(".qvzip"));
    return parts[0] == QLatin1String("bitmaps2");
}

bool SiteJournal::isNewFileTarget(const QString& target)
{
    const QStringList parts = target.split(QLatin1Char('/'));
    if (parts.size() < 2 || !std::all_of(parts.begin(), parts.end(), isPlainName))
        return false;
    return parts[0] == QLatin1String("files") || (parts[0] == QLatin1String("bitmaps2") && parts.size() == 2);
}
