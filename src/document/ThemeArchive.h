#pragma once

#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <memory>
#include <optional>

class DocumentBase;
class SiteJournal;
namespace lq {
class ConfinedFolder;
}
class XmlBase;
class XmlTheme;

// A theme archive (".qvzip") on its way into a site, and the making of one.
//
// Theme archives are passed between people, so one is never unpacked into a
// site folder: it is unpacked into a private temporary folder, and only what
// a theme consists of is taken from there: its templates ("theme.xmlbase" at
// the top), their bitmaps ("bitmaps2/...") and the site files it carries
// ("files/..."). Whatever else the archive holds ("site.xmlbase",
// "location.xmlbase", pictures, scripts) is left behind with the folder. A
// file the site already has is never replaced by one from an archive.
class ThemeArchive {
public:
    // Unpacks the archive into a private folder; nothing when the archive
    // cannot be read or is refused (see lq::unzipInto).
    static std::unique_ptr<ThemeArchive> unpack(const QString& archive);

    // A theme file of the first format (".lqtm") made into a theme as an
    // archive brings one: its pictures and its templates, converted, are
    // written into a private folder and taken from there. The document
    // lends the conversion its settings. Nothing when the file cannot be
    // read or converted.
    static std::unique_ptr<ThemeArchive> convertLegacy(const QString& file, DocumentBase* document);

    // The theme read from the archive's "theme.xmlbase", or none when it has
    // no readable theme there.
    const std::shared_ptr<XmlTheme>& theme() const { return _theme; }

    // The archive's bitmaps and files, as paths below the site folder
    // ("bitmaps2/ab12.png", "files/pics/a.png"), in the archive's order.
    const QStringList& carriedFiles() const { return _carried; }

    // Installs the carried bitmaps and files into the site folder, whole or
    // not at all, in one change of the folder (SiteJournal): killed at any
    // moment, the site opens with none of them or with all. A file already
    // there stays as it is; the answer names the ones kept so. Nothing is
    // written through a link in the site folder. Nothing when the install
    // failed, with the reason in `error`; the site folder is then as it was.
    std::optional<QStringList> installInto(lq::ConfinedFolder& site, QString* error = nullptr) const;
    // The same as part of a larger change (a save that brings the theme's
    // templates): copies the bitmaps and files the site has not yet into the
    // change's staging folder, below `below`, each to come as a new file.
    // The answer names the files kept; nothing, with the reason, when a
    // place lies through a link or a copy failed.
    std::optional<QStringList> stageInto(SiteJournal& change, const QString& below, QString* error = nullptr) const;

    // Writes a theme archive from the saved site folder: "theme.xmlbase",
    // the folder "bitmaps2" and the site files whose check is set in the
    // files tree, each under its path below the site folder
    // ("files/pics/a.png"). They are copied out through the site's gateway
    // into a private folder and packed there (links below "bitmaps2" left
    // out). "bitmaps2" or a ticked file that is a link, or lies below one,
    // fails the export: the theme would go without it. An archive already
    // at the path is replaced only once the new one is complete. Answers
    // whether every entry was written; `error` tells why not.
    static bool write(const QString& archive, const lq::ConfinedFolder& site, XmlBase* filesTree, QString* error = nullptr);

    // The paths below the site folder of the files of the tree whose check is
    // set, in tree order ("files/pics/a.png").
    static QStringList checkedFiles(XmlBase* filesTree);

private:
    ThemeArchive() = default;

    QTemporaryDir _folder;
    std::shared_ptr<XmlTheme> _theme;
    QStringList _carried;
};
