// Reads a generated document text of about 20 MB (pages holding photos, each
// with attributes and content) a few times and prints the reading speed.
//
//     lumenquill_bench_xml [megabytes] [rounds]

#include "model/application/MyApplication.h"
#include "model/core/XmlBase.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <cstdio>
#include <cstdlib>

namespace {

// A digest tree text: folders ("QZD") of files ("QZF") with names and
// digests, plus page-like elements carrying a content block, until the text
// reaches the wanted size.
QString makeDocument(qsizetype wantedCharacters)
{
    QString xml;
    xml.reserve(wantedCharacters + 4096);
    xml += QStringLiteral("<QZD name=\"homepage\">");
    int page = 0;
    while (xml.size() < wantedCharacters) {
        xml += QStringLiteral(" <QZD name=\"Page %1 &amp; friends &eacute;t&eacute;\">").arg(page);
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

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication qtApp(argc, argv);
    MyApplication app;

    const double megabytes = argc > 1 ? std::atof(argv[1]) : 20.0;
    const int rounds = argc > 2 ? std::max(1, std::atoi(argv[2])) : 3;

    const QString text = makeDocument(static_cast<qsizetype>(megabytes * 1024 * 1024));
    const double textMB = static_cast<double>(text.toUtf8().size()) / (1024.0 * 1024.0);
    std::printf("document: %.1f MB of UTF-8, %lld characters\n", textMB, static_cast<long long>(text.size()));

    double best = 0;
    for (int round = 1; round <= rounds; ++round) {
        QElapsedTimer timer;
        timer.start();
        XmlBasePtr root = XmlBase::createWithXmlRootDir(text, QString());
        const double seconds = static_cast<double>(timer.nsecsElapsed()) / 1e9;
        if (!root) {
            std::printf("the document did not read\n");
            return 1;
        }
        const double rate = textMB / seconds;
        best = std::max(best, rate);
        std::printf("round %d: %d elements in %.3f s, %.1f MB/s\n", round, countElements(*root), seconds, rate);
    }
    std::printf("best: %.1f MB/s\n", best);
    return 0;
}
