// Reads a generated document file of about 20 MB (pages holding photos, each
// with attributes and content) and compares the speed with xmllint's.
//
// Each round runs two whole processes on the same file: this program in its
// reading mode (start, read the file, decode and parse it into the element
// tree, free the tree, exit) and "xmllint --noout". The best of the rounds of
// each is printed with the ratio of the throughputs. Then, in this process,
// the file is read a few times more for the time of the reading alone, and a
// read-and-write round trip is checked: writing the tree read from the
// written text gives the same bytes again.
//
// Then the same with a real site document: the starter site with albums of
// photos (5,000 by default), saved by the site document itself; opening it
// reads the site and the theme files.
//
//     lumenquill_bench_xml [megabytes] [rounds] [photos]
//     lumenquill_bench_xml --read FILE...       (the reading mode)
//     lumenquill_bench_xml --write FOLDER [megabytes] [photos]
//
// The writing mode leaves the two documents in the folder ("document.xml",
// and the site document "Garden.lqxl") for a profiler to watch the reading
// mode read them:
//
//     valgrind --tool=callgrind lumenquill_bench_xml --read FOLDER/document.xml

#include "BenchSupport.h"

#include "document/MyDocument.h"
#include "document/DocumentElements.h"
#include "application/MyApplication.h"
#include "model/core/ElementFiles.h"
#include "model/core/XmlBase.h"
#include "model/site/XmlAlbum.h"
#include "model/site/XmlHomePage.h"
#include "model/site/XmlSite.h"
#include "theme/XmlTheme.h"
#include "templates/XmlStyleSheet.h"

#include <QCryptographicHash>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <optional>
#include <vector>

