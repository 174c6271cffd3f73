#include "document/SiteJournal.h"

#include "platform/ConfinedFolder.h"
#include "platform/Log.h"

#include <QRegularExpression>

#include <algorithm>
#include <cerrno>
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

using lq::ConfinedFolder;

// A staged file the journal may take: below a staging folder of the
// document folder, through no link, a plain file itself or gone (moved by
// an earlier play of the same journal).
bool isStagedFile(const ConfinedFolder& folder, const QString& staged)
{
    const QStringList parts = staged.split(QLatin1Char('/'));
    if (parts.size() < 2 || !isStagingName(parts.first()) || !std::all_of(parts.begin(), parts.end(), isPlainName))
        return false;
    const ConfinedFolder::Kind kind = folder.status(staged).kind;
    return kind == ConfinedFolder::Kind::File || kind == ConfinedFolder::Kind::Missing;
}

bool isAllowedTarget(const SiteJournal::Move& move)
{
    return move.newFile ? SiteJournal::isNewFileTarget(move.target) : SiteJournal::isReplaceableTarget(move.target);
}

QString parentOf(const QString& name)
{
    const qsizetype slash = name.lastIndexOf(QLatin1Char('/'));
    return slash < 0 ? QString() : name.left(slash);
}

// Why nothing may be moved to the target, or "": a folder is in the way,
// or its folder is missing or a link (nothing goes out of the document
// folder). A new file may go where folders are still missing, made below
// the document folder when it moves; no link may be on its way.
QString whatStopsTheMove(const ConfinedFolder& folder, const SiteJournal::Move& move)
{
    const QString parent = parentOf(move.target);
    QString why;
    if (move.newFile) {
        // The folders on the way that are there must be folders.
        QString on;
        for (const QString& part : parent.split(QLatin1Char('/'), Qt::SkipEmptyParts)) {
            on = on.isEmpty() ? part : on + QLatin1Char('/') + part;
            const ConfinedFolder::Status status = folder.status(on, &why);
            if (status.kind == ConfinedFolder::Kind::Missing)
                return QString();
            if (status.kind == ConfinedFolder::Kind::Link)
                return folder.pathOf(on) + QStringLiteral(" is a link, which is never followed");
            if (status.kind != ConfinedFolder::Kind::Folder)
                return status.kind == ConfinedFolder::Kind::Refused ? why : folder.pathOf(on) + QStringLiteral(" is no folder");
        }
    }
    if (folder.status(move.target).kind == ConfinedFolder::Kind::Folder)
        return QStringLiteral("a folder is in the way");
    if (!parent.isEmpty() && folder.status(parent).kind != ConfinedFolder::Kind::Folder)
        return QStringLiteral("its folder is missing or a link");
    if (!folder.isWritable(parent))
        return QStringLiteral("its folder cannot be written: ") + QString::fromLocal8Bit(std::strerror(errno));
    return QString();
}

// Puts one staged file in the place of its target. A staged file already
// gone was moved before (a journal played a second time). A new file never
// replaces what came to its place meanwhile: that stays. The rename itself
// takes both places anew by descriptors: a folder swapped for a link since
// the check stops it.
bool moveIntoPlace(ConfinedFolder& folder, const SiteJournal::Move& move, QString* error)
{
    const auto failed = [&](const QString& why) { return fail(error, QStringLiteral("cannot put ") + move.target + QStringLiteral(" in place: ") + why); };
    const ConfinedFolder::Kind staged = folder.status(move.staged).kind;
    if (staged == ConfinedFolder::Kind::Missing)
        return true;
    if (staged != ConfinedFolder::Kind::File)
        return failed(QStringLiteral("what was staged is no file"));
    if (const QString why = whatStopsTheMove(folder, move); !why.isEmpty())
        return failed(why);
    QString why;
    if (!move.newFile) {
        if (!folder.rename(move.staged, move.target, ConfinedFolder::Replace::Always, &why))
            return failed(why);
        return true;
    }
    if (!folder.makeFolder(parentOf(move.target), &why))
        return failed(why);
    if (!folder.rename(move.staged, move.target, ConfinedFolder::Replace::Never, &why) && folder.status(move.target).kind == ConfinedFolder::Kind::Missing)
        return failed(why);
    return true;
}

