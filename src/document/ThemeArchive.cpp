#include "document/ThemeArchive.h"

#include "model/core/XmlBase.h"
#include "model/files/XmlFile.h"
#include "model/files/XmlFolder.h"
#include "model/theme/XmlTheme.h"
#include "platform/FileHelpers.h"
#include "platform/Log.h"
#include "platform/Zip.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include <fcntl.h>

namespace {

const QString themeFile = QStringLiteral("theme.xmlbase");

// What a theme brings besides its templates.
bool isCarried(const QString& path)
{
    return path.startsWith(QStringLiteral("bitmaps2/")) || path.startsWith(QStringLiteral("files/"));
}

// The private folders of installs, inside the site folder.
const QString stagingPrefix = QStringLiteral(".lumenquill-theme-");

// True when anything, a dangling link included, is at the path.
bool somethingAt(const QString& path)
{
    const QFileInfo entry(path);
    return entry.exists() || entry.isSymLink();
}

// Removes the private folders that installs which were killed left behind
// (one program at a time works on a site).
void removeLeftStaging(const QString& site)
{
    const QStringList left = QDir(site).entryList({stagingPrefix + QLatin1Char('*')}, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    for (const QString& name : left)
        lq::removeItem(site + QLatin1Char('/') + name);
}

// Moves every staged entry below "<staging>/<relative>" whose place in the
// site is free into it, a folder with everything in it at once, and goes
// into the folders the site has already. Each place is checked for links
// again right before its move, and a move never replaces anything. The
// places filled are added to moved.
bool moveIn(const QString& staging, const QString& site, const QString& relative, QStringList& moved, QString& why)
{
    const QString from = relative.isEmpty() ? staging : staging + QLatin1Char('/') + relative;
    for (const QString& name : lq::folderEntries(from)) {
        const QString below = relative.isEmpty() ? name : relative + QLatin1Char('/') + name;
        const QString source = staging + QLatin1Char('/') + below;
        const QString target = site + QLatin1Char('/') + below;
        const QString unsafe = lq::linkUnsafePath(site, target);
        if (!unsafe.isEmpty()) {
            why = QStringLiteral("its ") + below + QStringLiteral(" would be written outside the website: ") + unsafe;
            return false;
        }
        const QFileInfo existing(target);
        if (!somethingAt(target)) {
            if (::renameat2(AT_FDCWD, QFile::encodeName(source).constData(), AT_FDCWD, QFile::encodeName(target).constData(), RENAME_NOREPLACE) != 0) {
                why = QStringLiteral("its ") + below + QStringLiteral(" could not be moved into the website: ") + QString::fromLocal8Bit(std::strerror(errno));
                return false;
            }
            moved.append(target);
        } else if (existing.isDir() && !existing.isSymLink() && QFileInfo(source).isDir()) {
            if (!moveIn(staging, site, below, moved, why))
                return false;
        }
        // A file that came meanwhile stays as it is.
    }
    return true;
}

void collectChecked(XmlBase* node, const QString& folder, QStringList& paths)
{
    for (const XmlBasePtr& child : node->children()) {
        if (auto* subfolder = XmlFolder::cast(child.get())) {
            collectChecked(subfolder, folder + QLatin1Char('/') + subfolder->foldername(), paths);
        } else if (auto* file = XmlFile::cast(child.get())) {
            if (file->check() != 0)
                paths.append(folder + QLatin1Char('/') + file->filename());
        }
    }
}

} // namespace

std::unique_ptr<ThemeArchive> ThemeArchive::unpack(const QString& archive)
{
    std::unique_ptr<ThemeArchive> unpacked(new ThemeArchive);
    if (!unpacked->_folder.isValid()) {
        lq::log(QStringLiteral("no temporary folder to unpack the theme ") + archive);
        return nullptr;
    }
    const std::optional<QStringList> files = lq::unzipInto(archive, unpacked->_folder.path());
    if (!files)
        return nullptr;
    for (const QString& file : *files) {
        if (file == themeFile)
            unpacked->_theme = std::dynamic_pointer_cast<XmlTheme>(XmlBase::createWithFile(unpacked->_folder.filePath(file)));
        else if (isCarried(file) && QFileInfo(unpacked->_folder.filePath(file)).isFile())
            unpacked->_carried.append(file);
    }
    return unpacked;
}

std::optional<QStringList> ThemeArchive::installInto(const QString& siteFolder, QString* error) const
{
    const auto fail = [&](const QString& why) -> std::optional<QStringList> {
        lq::log(QStringLiteral("could not install the theme: ") + why);
        if (error)
            *error = why;
        return std::nullopt;
    };
    const QString site = QDir::cleanPath(siteFolder);
    QStringList kept;
    QStringList wanted;
    for (const QString& file : _carried) {
        const QString target = site + QLatin1Char('/') + file;
        const QString unsafe = lq::linkUnsafePath(site, target);
        if (!unsafe.isEmpty())
            return fail(QStringLiteral("its ") + file + QStringLiteral(" would be written outside the website: ") + unsafe);
        if (somethingAt(target))
            kept.append(file);
        else
            wanted.append(file);
    }
    removeLeftStaging(site);
    if (wanted.isEmpty())
        return kept;

    QTemporaryDir staging(site + QLatin1Char('/') + stagingPrefix + QStringLiteral("XXXXXX"));
    if (!staging.isValid())
        return fail(QStringLiteral("no private folder can be made in ") + site + QStringLiteral(": ") + staging.errorString());
    QString why;
    for (const QString& file : wanted) {
        const QString staged = staging.filePath(file);
        if (!lq::makeFoldersBelow(staging.path(), QFileInfo(staged).path(), &why) || !lq::copyFile(_folder.filePath(file), staged, &why))
            return fail(QStringLiteral("its ") + file + QStringLiteral(" could not be copied: ") + why);
    }
    if (!lq::syncTree(staging.path(), &why))
        return fail(QStringLiteral("its files could not be written: ") + why);
    QStringList moved;
    if (!moveIn(staging.path(), site, QString(), moved, why)) {
        // What was moved in already goes again, newest first.
        for (auto place = moved.rbegin(); place != moved.rend(); ++place)
            lq::removeItem(*place);
        return fail(why);
    }
    return kept;
}

QStringList ThemeArchive::checkedFiles(XmlBase* filesTree)
{
    QStringList paths;
    if (filesTree)
        collectChecked(filesTree, QStringLiteral("files"), paths);
    return paths;
}

bool ThemeArchive::write(const QString& archive, const QString& siteFolder, XmlBase* filesTree)
{
    // Built beside its place and moved there whole, so that a failure never
    // leaves half an archive, nor adds to an archive that was there before.
    const QString target = QFileInfo(archive).absoluteFilePath();
    const QString building = target + QStringLiteral(".part");
    QFile::remove(building);
    bool done = lq::zipAdd(building, siteFolder, themeFile, false);
    if (done && QFileInfo(siteFolder + QStringLiteral("/bitmaps2")).isDir())
        done = lq::zipAdd(building, siteFolder, QStringLiteral("bitmaps2"), true);
    for (const QString& file : checkedFiles(filesTree)) {
        if (!done)
            break;
        done = lq::zipAdd(building, siteFolder, file, false);
    }
    if (done) {
        QFile::remove(target);
        done = QFile::rename(building, target);
    }
    if (!done) {
        QFile::remove(building);
        lq::log(QStringLiteral("could not export the theme into ") + archive);
    }
    return done;
}