namespace {

// A digest tree text: folders ("QZD") of files ("QZF") with names and
// digests, plus page-like elements carrying a content block, until the text
// reaches the wanted size. It is well-formed XML, so that xmllint reads it
// without complaint.
QString makeDocument(qsizetype wantedCharacters)
{
    QString xml;
    xml.reserve(wantedCharacters + 4096);
    xml += QStringLiteral("<QZD name=\"homepage\">");
    int page = 0;
    while (xml.size() < wantedCharacters) {
        xml += QStringLiteral(" <QZD name=\"Page %1 &amp; friends \u00E9t\u00E9\">").arg(page);
        for (int photo = 0; photo < 40; ++photo) {
            xml += QStringLiteral("  <QZF name=\"image%1-%2.jpg\" md5=\"%3\"/>\n")
                       .arg(page)
                       .arg(photo)
                       .arg(QStringLiteral("0123456789abcdef0123456789abcdef"));
        }
        // An element that nobody knows, with content, is read and dropped.
        xml += QStringLiteral("  <caption name=\"c%1\"><!-- x --><![CDATA[").arg(page);
        for (int line = 0; line < 20; ++line)
            xml += QStringLiteral("<p>Some caption text for the photo, line %1, with <b>markup</b> &amp; more.</p>\n").arg(line);
        xml += QStringLiteral("]]><!-- x --></caption>\n");
        xml += QStringLiteral(" </QZD>\n");
        ++page;
    }
    xml += QStringLiteral("</QZD>\n");
    return xml;
}

int countElements(const XmlBase& element)
{
    int count = 1;
    for (const XmlBasePtr& child : element.children())
        count += countElements(*child);
    return count;
}

// The reading mode: the whole work of opening the document files.
int readOnly(const QStringList& paths)
{
    MyApplication app;
    lq::registerDocumentElements();
    for (const QString& path : paths)
        if (!lq::createWithFile(path))
            return 1;
    return 0;
}

// A site document of the starter site with albums of photos: ten album
// pages with one imported photo each are saved by the document, then each
// photo element of the saved file is repeated until the site holds the
// number of photos asked for. Answers the site and theme files.
QStringList makeSiteDocument(const QString& folder, int photos)
{
    MyDocument document;
    if (!document.newDocument(folder))
        return {};
    XmlStyleSheet* albumTemplate = nullptr;
    for (const XmlBasePtr& child : document.theme()->children())
        if (auto* sheet = XmlStyleSheet::cast(child.get()); sheet && sheet->templateSeqNum() == 1)
            albumTemplate = sheet;
    const QString picture = folder + QStringLiteral("/../photo.jpg");
    QImage image(640, 480, QImage::Format_RGB32);
    image.fill(QColor(90, 140, 60));
    image.save(picture, "JPG", 85);
    constexpr int pages = 10;
    for (int p = 0; p < pages; ++p) {
        auto page = XmlAlbum::create();
        document.site()->homepage()->addChild(page);
        page->newDocument();
        page->setName(QStringLiteral("Album ") + QString::number(p));
        page->setTemplate(albumTemplate);
        page->importPhotoIndexCaption(picture, -1, QStringLiteral("A photo of the garden & the roses"));
    }
    if (!document.saveFileWithComment(folder, QString()))
        return {};
    const QString site = folder + QStringLiteral("/site.xmlbase");
    QFile file(site);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QString text = QString::fromUtf8(file.readAll());
    file.close();
    static const QRegularExpression photo(QStringLiteral("<QZphoto\\b.*?</QZphoto>"), QRegularExpression::DotMatchesEverythingOption);
    QString grown;
    qsizetype from = 0;
    for (QRegularExpressionMatchIterator it = photo.globalMatch(text); it.hasNext();) {
        const QRegularExpressionMatch match = it.next();
        grown += QStringView(text).mid(from, match.capturedStart() - from);
        for (int i = 0; i < photos / pages; ++i)
            grown += match.captured();
        from = match.capturedEnd();
    }
    grown += QStringView(text).mid(from);
    if (!file.open(QIODevice::WriteOnly) || file.write(grown.toUtf8()) < 0)
        return {};
    return { site, folder + QStringLiteral("/theme.xmlbase") };
}

// The wall time of one run of the program, or a negative number when it failed.
double processSeconds(const QString& program, const QStringList& arguments);

// Median of the rounds of whole processes, ours reading the files and xmllint
// checking them, alternately; prints both and the ratio of the throughputs.
// Answers false when our reading failed.
bool compareWithXmllint(const QStringList& paths, int rounds)
{
    double megabytes = 0;
    for (const QString& path : paths)
        megabytes += static_cast<double>(QFileInfo(path).size()) / (1024.0 * 1024.0);
    const QString xmllint = QStandardPaths::findExecutable(QStringLiteral("xmllint"));
    std::vector<double> oursRounds;
    std::vector<double> referenceRounds;
    for (int round = 1; round <= rounds; ++round) {
        const double mine = processSeconds(QCoreApplication::applicationFilePath(), QStringList { QStringLiteral("--read") } + paths);
        if (mine < 0) {
            std::printf("the reading process failed\n");
            return false;
        }
        oursRounds.push_back(mine);
        if (!xmllint.isEmpty()) {
            const double theirs = processSeconds(xmllint, QStringList { QStringLiteral("--noout") } + paths);
            if (theirs >= 0)
                referenceRounds.push_back(theirs);
        }
    }
    const double ours = bench::median(oursRounds);
    const double reference = referenceRounds.empty() ? std::numeric_limits<double>::max() : bench::median(referenceRounds);
    std::printf("whole process, median of %d: ours %.3f s (%.1f MB/s)", rounds, ours, megabytes / ours);
    if (reference < std::numeric_limits<double>::max()) {
        std::printf(", xmllint --noout %.3f s (%.1f MB/s); our throughput is %.2f x xmllint's\n", reference,
            megabytes / reference, reference / ours);
    } else {
        std::printf(", xmllint not found\n");
    }
    return true;
}

// Writes the digest tree text to the path as UTF-8; answers the bytes written, or nothing.
std::optional<QByteArray> writeDocument(const QString& path, double megabytes)
{
    const QByteArray bytes = makeDocument(static_cast<qsizetype>(megabytes * 1024 * 1024)).toUtf8();
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) {
        std::printf("cannot write %s\n", qPrintable(path));
        return std::nullopt;
    }
    return bytes;
}

