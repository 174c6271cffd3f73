#include "elements/StoredTextWriter.h"

#include "elements/StoredTextTokenizer.h"
#include "platform/Escaping.h"
#include "platform/ExceptionFrame.h"

#include <vector>

namespace {

bool isPageNumber(const QVariant& value)
{
    switch (value.typeId()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Long:
    case QMetaType::ULong:
    case QMetaType::Short:
    case QMetaType::UShort:
        return true;
    default:
        return false;
    }
}

// The link of a run: the editor's key, else the laid-out text's; invalid
// outside links and for values that are neither an address nor a page number.
QVariant linkOf(const lq::TextAttributes& attributes)
{
    QVariant link = attributes.value(lq::TextKey::link);
    if (!link.isValid())
        link = attributes.value(lq::TextKey::linkLocation);
    if (link.typeId() == QMetaType::QString || isPageNumber(link))
        return link;
    return {};
}

// An address as stored text keeps it: exactly as it stands but for what
// would end the attribute ('"', "<" and ">"); its reader takes it back so.
// (Page output escapes "&" too: XmlWebText::attributeEscape.)
QString storedAddress(const QString& address)
{
    QString stored = address;
    stored.replace(QLatin1Char('"'), QStringLiteral("&quot;"));
    stored.replace(QLatin1Char('<'), QStringLiteral("&lt;"));
    stored.replace(QLatin1Char('>'), QStringLiteral("&gt;"));
    return stored;
}

int paragraphKindOf(const lq::TextAttributes& attributes)
{
    QVariant kind = attributes.value(lq::TextKey::paragraphKind);
    if (!kind.isValid())
        kind = attributes.value(lq::TextKey::type);
    return kind.toInt();
}

// The open inline tags of one paragraph, innermost last.
class InlineTags {
public:
    explicit InlineTags(QString& stored)
        : _stored(stored)
    {
    }

    // Closes what the run does not want (and whatever was opened inside it),
    // then opens what it wants: link, bold, italic, underline.
    void enterRun(const lq::TextAttributes& attributes)
    {
        const QVariant link = linkOf(attributes);
        const int newWindow = link.isValid() ? attributes.value(lq::TextKey::linkNewWindow).toInt() : 0;
        int wanted = 0;
        if (attributes.font && attributes.font->isItalic())
            wanted |= InlineBits::italic;
        if (attributes.font && attributes.font->isBold())
            wanted |= InlineBits::bold;
        if (attributes.isUnderlined())
            wanted |= InlineBits::underline;
        if (link.isValid())
            wanted |= InlineBits::link;

        // A link to another target is another element: the open one closes.
        const bool otherLink = (open() & InlineBits::link) && (link != _link || newWindow != _newWindow);
        while ((open() & ~wanted) != 0 || (otherLink && (open() & InlineBits::link)))
            closeInnermost();

        const int missing = wanted & ~open();
        if (missing & InlineBits::link) {
            _link = link;
            _newWindow = newWindow;
            const QString target = newWindow != 0 ? QStringLiteral(" target=\"_blank\"") : QString();
            if (link.typeId() == QMetaType::QString)
                _stored += QStringLiteral("<a href=\"") + storedAddress(link.toString()) + u'"' + target + u'>';
            else
                _stored += QStringLiteral("<a pseq=\"") + QString::number(link.toLongLong()) + u'"' + target + u'>';
            _open.push_back(InlineBits::link);
        }
        if (missing & InlineBits::bold)
            openTag(InlineBits::bold, QLatin1String("<b>"));
        if (missing & InlineBits::italic)
            openTag(InlineBits::italic, QLatin1String("<i>"));
        if (missing & InlineBits::underline)
            openTag(InlineBits::underline, QLatin1String("<u>"));
    }

    void closeAll()
    {
        while (!_open.empty())
            closeInnermost();
    }

private:
    int open() const
    {
        int bits = 0;
        for (int bit : _open)
            bits |= bit;
        return bits;
    }
    void openTag(int bit, QLatin1String tag)
    {
        _stored += tag;
        _open.push_back(bit);
    }
    void closeInnermost()
    {
        _stored += closingTagForInlineBit(_open.back());
        _open.pop_back();
    }

    QString& _stored;
    std::vector<int> _open;
    QVariant _link;
    int _newWindow = 0;
};

void writeParagraph(QString& stored, const lq::StyledText& text, lq::Range line, lq::Range content, bool paragraphKinds)
{
    // An empty line's attributes are those of its line break.
    const lq::TextAttributes first = line.length > 0 ? text.attributesAt(line.location) : lq::TextAttributes();
    const int kind = paragraphKinds ? paragraphKindOf(first) : 0;
    const QLatin1String tag = paragraphTagForKind(kind);
    stored += u'<' + tag;
    const lq::ParagraphStyle style = first.paragraphStyle.value_or(lq::ParagraphStyle());
    if (style.baseWritingDirection == lq::WritingDirection::RightToLeft)
        stored += QStringLiteral(" dir=\"rtl\"");
    if (style.alignment == lq::TextAlignment::Right)
        stored += QStringLiteral(" class=\"right\"");
    else if (style.alignment == lq::TextAlignment::Center)
        stored += QStringLiteral(" class=\"center\"");
    stored += u'>';

    if (content.length == 0) {
        stored += QStringLiteral("&nbsp;");
    } else {
        InlineTags tags(stored);
        for (const lq::AttributeRun& run : text.runs(content)) {
            tags.enterRun(run.attributes);
            stored += lq::escape(text.string().mid(qsizetype(run.range.location), qsizetype(run.range.length)));
        }
        tags.closeAll();
    }
    stored += QStringLiteral("</") + tag + u'>';
}

} // namespace

QString writeStoredText(const lq::StyledText& text, bool paragraphKinds)
{
    return lq::classFrame("writeStoredText", [&] {
        QString stored = QStringLiteral("");
        quint32 location = 0;
        while (location < text.length()) {
            const lq::Range line = text.lineRangeForRange({ location, 0 });
            writeParagraph(stored, text, line, text.lineContentsRangeForRange({ location, 0 }), paragraphKinds);
            location = quint32(line.end());
        }
        return stored;
    });
}
