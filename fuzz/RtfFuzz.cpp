// The RTF reader and writer (callouts keep their styled text as RTF, and
// pasted or older RTF comes from outside the program), over any bytes: what
// the reader makes of them, written, reads back as the same text and writes
// the same RTF again.
#include "FuzzSupport.h"

#include "platform/text/RtfCodec.h"

namespace {

// Paragraph ends are written as paragraph marks, which read back as line feeds.
QString withLineFeeds(const QString& text)
{
    QString result = text;
    result.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    result.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    result.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
    return result;
}

QString latin1(const QByteArray& bytes)
{
    return QString::fromLatin1(bytes);
}

} // namespace

void fuzzOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::optional<lq::StyledText> read = lq::RtfCodec::fromRtf(fuzz::bytes(data, size));
    if (!read)
        return;
    const QByteArray once = lq::RtfCodec::toRtf(*read);
    for (const char c : once) {
        if (static_cast<unsigned char>(c) >= 0x80)
            fuzz::fail("the writer puts out a byte outside 7-bit ASCII", latin1(once));
    }
    const std::optional<lq::StyledText> back = lq::RtfCodec::fromRtf(once);
    if (!back)
        fuzz::fail("written RTF is not read back", latin1(once));
    if (back->string() != withLineFeeds(read->string()))
        fuzz::fail("a text written comes back changed", read->string(), back->string());
    const QByteArray twice = lq::RtfCodec::toRtf(*back);
    if (twice != once)
        fuzz::fail("the RTF written again differs", latin1(once), latin1(twice));
}
