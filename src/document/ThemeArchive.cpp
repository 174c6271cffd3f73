#include "document/ThemeArchive.h"

#include "document/SiteJournal.h"

#include "model/core/ElementFiles.h"
#include "model/core/XmlBase.h"
#include "model/files/XmlFile.h"
#include "model/files/XmlFolder.h"
#include "theme/XmlLegacyTheme.h"
#include "theme/XmlTheme.h"
#include "platform/ConfinedFolder.h"
#include "platform/FileHelpers.h"
#include "platform/Log.h"
#include "platform/Zip.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>


namespace {

const QString themeFile = QStringLiteral("theme.xmlbase");

// What a theme brings besides its templates.
bool isCarried(const QString& path)
{
    return path.startsWith(QStringLiteral("bitmaps2/")) || path.startsWith(QStringLiteral("files/"));
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
            unpacked->_theme = std::dynamic_pointer_cast<XmlTheme>(lq::createWithFile(unpacked->_folder.filePath(file)));
        else if (isCarried(file) && QFileInfo(unpacked->_folder.filePath(file)).isFile())
            unpacked->_carried.append(file);
    }
    return unpacked;
}

std::unique_ptr<ThemeArchive> ThemeArchive::convertLegacy(const QString& file, DocumentBase* document)
{
    auto legacy = std::dynamic_pointer_cast<XmlLegacyTheme>(lq::createWithFile(file));
    std::unique_ptr<ThemeArchive> converted(new ThemeArchive);
    if (!legacy || !converted->_folder.isValid())
        return nullptr;
    const QString folder = converted->_folder.path();
    legacy->unpackToDirectory(folder);
    legacy->setRootDir(folder);
    legacy->setDocument(document);
    const QString written = converted->_folder.filePath(themeFile);
    const bool saved = lq::saveToFile(*legacy, written);
    legacy->setDocument(nullptr);
    if (!saved)
        return nullptr;
    converted->_theme = std::dynamic_pointer_cast<XmlTheme>(lq::createWithFile(written));
    if (!converted->_theme)
        return nullptr;
    for (const QString& path : lq::folderEntries(folder, true)) {
        const QFileInfo entry(converted->_folder.filePath(path));
        if (isCarried(path) && entry.isFile() && !entry.isSymLink())
            converted->_carried.append(path);
    }
    return converted;
}

std::optional<QStringList> ThemeArchive::installInto(lq::ConfinedFolder& site, QString* error) const
{
    const auto fail = [&](const QString& why) -> std::optional<QStringList> {
        lq::log(QStringLiteral("could not install the theme: ") + why);
        if (error)
            *error = why;
        return std::nullopt;
    };
    QString why;
    // What a killed change left is finished or removed first.
    if (!SiteJournal::recover(site, &why))
        return fail(why);
    SiteJournal change(site, SiteJournal::themeStagingPrefix);
    if (!change.begin(&why))
        return fail(why);
    const std::optional<QStringList> kept = stageInto(change, QString(), &why);
    if (!kept)
        return fail(why);
    if (!change.commit(&why))
        return fail(QStringLiteral("its files could not be written: ") + why);
    return kept;
}

std::optional<QStringList> ThemeArchive::stageInto(SiteJournal& change, const QString& below, QString* error) const
{
    const auto fail = [&](const QString& why) -> std::optional<QStringList> {
        if (error)
            *error = why;
        return std::nullopt;
    };
    const lq::ConfinedFolder& site = change.folder();
    QStringList kept;
    QStringList wanted;
    for (const QString& file : _carried) {
        QString unsafe;
        const lq::ConfinedFolder::Kind there = site.status(file, &unsafe).kind;
        if (there == lq::ConfinedFolder::Kind::Refused)
            return fail(QStringLiteral("its ") + file + QStringLiteral(" would be written outside the website: ") + unsafe);
        if (there == lq::ConfinedFolder::Kind::Missing)
            wanted.append(file);
        else
            kept.append(file);
    }
    QString why;
    for (const QString& file : wanted) {
        const QString staged = below.isEmpty() ? file : below + QLatin1Char('/') + file;
        if (!change.stageCopy(_folder.filePath(file), staged, &why))
            return fail(QStringLiteral("its ") + file + QStringLiteral(" could not be copied: ") + why);
        change.addNewFile(staged, file);
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

bool ThemeArchive::write(const QString& archive, const lq::ConfinedFolder& site, XmlBase* filesTree, QString* error)
{
    // What goes in is copied out of the site into a private folder and
    // packed from there.
    const QTemporaryDir packing(QDir::tempPath() + QStringLiteral("/lumenquill-theme-export-XXXXXX"));
    QString why;
    bool done = packing.isValid() && site.copyOut(themeFile, packing.filePath(themeFile), &why);
    QStringList members { themeFile };
    // The theme's pictures and the ticked files go whole or the export
    // fails: one that is a link (or lies below one) is never followed, and
    // the theme is not written without it.
    const auto reachable = [&](const QString& name) {
        QString refusal;
        const lq::ConfinedFolder::Status status = site.status(name, &refusal);
        if (status.kind == lq::ConfinedFolder::Kind::Link)
            why = QStringLiteral("cannot pack ") + site.pathOf(name) + QStringLiteral(": ") + site.pathOf(name)
                + QStringLiteral(" is a link, which is never followed");
        else if (status.kind == lq::ConfinedFolder::Kind::Refused)
            why = QStringLiteral("cannot pack ") + site.pathOf(name) + QStringLiteral(": ") + refusal;
        else
            return true;
        return false;
    };
    if (done && (done = reachable(QStringLiteral("bitmaps2"))) && site.isFolder(QStringLiteral("bitmaps2"))) {
        done = site.copyOut(QStringLiteral("bitmaps2"), packing.filePath(QStringLiteral("bitmaps2")), &why);
        members.append(QStringLiteral("bitmaps2"));
    }
    for (const QString& file : checkedFiles(filesTree)) {
        if (!done)
            break;
        done = reachable(file) && QDir().mkpath(QFileInfo(packing.filePath(file)).path())
            && site.copyOut(file, packing.filePath(file), &why);
        members.append(file);
    }
    // Built beside its place and moved there whole, so that a failure never
    // leaves half an archive, nor adds to an archive that was there before.
    // The place is the user's choice, outside the site.
    const QString target = QFileInfo(archive).absoluteFilePath();
    const QString building = target + QStringLiteral(".part");
    QFile::remove(building);
    for (const QString& member : members) {
        if (!done)
            break;
        done = lq::zipAdd(building, packing.path(), member, member == QStringLiteral("bitmaps2"));
    }
    if (done) {
        QFile::remove(target);
        done = QFile::rename(building, target);
    }
    if (!done) {
        QFile::remove(building);
        lq::log(QStringLiteral("could not export the theme into ") + archive + (why.isEmpty() ? QString() : QStringLiteral(": ") + why));
        if (error)
            *error = why.isEmpty() ? QStringLiteral("writing ") + archive + QStringLiteral(" failed") : why;
    }
    return done;
}
