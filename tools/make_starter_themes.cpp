// Makes the starter archives of the application's resources from the XML
// sources in resources/starter, with the program's own element reader,
// writer and zip code:
//   styles/default.qvzip       the site and theme a new site is made from;
//   styles/lumenquill200.qvzip the theme library: its folder "Lumenquill"
//                              holding one theme archive per folder of
//                              starter/themes, each with its icon and
//                              comment (the Themes tab shows the themes of
//                              a folder, never any at the library's top).
//
// Usage: make_starter_themes <resources/starter> <output styles folder>
#include "document/DocumentElements.h"
#include "application/MyApplication.h"
#include "model/core/ElementFiles.h"
#include "model/core/XmlBase.h"
#include "model/site/XmlSite.h"
#include "theme/XmlTheme.h"
#include "platform/Zip.h"
#include "templates/XmlStyleSheet.h"

#include <QColor>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>

#include <cstdio>

namespace {

bool fail(const QString& why)
{
    std::fprintf(stderr, "make_starter_themes: %s\n", qPrintable(why));
    return false;
}

// Reads an element file and writes it again with the program's writer.
bool rewrite(const QString& source, const QString& target)
{
    const XmlBasePtr tree = lq::createWithFile(source);
    if (!tree)
        return fail(QStringLiteral("cannot read ") + source);
    if (!lq::saveToFile(*tree, target))
        return fail(QStringLiteral("cannot write ") + target);
    return true;
}

QColor colourOf(const lq::Colour& colour)
{
    return QColor::fromRgbF(colour.r, colour.g, colour.b);
}

// A small picture of the theme's first template: the page, its masthead,
// menu and a few lines of text, in the template's own colours.
QImage iconFor(const QString& themeFile)
{
    QImage icon(96, 72, QImage::Format_RGB32);
    icon.fill(Qt::white);
    const XmlBasePtr tree = lq::createWithFile(themeFile);
    XmlStyleSheet* sheet = tree ? XmlStyleSheet::cast(tree->firstChild().get()) : nullptr;
    if (!sheet)
        return icon;
    QPainter painter(&icon);
    painter.fillRect(icon.rect(), colourOf(sheet->bkgndColor()));
    auto band = [&](const char* name, int y, int height) {
        if (auto* box = XmlCSSBackground::cast(sheet->getElementWithName(QString::fromLatin1(name)).get()))
            painter.fillRect(0, y, 96, height, colourOf(box->bkgndColor()));
    };
    band("Masthead", 0, 16);
    band("Navigation", 16, 6);
    if (sheet->getElementWithName(QStringLiteral("Content"))) {
        const QColor line = colourOf(sheet->bkgndColor()).darker(140);
        for (int y = 30; y < 66; y += 7)
            painter.fillRect(8, y, y % 2 ? 60 : 76, 3, line);
    }
    painter.setPen(QColor(0, 0, 0, 60));
    painter.drawRect(icon.rect().adjusted(0, 0, -1, -1));
    return icon;
}

bool zipFiles(const QString& archive, const QString& folder, const QStringList& names)
{
    for (const QString& name : names)
        if (!lq::zipAdd(archive, folder, name, false))
            return fail(QStringLiteral("cannot add ") + name + QStringLiteral(" to ") + archive);
    return true;
}

bool makeDefault(const QString& sources, const QString& staging, const QString& archive)
{
    const QString folder = staging + QStringLiteral("/default");
    QDir().mkpath(folder);
    if (!rewrite(sources + QStringLiteral("/default-site.xml"), folder + QStringLiteral("/site.xmlbase"))
        || !rewrite(sources + QStringLiteral("/default-theme.xml"), folder + QStringLiteral("/theme.xmlbase")))
        return false;
    return zipFiles(archive, folder, { QStringLiteral("site.xmlbase"), QStringLiteral("theme.xmlbase") });
}

bool makeLibrary(const QString& sources, const QString& staging, const QString& archive)
{
    const QString library = staging + QStringLiteral("/library");
    const QString libraryFolder = QStringLiteral("Lumenquill");
    QDir().mkpath(library + QLatin1Char('/') + libraryFolder);
    const QDir themes(sources + QStringLiteral("/themes"));
    const QStringList names = themes.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name);
    if (names.isEmpty())
        return fail(QStringLiteral("no themes in ") + themes.path());
    QStringList members;
    for (const QString& name : names) {
        const QString folder = staging + QStringLiteral("/theme-") + name;
        QDir().mkpath(folder);
        const QString themeFile = folder + QStringLiteral("/theme.xmlbase");
        if (!rewrite(themes.filePath(name + QStringLiteral("/theme.xml")), themeFile))
            return false;
        const QString member = libraryFolder + QLatin1Char('/') + name + QStringLiteral(".qvzip");
        const QString themeArchive = library + QLatin1Char('/') + member;
        if (!zipFiles(themeArchive, folder, { QStringLiteral("theme.xmlbase") }))
            return false;
        if (!lq::setZipIcon(themeArchive, iconFor(themeFile)))
            return fail(QStringLiteral("cannot set the icon of ") + themeArchive);
        QFile commentFile(themes.filePath(name + QStringLiteral("/comment.txt")));
        QString comment;
        if (commentFile.open(QIODevice::ReadOnly))
            comment = QString::fromUtf8(commentFile.readAll()).trimmed();
        if (!lq::setZipComment(themeArchive, comment))
            return fail(QStringLiteral("cannot set the comment of ") + themeArchive);
        members.append(member);
    }
    return zipFiles(archive, library, members);
}

} // namespace

int main(int argc, char** argv)
{
    QGuiApplication application(argc, argv);
    MyApplication model;
    lq::registerDocumentElements();
    if (argc != 3) {
        std::fprintf(stderr, "usage: make_starter_themes <starter sources> <output folder>\n");
        return 2;
    }
    const QString sources = QFileInfo(QString::fromLocal8Bit(argv[1])).absoluteFilePath();
    const QString output = QFileInfo(QString::fromLocal8Bit(argv[2])).absoluteFilePath();
    QTemporaryDir staging;
    if (!staging.isValid() || !QDir().mkpath(output))
        return fail(QStringLiteral("no folder to work in")), 1;

    // zip adds to an archive that exists: each is made anew beside its target.
    const QString defaultArchive = output + QStringLiteral("/default.qvzip");
    const QString libraryArchive = output + QStringLiteral("/lumenquill200.qvzip");
    const QString defaultNew = staging.path() + QStringLiteral("/default.qvzip");
    const QString libraryNew = staging.path() + QStringLiteral("/lumenquill200.qvzip");
    if (!makeDefault(sources, staging.path(), defaultNew) || !makeLibrary(sources, staging.path(), libraryNew))
        return 1;
    for (const auto& [made, target] : { std::pair { defaultNew, defaultArchive }, std::pair { libraryNew, libraryArchive } }) {
        QFile::remove(target);
        if (!QFile::copy(made, target))
            return fail(QStringLiteral("cannot write ") + target), 1;
    }
    return 0;
}
