// Lays out a long text (1,000 paragraphs of 100 words by default) into a
// container that wraps lines around floating obstacles, as the page's content
// box does, a few times, and prints the time per paragraph; then draws it once.
//
//     lumenquill_bench_text [paragraphs] [rounds]

#include "platform/text/LayoutManager.h"

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <cstdio>
#include <cstdlib>

namespace {

// Lines flow beside obstacles in the left or right half and below obstacles
// across the middle; a line narrower than 50 pixels moves down a line.
class WrappingContainer : public lq::TextContainer {
public:
    WrappingContainer(qreal width, std::vector<QRectF> obstacles)
        : TextContainer(QSizeF(width, 1.0e7))
        , _obstacles(std::move(obstacles))
    {
        setLineFragmentPadding(0);
    }

    QRectF lineFragmentRectForProposedRect(const QRectF& proposed, QRectF* remaining) const override
    {
        if (remaining)
            *remaining = QRectF();
        const qreal width = containerSize().width();
        const qreal middle = width / 2;
        qreal y = proposed.y();
        const qreal height = proposed.height();
        for (;;) {
            qreal left = 0;
            qreal right = width;
            bool retry = false;
            for (const QRectF& o : _obstacles) {
                if (o.bottom() <= y || o.top() >= y + height || o.right() <= left || o.left() >= right)
                    continue;
                if (o.left() <= middle && o.right() >= middle) {
                    y = o.bottom();
                    retry = true;
                    break;
                }
                if (o.left() < middle)
                    left = std::max(left, o.right());
                else
                    right = std::min(right, o.left());
            }
            if (retry)
                continue;
            if (right - left < 50) {
                y += height;
                continue;
            }
            return QRectF(left, y, right - left, height);
        }
    }

private:
    std::vector<QRectF> _obstacles;
};

const char* const words[] = { "lorem", "ipsum", "dolor", "sit", "amet", "consectetur", "adipiscing", "elit", "sed", "do",
    "eiusmod", "tempor", "incididunt", "ut", "labore", "et", "dolore", "magna", "aliqua", "enim", "ad", "minim", "veniam",
    "quis", "nostrud", "exercitation", "ullamco", "laboris", "nisi", "aliquip", "ex", "ea", "commodo", "consequat" };

std::shared_ptr<lq::StyledText> makeText(int paragraphs)
{
    lq::ParagraphStyle style;
    style.tabStops = lq::standardTabStops();
    style.lineSpacing = 2;
    lq::TextAttributes plain;
    plain.font = lq::Font::helvetica(14);
    plain.foregroundColour = lq::Colour::black();
    plain.paragraphStyle = style;
    plain.setValue(lq::TextKey::type, 0);
    lq::TextAttributes bold = plain;
    bold.font = plain.font->withBold(true);
    lq::TextAttributes link = plain;
    link.underlineStyle = 1;
    link.foregroundColour = lq::Colour { 0, 0, 0.5f, 1 };
    link.setValue(lq::TextKey::linkLocation, QStringLiteral("page.html"));

    auto text = std::make_shared<lq::StyledText>();
    unsigned seed = 12345;
    const int wordCount = int(sizeof words / sizeof words[0]);
    for (int p = 0; p < paragraphs; ++p) {
        for (int w = 0; w < 100; ++w) {
            seed = seed * 1103515245u + 12345u;
            const QString word = QString::fromLatin1(words[(seed >> 16) % unsigned(wordCount)]);
            const lq::TextAttributes& attributes = (w % 17 == 5) ? bold : (w % 29 == 11) ? link : plain;
            text->append(word, attributes);
            text->append(QStringLiteral(" "), plain);
        }
        text->append(QStringLiteral("\n"), plain);
    }
    return text;
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication qtApp(argc, argv);

    const int paragraphs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 1000;
    const int rounds = argc > 2 ? std::max(1, std::atoi(argv[2])) : 3;

    const std::shared_ptr<lq::StyledText> text = makeText(paragraphs);
    auto container = std::make_shared<WrappingContainer>(600.0,
        std::vector<QRectF> { QRectF(0, 40, 180, 300), QRectF(420, 500, 180, 400), QRectF(150, 1200, 300, 200) });
    lq::LayoutManager manager;
    manager.setTextStorage(text);
    manager.addTextContainer(container);
    std::printf("text: %d paragraphs, %u characters\n", paragraphs, text->length());

    double best = 0;
    for (int round = 1; round <= rounds; ++round) {
        manager.invalidateLayout();
        QElapsedTimer timer;
        timer.start();
        const QRectF used = manager.usedRectForTextContainer(container.get());
        const double seconds = double(timer.nsecsElapsed()) / 1e9;
        const double perParagraph = seconds * 1e6 / paragraphs;
        best = (round == 1) ? perParagraph : std::min(best, perParagraph);
        std::printf("round %d: %zu lines, %.0f px high, %.3f s, %.1f us per paragraph\n", round,
            manager.lineFragments().size(), used.height(), seconds, perParagraph);
    }
    std::printf("best: %.1f us per paragraph\n", best);

    // Drawing the first screenful (what the canvas shows).
    QImage image(600, 1000, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    QPainter painter(&image);
    const lq::Range visible = manager.glyphRangeForBoundingRect(QRectF(0, 0, 600, 1000), container.get());
    QElapsedTimer timer;
    timer.start();
    manager.drawGlyphsForGlyphRange(visible, QPointF(0, 0), &painter);
    std::printf("drawing %u characters of the first 1000 px: %.3f s\n", visible.length, double(timer.nsecsElapsed()) / 1e9);
    return 0;
}