double processSeconds(const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.setStandardOutputFile(QProcess::nullDevice());
    process.setStandardErrorFile(QProcess::nullDevice());
    QElapsedTimer timer;
    timer.start();
    process.start(program, arguments);
    if (!process.waitForFinished(-1) || process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
        return -1;
    return static_cast<double>(timer.nsecsElapsed()) / 1e9;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc > 2 && std::strcmp(argv[1], "--read") == 0) {
        QCoreApplication qtApp(argc, argv);
        QStringList paths;
        for (int i = 2; i < argc; ++i)
            paths << QString::fromLocal8Bit(argv[i]);
        return readOnly(paths);
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication qtApp(argc, argv);

    MyApplication app;

    lq::registerDocumentElements();
    if (argc > 2 && std::strcmp(argv[1], "--write") == 0) {
        const QString folder = QString::fromLocal8Bit(argv[2]);
        const double megabytes = argc > 3 ? std::atof(argv[3]) : 20.0;
        const int photos = argc > 4 ? std::max(10, std::atoi(argv[4])) : 5000;
        if (!QDir().mkpath(folder) || !writeDocument(folder + QStringLiteral("/document.xml"), megabytes))
            return 1;
        const QStringList siteFiles = makeSiteDocument(folder + QStringLiteral("/Garden.lqxl"), photos);
        for (const QString& file : siteFiles)
            std::printf("%s\n", qPrintable(file));
        return siteFiles.isEmpty() ? 1 : 0;
    }
    const double megabytes = argc > 1 ? std::atof(argv[1]) : 20.0;
    const int rounds = argc > 2 ? std::max(1, std::atoi(argv[2])) : 3;
    const int photos = argc > 3 ? std::max(10, std::atoi(argv[3])) : 5000;

    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("document.xml"));
    const std::optional<QByteArray> bytes = writeDocument(path, megabytes);
    if (!bytes)
        return 1;
    const QString text = QString::fromUtf8(*bytes);
    const double textMB = static_cast<double>(bytes->size()) / (1024.0 * 1024.0);
    std::printf("document: %.1f MB of UTF-8, %lld characters\n", textMB, static_cast<long long>(text.size()));

    std::printf("digest tree:\n");
    if (!compareWithXmllint({ path }, rounds))
        return 1;

    // In this process: reading the file into the tree, and freeing the tree.
    double bestRead = std::numeric_limits<double>::max();
    double bestFree = std::numeric_limits<double>::max();
    int elements = 0;
    for (int round = 1; round <= 3; ++round) {
        QElapsedTimer timer;
        timer.start();
        XmlBasePtr root = lq::createWithFile(path);
        bestRead = std::min(bestRead, static_cast<double>(timer.nsecsElapsed()) / 1e9);
        if (!root) {
            std::printf("the document did not read\n");
            return 1;
        }
        elements = countElements(*root);
        timer.restart();
        root.reset();
        bestFree = std::min(bestFree, static_cast<double>(timer.nsecsElapsed()) / 1e9);
    }
    std::printf("in process: %d elements read in %.3f s (%.1f MB/s), the tree freed in %.3f s\n", elements, bestRead,
        textMB / bestRead, bestFree);

    // The round trip: the written text reads back to the same text.
    const QString written = XmlBase::createWithXmlRootDir(text, QString())->createXml();
    const QString again = XmlBase::createWithXmlRootDir(written, QString())->createXml();
    std::printf("round trip: %s, written text MD5 %s\n", written == again ? "byte-identical" : "DIFFERS",
        QCryptographicHash::hash(written.toUtf8(), QCryptographicHash::Md5).toHex().constData());
    if (written != again)
        return 1;

    const QStringList siteFiles = makeSiteDocument(folder.filePath(QStringLiteral("Garden.lqxl")), photos);
    if (siteFiles.isEmpty()) {
        std::printf("the site document could not be made\n");
        return 1;
    }
    std::printf("site document: the starter site with %d photos in 10 albums, %.1f MB (site and theme)\n", photos,
        static_cast<double>(QFileInfo(siteFiles[0]).size() + QFileInfo(siteFiles[1]).size()) / (1024.0 * 1024.0));
    return compareWithXmllint(siteFiles, rounds) ? 0 : 1;
}
