#pragma once

// The one scanner of stored rich text: the small HTML subset in which page
// text, captions and Vorn Box text are kept.
//
// A text is a row of paragraph elements ("p", "h1" to "h6", with any
// attributes); inside a paragraph "b", "i", "u" and "a" nest; every other
// element is skipped with its content, and text outside paragraphs is
// dropped. The tokenizer only scans: what becomes of a paragraph, a run or a
// link is up to the sink, so each reader (the text elements, the content box,
// the Vorn Box, the rich-text editor) keeps its own styling while they all
// scan alike.
//
// Scanning never rejects text and always ends: an element still open at the
// end of the text ends there. Nesting is kept on explicit stacks, so deeply
// nested input cannot exhaust the call stack.

#include "platform/text/ParagraphStyle.h"

#include <QLatin1String>
#include <QString>
#include <QStringView>
#include <QVariant>

// Inline bits of a run, as the stored text's tags give them and the writers
// of HTML from styled text use them.
namespace InlineBits {
inline constexpr int italic = 1;
inline constexpr int bold = 2;
inline constexpr int underline = 4;
inline constexpr int link = 8;
} // namespace InlineBits

// The closing tag of an inline bit ("</b>" ...; "" for anything else).
QLatin1String closingTagForInlineBit(int bit);

// Paragraph kinds and their tags: 0 "p", 1 "h1" (also read from "h3", which
// is never written), 2 "h2", 3 "h4", 4 "h5", 5 "h6".
int paragraphKindForTag(QStringView tag);
// The tag of a kind; "p" for a kind it does not know.
QLatin1String paragraphTagForKind(int kind);
// Direction and alignment from a paragraph element's attribute text (plain
// substring tests): left to right unless ` dir="rtl"`; the given alignment
// unless `class="center"` or `class="right"` (tested last, so it wins).
void readParagraphAttributes(const QString& attributes, lq::TextAlignment alignment, lq::ParagraphStyle& style);

// The target of an "a" element: an address (QString, from "href") or the
// page number of a page of the site (int, from "pseq"); invalid for none.
struct StoredLink {
    QVariant target;
    // 1 when the link opens a new window ("target" "_blank").
    int newWindow = 0;

    bool isValid() const { return target.isValid(); }
};

// Reads the attribute text of an "a" element: "href" (the value as written),
// "pseq" (its integer) and "target" ("_blank" opens a new window); other
// names are ignored and names compare exactly. Reading stops at a "/", at a
// name without a following run of "=" and '"', and at the end.
StoredLink readStoredLink(const QString& attributes);

class StoredTextSink {
public:
    virtual ~StoredTextSink() = default;

    // A paragraph element opens: its tag name ("p", "h1" ... "h6") and its
    // attribute text. `afterAnother` is true for every paragraph but the first.
    virtual void beginParagraph(const QString& tag, const QString& attributes, bool afterAnother) = 0;
    // One run of raw (still escaped) text with its inline bits and the link
    // it lies in (invalid outside links).
    virtual void appendRun(const QString& raw, int bits, const StoredLink& link) = 0;
    // The link of an "a" element from its attribute text.
    virtual StoredLink readLink(const QString& attributes) { return readStoredLink(attributes); }
    // Before and after the content of an "a" element.
    virtual void linkStart() {}
    virtual void linkEnd() {}
};

class StoredTextTokenizer {
public:
    struct Options {
        // Only the first tag of the text counts: a leading paragraph is read,
        // anything else yields nothing.
        bool firstLineOnly = false;
        // Inline bits every paragraph's content starts with.
        int initialBits = 0;
    };

    static void read(const QString& text, StoredTextSink& sink, Options options);
    static void read(const QString& text, StoredTextSink& sink) { read(text, sink, Options()); }
};
