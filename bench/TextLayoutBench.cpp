// Lays out a long text (1,000 paragraphs of 100 words by default) into a
// container that wraps lines around floating obstacles, as the page's content
// box does, a few times, and prints the time per paragraph; then draws it once.
//
// The reference is a bare QTextLayout per paragraph on the same runs: the
// same text, font, character formats and text option, prepared beforehand,
// given the line widths and positions the layout manager chose. Both are
// timed alternately in the same run, and the lines must come out the same.
//
//     lumenquill_bench_text [paragraphs] [rounds]

#include "platform/text/LayoutManager.h"

#include <QElapsedTimer>
#include <QTextCharFormat>
#include <QTextLayout>
#include <QTextOption>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <cstdio>
#include <cstdlib>
#include <limits>

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

    // Ours, once to learn the lines.
    manager.invalidateLayout();
    manager.usedRectForTextContainer(container.get());
    const std::vector<lq::LineFragment> fragments = manager.lineFragments();

    // The reference's input: per paragraph its text, font, formats, option,
    // and the widths and positions of its lines.
    struct Paragraph {
        QString text;
        QFont font;
        QList<QTextLayout::FormatRange> formats;
        QTextOption option;
        std::vector<QRectF> lines;
        std::vector<lq::Range> ranges;
    };
    std::vector<Paragraph> reference;
    {
        const QString& string = text->string();
        std::vector<std::pair<lq::TextAttributes, QTextCharFormat>> formatOf;
        const auto format = [&](const lq::TextAttributes& attributes) {
            for (const auto& [known, made] : formatOf)
                if (known == attributes)
                    return made;
            formatOf.emplace_back(attributes, lq::LayoutManager::characterFormat(attributes));
            return formatOf.back().second;
        };
        std::size_t line = 0;
        quint32 start = 0;
        while (start < text->length()) {
            quint32 end = start;
            while (end < text->length() && string.at(end) != u'\n')
                ++end;
            Paragraph paragraph;
            paragraph.text = string.mid(start, end - start);
            const lq::TextAttributes first = text->attributesAt(start);
            paragraph.font = first.font.value_or(lq::Font()).toQFont();
            paragraph.option = lq::LayoutManager::paragraphOption(first.paragraphStyle.value_or(lq::ParagraphStyle::defaultStyle()));
            if (end > start) {
                for (const lq::AttributeRun& run : text->runs({ start, end - start })) {
                    QTextLayout::FormatRange range;
                    range.start = int(run.range.location - start);
                    range.length = int(run.range.length);
                    range.format = format(run.attributes);
                    paragraph.formats.append(range);
                }
            }
            for (; line < fragments.size() && fragments[line].glyphRange.location <= end; ++line) {
                paragraph.lines.push_back(fragments[line].rect);
                paragraph.ranges.push_back(fragments[line].glyphRange);
            }
            reference.push_back(std::move(paragraph));
            start = end + 1;
        }
    }

    std::vector<std::unique_ptr<QTextLayout>> layouts;
    const auto layOutReference = [&] {
        layouts.clear();
        layouts.reserve(reference.size());
        for (const Paragraph& paragraph : reference) {
            auto layout = std::make_unique<QTextLayout>(paragraph.text, paragraph.font);
            layout->setCacheEnabled(true);
            layout->setFormats(paragraph.formats);
            layout->setTextOption(paragraph.option);
            layout->beginLayout();
            for (const QRectF& rect : paragraph.lines) {
                QTextLine line = layout->createLine();
                if (!line.isValid())
                    break;
                line.setLineWidth(rect.width());
                line.setPosition(rect.topLeft());
            }
            layout->endLayout();
            layouts.push_back(std::move(layout));
        }
    };

    double ours = std::numeric_limits<double>::max();
    double bare = std::numeric_limits<double>::max();
    for (int round = 1; round <= rounds; ++round) {
        manager.invalidateLayout();
        QElapsedTimer timer;
        timer.start();
        const QRectF used = manager.usedRectForTextContainer(container.get());
        const double seconds = double(timer.nsecsElapsed()) / 1e9;
        ours = std::min(ours, seconds);
        timer.restart();
        layOutReference();
        const double referenceSeconds = double(timer.nsecsElapsed()) / 1e9;
        bare = std::min(bare, referenceSeconds);
        std::printf("round %d: %zu lines, %.0f px high; layout manager %.3f s, bare QTextLayout %.3f s\n", round,
            manager.lineFragments().size(), used.height(), seconds, referenceSeconds);
    }

    // The same lines: where each breaks and how wide its text is.
    bool same = true;
    std::size_t index = 0;
    for (std::size_t p = 0; p < reference.size() && same; ++p) {
        const QTextLayout& layout = *layouts[p];
        if (std::size_t(layout.lineCount()) != reference[p].lines.size()) {
            same = false;
            break;
        }
        quint32 paragraphStart = reference[p].ranges.empty() ? 0 : reference[p].ranges.front().location;
        for (int l = 0; l < layout.lineCount(); ++l, ++index) {
            const QTextLine line = layout.lineAt(l);
            const lq::LineFragment& fragment = fragments[index];
            if (paragraphStart + quint32(line.textStart()) != fragment.glyphRange.location
                || line.naturalTextWidth() != fragment.usedRect.width()) {
                same = false;
                break;
            }
        }
    }
    std::printf("best per paragraph: layout manager %.1f us, bare QTextLayout %.1f us; ratio %.2f; lines %s\n",
        ours * 1e6 / paragraphs, bare * 1e6 / paragraphs, ours / bare, same ? "identical" : "DIFFER");

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