// Moves every file into place, then forces the folders that changed onto
// the disk (for a new file, every folder up to the document folder: some
// may have been made for it).
bool play(ConfinedFolder& folder, const QList<SiteJournal::Move>& moves, QString* error)
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
        QString parent = parentOf(move.target);
        while (!touched.contains(parent)) {
            touched.append(parent);
            if (!move.newFile || parent.isEmpty())
                break;
            parent = parentOf(parent);
        }
    }
    for (const QString& parent : touched)
        folder.syncFolder(parent);
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
std::optional<QList<SiteJournal::Move>> readJournal(const ConfinedFolder& folder, const QByteArray& text)
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
void removeLeftovers(ConfinedFolder& folder, const QString& name, bool stagingFolders)
{
    for (const QString& entry : folder.names(name)) {
        if (isWrittenBeside(entry) || (stagingFolders && isStagingName(entry))) {
            QString why;
            if (!folder.remove(name.isEmpty() ? entry : name + QLatin1Char('/') + entry, &why))
                lq::log(QStringLiteral("could not clean up after an interrupted save: ") + why);
        }
    }
}

} // namespace

SiteJournal::SiteJournal(ConfinedFolder& folder, const QString& stagingPrefix)
    : _folder(folder)
    , _prefix(stagingPrefix)
{
}

SiteJournal::~SiteJournal()
{
    // A committed change whose moves did not all happen keeps its staged
    // files for the next recover, which finishes it.
    if (!_staging.isEmpty() && !(_committed && _folder.exists(journalName)))
        _folder.remove(_staging);
}

bool SiteJournal::begin(QString* error)
{
    QString why;
    const std::optional<QString> staging = _folder.makeTemporaryFolder(_prefix, &why);
    if (!staging)
        return fail(error, QStringLiteral("cannot make a staging folder in ") + _folder.path() + QStringLiteral(": ") + why);
    _staging = *staging;
    return true;
}

bool SiteJournal::stageFile(const QString& target, const QByteArray& bytes, QString* error)
{
    const QString name = target.section(QLatin1Char('/'), -1);
    if (!_folder.writeFileAtomically(staged(name), bytes, error, { .ownerOnly = true, .durable = false }))
        return false;
    addMove(name, target);
    return true;
}

bool SiteJournal::stageCopy(const QString& source, const QString& name, QString* error)
{
    return _folder.makeFolder(parentOf(staged(name)), error) && _folder.copyIn(source, staged(name), error);
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
    // Whatever would stop a file from going into its place stops the change
    // before anything is replaced.
    for (const Move& move : _moves) {
        if (_folder.status(staged(move.staged)).kind != ConfinedFolder::Kind::File || !isStagedFile(_folder, staged(move.staged))
            || !isAllowedTarget(move))
            return fail(error, QStringLiteral("cannot put ") + move.target + QStringLiteral(" in place"));
        if (const QString why = whatStopsTheMove(_folder, move); !why.isEmpty())
            return fail(error, QStringLiteral("cannot put ") + move.target + QStringLiteral(" in place: ") + why);
    }
    if (!_folder.sync(_staging, error))
        return false;
    if (!_folder.writeFileAtomically(journalName, journalText(_staging, _moves), error, { .ownerOnly = true, .durable = true }))
        return false;
    // From here on the change is made: what fails now the next recover finishes.
    _committed = true;
    QList<Move> moves;
    for (const Move& move : _moves)
        moves.append({ staged(move.staged), move.target, move.newFile });
    if (!play(_folder, moves, error))
        return false;
    _folder.remove(journalName);
    _folder.syncFolder();
    return true;
}

bool SiteJournal::recover(ConfinedFolder& folder, QString* error)
{
    bool clean = true;
    const ConfinedFolder::Status journal = folder.status(journalName);
    if (journal.exists() || journal.kind == ConfinedFolder::Kind::Link) {
        // Read without following a link and without waiting on a pipe.
        const std::optional<QByteArray> text = folder.readFile(journalName, 1024 * 1024);
        const auto moves = text ? readJournal(folder, *text) : std::nullopt;
        if (moves) {
            lq::log(QStringLiteral("Finishing the save that was interrupted in ") + folder.path());
            clean = play(folder, *moves, error);
        } else {
            lq::log(QStringLiteral("Ignoring a journal that is not this program's in ") + folder.path());
        }
        // A journal that could not be played whole stays for the next try.
        if (clean) {
            folder.remove(journalName);
            folder.syncFolder();
        }
    }
    if (!clean)
        return false;
    removeLeftovers(folder, QString(), true);
    for (const char* sub : { "revert", "bitmaps2" }) {
        // A folder that is a link is never listed, so nothing through it goes.
        if (folder.isFolder(QLatin1String(sub)))
            removeLeftovers(folder, QLatin1String(sub), false);
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
