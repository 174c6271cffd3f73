#pragma once

#include <QString>
#include <QStringList>

class MyDocument;
class ThemeArchive;

// Brings the theme of an archive into a saved site, in one change of the
// document folder: its templates (added after the site's own, or in place
// of the site's theme) with its pictures and files. It takes the document.
class ThemeImport {
public:
    explicit ThemeImport(MyDocument& document);

    // Adds the archive's templates after the site's own, or, with replace,
    // puts its theme in place of the site's with every page on the new first
    // template; its pictures and files come in the same save, with the
    // comment. Killed at any moment, the site opens with the new templates
    // and their pictures, or with neither. The theme's files the site has
    // already stay as they are and are named in `kept`. When anything fails,
    // the document and its folder are as they were and the document's
    // lastError tells why.
    bool importTheme(const ThemeArchive& archive, bool replace, const QString& comment, QStringList* kept = nullptr);

private:
    MyDocument& _document;
};
