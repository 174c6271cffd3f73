#include "ui/widgets/TextView.h"
#include "platform/Exception.h"
#include "platform/text/LayoutManager.h"
#include "support/Printers.h"

#include <gtest/gtest.h>

#include <QAbstractTextDocumentLayout>
#include <QTest>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextLayout>

using lq::Range;
using lq::StyledText;
using lq::TextAttributes;

namespace {

const QString longParagraph = QStringLiteral(
    "The quick brown fox jumps over the lazy dog while the five boxing wizards jump quickly and "
    "a wizard's job is to vex chumps quickly in fog, so pack my box with five dozen liquor jugs.");

TextAttributes pageText()
{
    lq::ParagraphStyle style;
    style.alignment = lq::TextAlignment::Center;
    style.lineSpacing = 6;
    style.tabStops = lq::standardTabStops();
    TextAttributes attributes;
    attributes.font = lq::Font(QStringLiteral("Verdana"), 15);
    attributes.foregroundColour = lq::Colour { 0.1f, 0.2f, 0.3f, 1 };
    attributes.paragraphStyle = style;
    attributes.setValue(lq::TextKey::type, 3);
    attributes.setValue(lq::TextKey::linkLocation, QStringLiteral("http://example.org/"));
    return attributes;
}

TextAttributes blackText()
{
    TextAttributes black;
    black.foregroundColour = lq::Colour::black();
    return black;
}

void typeAtEnd(lq::TextView& view, const QString& keys)
{
    QTextCursor cursor = view.textCursor();
    cursor.movePosition(QTextCursor::End);
    view.setTextCursor(cursor);
    QTest::keyClicks(&view, keys);
}

// Lines 200 wide at x 100, wherever the container is proposed to put them.
class BandContainer : public lq::TextContainer {
public:
    QRectF lineFragmentRectForProposedRect(const QRectF& proposed, QRectF* remaining) const override
    {
        if (remaining)
            *remaining = QRectF();
        return QRectF(100, proposed.y(), 200, proposed.height());
    }
};

// A storage laid out into one container, as a page element keeps its text.
struct LaidOutText {
    std::shared_ptr<StyledText> storage;
    std::shared_ptr<lq::TextContainer> container;
    lq::LayoutManager manager;

    LaidOutText(const StyledText& text, std::shared_ptr<lq::TextContainer> c)
        : storage(std::make_shared<StyledText>(text))
        , container(std::move(c))
    {
        manager.setTextStorage(storage);
        manager.addTextContainer(container);
    }
};

// The widest line of the view's laid-out text, and the number of lines.
std::pair<qreal, int> viewLines(lq::TextView& view)
{
    view.document()->documentLayout()->documentSize(); // lays the text out
    qreal widest = 0;
    int count = 0;
    for (QTextBlock block = view.document()->begin(); block.isValid(); block = block.next()) {
        QTextLayout* layout = block.layout();
        for (int i = 0; i < layout->lineCount(); ++i) {
            widest = std::max(widest, layout->lineAt(i).naturalTextWidth());
            ++count;
        }
    }
    return { widest, count };
}

} // namespace

TEST(TextView, TheViewAndTheStorageShowTheSameText)
{
    auto storage = std::make_shared<StyledText>(QStringLiteral("Hello"), pageText());
    lq::TextView view;
    view.show();
    view.attachTextStorage(storage);
    EXPECT_TRUE(view.isAttached());
    EXPECT_EQ(view.styledText(), *storage);

    // Typed text reaches the storage at once, with every attribute.
    typeAtEnd(view, QStringLiteral("x"));
    EXPECT_EQ(storage->string(), QStringLiteral("Hellox"));
    EXPECT_EQ(storage->attributesAt(5), pageText()) << "typed text keeps paragraph style and custom keys";
    EXPECT_EQ(storage->runs().size(), 1u);

    // The owner colours its storage after attaching it, as page elements do
    // when editing starts: the view shows the change, the caret stays.
    view.setSelectedRange({ 2, 0 });
    storage->addAttributes(blackText(), { 0, storage->length() });
    EXPECT_EQ(view.styledText(), *storage);
    EXPECT_EQ(view.selectedRange(), (Range { 2, 0 }));
    QTest::keyClicks(&view, QStringLiteral("-"));
    EXPECT_EQ(storage->string(), QStringLiteral("He-llox"));
    EXPECT_EQ(storage->attributesAt(2).foregroundColour, lq::Colour::black());

    // A storage made shorter behind the view's back keeps the caret inside.
    storage->replace({ 0, storage->length() }, QStringLiteral("ab"));
    EXPECT_EQ(view.selectedRange(), (Range { 2, 0 }));

    view.detachTextStorage();
    EXPECT_FALSE(view.isAttached());
    EXPECT_EQ(storage->string(), QStringLiteral("ab"));
    // After detaching, the view no longer writes into the storage.
    typeAtEnd(view, QStringLiteral("y"));
    EXPECT_EQ(storage->string(), QStringLiteral("ab"));
}

