#include "platform/widgets/TextView.h"
#include "support/Printers.h"

#include <gtest/gtest.h>

#include <QTest>
#include <QTextCursor>

using lq::StyledText;
using lq::TextAttributes;

namespace {

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

void typeAtEnd(lq::TextView& view, const QString& keys)
{
    QTextCursor cursor = view.textCursor();
    cursor.movePosition(QTextCursor::End);
    view.setTextCursor(cursor);
    QTest::keyClicks(&view, keys);
}

} // namespace

TEST(TextView, EditsReachTheStorageWhenEditingEnds)
{
    auto storage = std::make_shared<StyledText>(QStringLiteral("Hello"), pageText());
    lq::TextView view;
    view.show();
    view.attachTextStorage(storage);
    EXPECT_TRUE(view.isAttached());
    EXPECT_EQ(view.styledText(), *storage);

    typeAtEnd(view, QStringLiteral("x"));
    EXPECT_EQ(storage->string(), QStringLiteral("Hello")) << "the view edits a copy";
    view.detachTextStorage();
    EXPECT_FALSE(view.isAttached());

    EXPECT_EQ(storage->string(), QStringLiteral("Hellox"));
    EXPECT_EQ(storage->attributesAt(5), pageText()) << "typed text keeps paragraph style and custom keys";
    EXPECT_EQ(storage->runs().size(), 1u);

    // After detaching, the view no longer writes into the storage.
    typeAtEnd(view, QStringLiteral("y"));
    EXPECT_EQ(storage->string(), QStringLiteral("Hellox"));
}

TEST(TextView, CommitDestructionAndTypingAttributes)
{
    auto storage = std::make_shared<StyledText>(QStringLiteral("a\tb"), pageText());
    {
        lq::TextView view;
        view.attachTextStorage(storage);
        EXPECT_EQ(view.typingAttributes().paragraphStyle, pageText().paragraphStyle);
        view.setSelectedRange({ 1, 1 });
        EXPECT_EQ(view.selectedRange(), (lq::Range { 1, 1 }));
        QTest::keyClicks(&view, QStringLiteral("-"));
        view.commitToTextStorage();
        EXPECT_EQ(storage->string(), QStringLiteral("a-b"));
        EXPECT_TRUE(view.isAttached());

        TextAttributes bold = pageText();
        bold.font = bold.font->withBold(true);
        view.setSelectedRange({ 3, 0 });
        view.setTypingAttributes(bold);
        QTest::keyClicks(&view, QStringLiteral("!"));
    }
    // A view that goes away while still editing hands its text back.
    EXPECT_EQ(storage->string(), QStringLiteral("a-b!"));
    EXPECT_TRUE(storage->attributesAt(3).font->isBold());
    EXPECT_EQ(storage->attributesAt(3).value(lq::TextKey::type), QVariant(3));
}
