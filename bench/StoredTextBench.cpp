// Reads a long stored rich text (500 paragraphs by default, with bold,
// italic and linked words) into styled text, lays it out round two floating
// pictures in the content text container, writes it as positioned HTML and
// writes the spacer divs for the browser; prints the time of each step.
//
//     lumenquill_bench_stored_text [paragraphs] [rounds]

#include "CountingDocument.h"
#include "elements/QZTextContainer.h"
#include "elements/XmlWebText.h"
#include "document/DocumentElements.h"
#include "application/MyApplication.h"
#include "model/core/XmlBase.h"
#include "platform/ValueStrings.h"
#include "platform/text/LayoutManager.h"
#include "templates/XmlWebFont.h"

#include <QElapsedTimer>
#include <QGuiApplication>

#include <cstdio>
#include <cstdlib>
#include <memory>

namespace {

QString storedText(int paragraphs)
{
    QString text;
    for (int p = 0; p < paragraphs; ++p) {
        text += (p % 7 == 0) ? QStringLiteral("<p class=\"center\">") : QStringLiteral("<p>");
        for (int w = 0; w < 60; ++w) {
            switch (w % 10) {
            case 3:
                text += QStringLiteral("<b>bold</b> ");
                break;
            case 5:
                text += QStringLiteral("<i>slanted &amp; <b>strong</b></i> ");
                break;
            case 8:
                text += QStringLiteral("<a href=\"page%1.html\">linked words</a>\tafter a tab ").arg(w);
                break;
            default:
                text += QStringLiteral("word ");
                break;
            }
        }
        text += QStringLiteral("</p>");
    }
    return text;
}


} // namespace

int main(int argc, char** argv)
{
    QGuiApplication application(argc, argv);
    MyApplication app;
    lq::registerDocumentElements();
    const int paragraphs = argc > 1 ? std::atoi(argv[1]) : 500;
    const int rounds = argc > 2 ? std::atoi(argv[2]) : 3;
    const QString stored = storedText(paragraphs);

    const auto element = XmlWebText::create();
    element->setNormalFont(element->font()->createFont());

    for (int round = 0; round < rounds; ++round) {
        QElapsedTimer timer;
        timer.start();
        element->clearLinks();
        auto storage = std::make_shared<lq::StyledText>(
            element->getAttributedStringWithAlignmentAttr(stored, lq::TextAlignment::Left, 0));
        const double read = bench::milliseconds(timer);

        timer.restart();
        lq::LayoutManager layout;
        layout.setTextStorage(storage);
        auto container = std::make_shared<QZTextContainer>();
        container->setLineFragmentPadding(0);
        container->setBoundingRect(lq::Rect(20, 100, 600, 1.0e6f));
        container->setPaddingTopLeftBottomRight(10, 10, 10, 10);
        container->addFloatingRect(lq::rectToString(lq::Rect(20, 300, 200, 150)));
        container->addFloatingRect(lq::rectToString(lq::Rect(420, 900, 200, 400)));
        layout.addTextContainer(container);
        const quint32 glyphs = layout.glyphRangeForTextContainer(container.get()).length;
        const double laid = bench::milliseconds(timer);

        timer.restart();
        QString html;
        element->appendHTMLFromLayoutManagerPrePostOffset(html, &layout, QStringLiteral("<p"), QStringLiteral("</p>\n"),
                                                          lq::Point(20, 100));
        const double written = bench::milliseconds(timer);

        timer.restart();
        QString floats;
        container->createHTMLfloatsMaxheight(floats, static_cast<float>(layout.usedRectForTextContainer(container.get()).height()));
        const double spacers = bench::milliseconds(timer);

        std::printf("round %d: %d paragraphs, %u characters, %lld links: read %.1f ms, layout %.1f ms, "
                    "positioned HTML %.1f ms (%lld characters), spacer divs %.1f ms (%lld characters)\n",
                    round + 1, paragraphs, unsigned(storage->length()), static_cast<long long>(element->links().size()),
                    read, laid, written, static_cast<long long>(html.size()), spacers,
                    static_cast<long long>(floats.size()));
        (void)glyphs;
    }
    return 0;
}