TEST(TextView, DestructionAndTypingAttributes)
{
    auto storage = std::make_shared<StyledText>(QStringLiteral("a\tb"), pageText());
    {
        lq::TextView view;
        view.attachTextStorage(storage);
        EXPECT_EQ(view.typingAttributes().paragraphStyle, pageText().paragraphStyle);
        view.setSelectedRange({ 1, 1 });
        EXPECT_EQ(view.selectedRange(), (Range { 1, 1 }));
        QTest::keyClicks(&view, QStringLiteral("-"));
        EXPECT_EQ(storage->string(), QStringLiteral("a-b"));

        // With a selection, typing attributes change no text.
        TextAttributes bold = pageText();
        bold.font = bold.font->withBold(true);
        view.setSelectedRange({ 0, 3 });
        view.setTypingAttributes(bold);
        EXPECT_FALSE(storage->attributesAt(0).font->isBold());

        // In a paragraph with text, a paragraph style in the typing
        // attributes leaves the paragraph's own style alone.
        TextAttributes plainStyle = bold;
        plainStyle.paragraphStyle = lq::ParagraphStyle::defaultStyle();
        view.setSelectedRange({ 3, 0 });
        view.setTypingAttributes(plainStyle);
        QTest::keyClicks(&view, QStringLiteral("!"));
        EXPECT_EQ(storage->attributesAt(0).paragraphStyle, pageText().paragraphStyle);

        // In an empty paragraph it is the paragraph's style, and the rest
        // of the attributes still reach what is typed.
        QTest::keyClick(&view, Qt::Key_Return);
        TextAttributes italic = plainStyle;
        italic.font = italic.font->withItalic(true);
        view.setTypingAttributes(italic);
        QTest::keyClicks(&view, QStringLiteral("z"));
        EXPECT_EQ(storage->attributesAt(5).paragraphStyle, lq::ParagraphStyle::defaultStyle());
        EXPECT_TRUE(storage->attributesAt(5).font->isItalic());
    }
    // The storage keeps the text of a view that went away while editing.
    EXPECT_EQ(storage->string(), QStringLiteral("a-b!\nz"));
    EXPECT_TRUE(storage->attributesAt(3).font->isBold());
    EXPECT_EQ(storage->attributesAt(3).value(lq::TextKey::type), QVariant(3));
    EXPECT_EQ(storage->attributesAt(3).paragraphStyle, pageText().paragraphStyle);
}

TEST(TextView, AttachedToAContainerItWrapsAsTheContainer)
{
    TextAttributes attributes = pageText();
    attributes.paragraphStyle->alignment = lq::TextAlignment::Left;
    struct Case {
        const char* name;
        std::shared_ptr<lq::TextContainer> container;
        qreal lineWidth;
    };
    auto simple = std::make_shared<lq::TextContainer>(QSizeF(200, 1.0e6));
    simple->setLineFragmentPadding(10);
    const Case cases[] = {
        { "simple container with padding", simple, 180 },
        // Lines narrower than the container: the lines decide.
        { "container placing lines", std::make_shared<BandContainer>(), 190 },
    };
    for (const Case& c : cases) {
        LaidOutText text(StyledText(longParagraph, attributes), c.container);
        lq::TextView view;
        view.resize(800, 400);
        view.show();
        EXPECT_EQ(c.container->textView(), nullptr) << c.name;
        view.attachTextContainer(c.container);
        EXPECT_EQ(view.textStorage(), text.storage) << c.name;
        EXPECT_EQ(view.textContainer(), c.container.get()) << c.name;
        EXPECT_EQ(c.container->textView(), &view) << c.name << ": the container is being edited";

        // The view is four times as wide as the lines: they wrap anyway.
        const auto [widest, count] = viewLines(view);
        EXPECT_LE(widest, c.lineWidth + 0.5) << c.name;
        EXPECT_GT(widest, c.lineWidth - 60) << c.name;
        EXPECT_GE(count, 4) << c.name;

        typeAtEnd(view, QStringLiteral("!"));
        EXPECT_EQ(text.storage->string(), longParagraph + QStringLiteral("!")) << c.name;
        EXPECT_EQ(text.manager.lineFragments().back().characterRange.end(), text.storage->length()) << c.name;

        view.detachTextStorage();
        EXPECT_EQ(c.container->textView(), nullptr) << c.name;
        EXPECT_EQ(view.lineWrapMode(), QTextEdit::WidgetWidth) << c.name;
    }

    // One view per container: a second view takes over; a view that goes
    // away leaves the container without one.
    LaidOutText text(StyledText(QStringLiteral("abc"), attributes), simple);
    lq::TextView first;
    first.attachTextContainer(simple);
    {
        lq::TextView second;
        second.attachTextContainer(simple);
        EXPECT_EQ(simple->textView(), &second);
        EXPECT_FALSE(first.isAttached());
    }
    EXPECT_EQ(simple->textView(), nullptr);
}

TEST(TextView, AlignmentOfTheSelectedParagraphs)
{
    TextAttributes attributes = pageText();
    attributes.paragraphStyle->alignment = lq::TextAlignment::Left;
    auto storage = std::make_shared<StyledText>(QStringLiteral("one\ntwo\nthree"), attributes);
    lq::TextView view;
    view.attachTextStorage(storage);
    EXPECT_EQ(view.textAlignment(), lq::TextAlignment::Left);

    // From inside the first paragraph into the second.
    view.setSelectedRange({ 2, 3 });
    view.setTextAlignment(lq::TextAlignment::Right);
    EXPECT_EQ(view.textAlignment(), lq::TextAlignment::Right);
    for (quint32 index : { 0u, 3u, 4u, 7u })
        EXPECT_EQ(storage->attributesAt(index).paragraphStyle->alignment, lq::TextAlignment::Right) << index;
    EXPECT_EQ(storage->attributesAt(8).paragraphStyle->alignment, lq::TextAlignment::Left);
    EXPECT_EQ(storage->attributesAt(0).paragraphStyle->lineSpacing, 6) << "the rest of the style stays";
    EXPECT_EQ(storage->attributesAt(0).value(lq::TextKey::type), QVariant(3));

    // Text without a paragraph style gets the default style, aligned.
    auto bare = std::make_shared<StyledText>(QStringLiteral("x"), TextAttributes {});
    view.attachTextStorage(bare);
    view.setTextAlignment(lq::TextAlignment::Center);
    lq::ParagraphStyle centred = lq::ParagraphStyle::defaultStyle();
    centred.alignment = lq::TextAlignment::Center;
    EXPECT_EQ(bare->attributesAt(0).paragraphStyle, centred);
}

TEST(TextView, RangesAreThoseOfTheStyledText)
{
    // "\r\n" is one position of the view's document but two of the text.
    StyledText text(QStringLiteral("ab\r\ncd\nef"), pageText());
    auto storage = std::make_shared<StyledText>(text);
    lq::TextView view;
    view.attachTextStorage(storage);

    view.setSelectedRange({ 4, 2 });
    EXPECT_EQ(view.textCursor().selectedText(), QStringLiteral("cd"));
    EXPECT_EQ(view.selectedRange(), (Range { 4, 2 }));
    view.setSelectedRange({ 7, 100 });
    EXPECT_EQ(view.selectedRange(), (Range { 7, 2 })) << "clamped to the text";

    Range effective;
    EXPECT_EQ(view.attributesAt(5, &effective), pageText());
    EXPECT_EQ(effective, (Range { 0, 9 }));

    view.addAttributes(blackText(), { 1, 5 });
    view.removeAttribute(lq::TextKey::linkLocation, { 5, 3 });
    text.addAttributes(blackText(), { 1, 5 });
    text.removeAttribute(lq::TextKey::linkLocation, { 5, 3 });
    EXPECT_EQ(*storage, text);
    EXPECT_EQ(view.styledText(), text);

    EXPECT_THROW(view.addAttributes(blackText(), { 8, 2 }), lq::Exception);
}
