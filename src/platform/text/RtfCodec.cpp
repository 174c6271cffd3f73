#include "platform/text/RtfCodec.h"

#include <QList>
#include <QStringList>

#include <cmath>
#include <vector>

namespace lq {

namespace {

// --- Writer ----------------------------------------------------------------------------------

int colourByte(float value)
{
    return static_cast<int>(std::lround(std::clamp(value, 0.0f, 1.0f) * 255.0f));
}

// The half-point size of a font, at least 1.
int halfPoints(const Font& font)
{
    return std::max(1, static_cast<int>(std::lround(font.pixelSize() * 2.0)));
}

QByteArray alignmentWord(std::optional<TextAlignment> alignment)
{
    if (!alignment)
        return QByteArray();
    switch (*alignment) {
    case TextAlignment::Left:
        return "\\ql";
    case TextAlignment::Right:
        return "\\qr";
    case TextAlignment::Center:
        return "\\qc";
    case TextAlignment::Justified:
        return "\\qj";
    case TextAlignment::Natural:
        break;
    }
    return QByteArray();
}

void appendEscaped(QByteArray& out, QStringView text)
{
    for (QChar c : text) {
        const char16_t u = c.unicode();
        if (u == u'\\' || u == u'{' || u == u'}') {
            out += '\\';
            out += static_cast<char>(u);
        } else if (u == u'\t') {
            out += "\\tab ";
        } else if (u == 0x2028) {
            out += "\\line ";
        } else if (u >= 0x20 && u < 0x7f) {
            out += static_cast<char>(u);
        } else {
            // Control characters too, so that the text reads back whole.
            out += "\\u";
            out += QByteArray::number(static_cast<int16_t>(u));
            out += '?';
        }
    }
}

struct RunState {
    int font = -1;
    int size = -1;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    int colour = 0;
};

// --- Reader ----------------------------------------------------------------------------------

// The characters of code page 1252 from 0x80 to 0x9f; the rest is Latin-1.
constexpr char16_t cp1252High[32] = {
    0x20ac, 0xfffd, 0x201a, 0x0192, 0x201e, 0x2026, 0x2020, 0x2021, 0x02c6, 0x2030, 0x0160, 0x2039, 0x0152, 0xfffd, 0x017d, 0xfffd,
    0xfffd, 0x2018, 0x2019, 0x201c, 0x201d, 0x2022, 0x2013, 0x2014, 0x02dc, 0x2122, 0x0161, 0x203a, 0x0153, 0xfffd, 0x017e, 0x0178,
};

QChar fromCodePage(int byte)
{
    if (byte >= 0x80 && byte < 0xa0)
        return QChar(cp1252High[byte - 0x80]);
    return QChar(static_cast<char16_t>(byte));
}

enum class Destination { Text, FontTable, ColourTable, Skip };

struct ReadState {
    Destination destination = Destination::Text;
    int font = -1;
    int halfPointSize = -1;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    int colour = 0;
    std::optional<TextAlignment> alignment;
    int unicodeSkip = 1;
};

class Reader {
public:
    explicit Reader(const QByteArray& rtf)
        : _rtf(rtf)
    {
    }

    StyledText read()
    {
        while (_pos < _rtf.size()) {
            const char c = _rtf[_pos];
            if (c == '{') {
                ++_pos;
                _stack.push_back(_state);
            } else if (c == '}') {
                ++_pos;
                endGroup();
            } else if (c == '\\') {
                ++_pos;
                controlSymbolOrWord();
            } else if (c == '\r' || c == '\n') {
                ++_pos;
            } else {
                ++_pos;
                character(fromCodePage(static_cast<unsigned char>(c)), true);
            }
        }
        flush();
        return _text;
    }

private:
    void endGroup()
    {
        if (_state.destination == Destination::FontTable)
            finishFontName();
        if (_stack.empty())
            return;
        flush();
        _state = _stack.back();
        _stack.pop_back();
    }

    // One character of the document; `countsAsStandIn` when it may be the
    // stand-in that follows a "\uN" (which is skipped).
    void character(QChar c, bool countsAsStandIn)
    {
        if (countsAsStandIn && _standIns > 0) {
            --_standIns;
            return;
        }
        switch (_state.destination) {
        case Destination::Text:
            if (!_pending.isEmpty() && attributes() != _pendingAttributes)
                flush();
            if (_pending.isEmpty())
                _pendingAttributes = attributes();
            _pending += c;
            break;
        case Destination::FontTable:
            if (c == u';')
                finishFontName();
            else
                _fontName += c;
            break;
        case Destination::ColourTable:
            if (c == u';') {
                _colours.push_back(_colourSeen ? std::optional<Colour>(Colour(_red / 255.0f, _green / 255.0f, _blue / 255.0f))
                                               : std::nullopt);
                _red = _green = _blue = 0;
                _colourSeen = false;
            }
            break;
        case Destination::Skip:
            break;
        }
    }

    void finishFontName()
    {
        const QString name = _fontName.trimmed();
        if (!name.isEmpty() && _fontNumber >= 0)
            _fonts.insert(_fontNumber, name);
        _fontName.clear();
    }

    void controlSymbolOrWord()
    {
        if (_pos >= _rtf.size())
            return;
        const char c = _rtf[_pos];
        if (!std::isalpha(static_cast<unsigned char>(c))) {
            ++_pos;
            switch (c) {
            case '\\':
            case '{':
            case '}':
                character(QChar(static_cast<char16_t>(c)), true);
                break;
            case '\'': {
                const QByteArray hex = _rtf.mid(_pos, 2);
                _pos += hex.size();
                bool ok = false;
                const int byte = hex.toInt(&ok, 16);
                if (ok)
                    character(fromCodePage(byte), true);
                break;
            }
            case '*':
                _state.destination = Destination::Skip;
                break;
            case '~':
                character(QChar(0x00a0), true);
                break;
            case '_':
                character(QChar(0x2011), true);
                break;
            case '\n':
            case '\r':
                character(QChar(u'\n'), true);
                break;
            default:
                break;
            }
            return;
        }
        const qsizetype start = _pos;
        while (_pos < _rtf.size() && std::isalpha(static_cast<unsigned char>(_rtf[_pos])))
            ++_pos;
        const QByteArray word = _rtf.mid(start, _pos - start);
        std::optional<int> parameter;
        const qsizetype numberStart = _pos;
        if (_pos < _rtf.size() && _rtf[_pos] == '-')
            ++_pos;
        while (_pos < _rtf.size() && std::isdigit(static_cast<unsigned char>(_rtf[_pos])))
            ++_pos;
        if (_pos > numberStart) {
            bool ok = false;
            const int value = _rtf.mid(numberStart, _pos - numberStart).toInt(&ok);
            if (ok)
                parameter = value;
        }
        if (_pos < _rtf.size() && _rtf[_pos] == ' ')
            ++_pos;
        controlWord(word, parameter);
    }

    void controlWord(const QByteArray& word, std::optional<int> parameter)
    {
        const int value = parameter.value_or(1);
        if (word == "fonttbl") {
            _state.destination = Destination::FontTable;
        } else if (word == "colortbl") {
            _state.destination = Destination::ColourTable;
        } else if (word == "stylesheet" || word == "info" || word == "pict" || word == "header" || word == "footer"
                   || word == "headerl" || word == "headerr" || word == "footerl" || word == "footerr"
                   || word == "listtable" || word == "listoverridetable" || word == "filetbl" || word == "revtbl"
                   || word == "object" || word == "themedata" || word == "colorschememapping") {
            _state.destination = Destination::Skip;
        } else if (_state.destination == Destination::FontTable) {
            if (word == "f") {
                finishFontName();
                _fontNumber = value;
            }
        } else if (_state.destination == Destination::ColourTable) {
            if (word == "red" || word == "green" || word == "blue") {
                (word == "red" ? _red : word == "green" ? _green : _blue) = std::clamp(value, 0, 255);
                _colourSeen = true;
            }
        } else if (_state.destination == Destination::Skip) {
            // Nothing inside a skipped destination counts.
        } else if (word == "u") {
            int code = parameter.value_or(0);
            if (code < 0)
                code += 65536;
            character(QChar(static_cast<char16_t>(code)), false);
            _standIns = _state.unicodeSkip;
        } else if (word == "uc") {
            _state.unicodeSkip = std::max(0, value);
        } else if (word == "par" || word == "sect") {
            character(QChar(u'\n'), false);
        } else if (word == "line") {
            character(QChar(0x2028), false);
        } else if (word == "tab") {
            character(QChar(u'\t'), false);
        } else if (word == "emdash") {
            character(QChar(0x2014), false);
        } else if (word == "endash") {
            character(QChar(0x2013), false);
        } else if (word == "bullet") {
            character(QChar(0x2022), false);
        } else if (word == "lquote") {
            character(QChar(0x2018), false);
        } else if (word == "rquote") {
            character(QChar(0x2019), false);
        } else if (word == "ldblquote") {
            character(QChar(0x201c), false);
        } else if (word == "rdblquote") {
            character(QChar(0x201d), false);
        } else if (word == "pard") {
            _state.alignment.reset();
        } else if (word == "ql") {
            _state.alignment = TextAlignment::Left;
        } else if (word == "qr") {
            _state.alignment = TextAlignment::Right;
        } else if (word == "qc") {
            _state.alignment = TextAlignment::Center;
        } else if (word == "qj") {
            _state.alignment = TextAlignment::Justified;
        } else if (word == "plain") {
            _state.font = -1;
            _state.halfPointSize = -1;
            _state.bold = _state.italic = _state.underline = false;
            _state.colour = 0;
        } else if (word == "f") {
            _state.font = value;
        } else if (word == "fs") {
            _state.halfPointSize = value;
        } else if (word == "b") {
            _state.bold = value != 0;
        } else if (word == "i") {
            _state.italic = value != 0;
        } else if (word == "ul") {
            _state.underline = value != 0;
        } else if (word == "ulnone") {
            _state.underline = false;
        } else if (word == "cf") {
            _state.colour = value;
        }
    }

    TextAttributes attributes() const
    {
        TextAttributes a;
        if (_state.font >= 0 || _state.halfPointSize >= 0) {
            const QString name = _fonts.value(_state.font, QStringLiteral("Helvetica"));
            const qreal size = _state.halfPointSize > 0 ? _state.halfPointSize / 2.0 : 12.0;
            Font font(name, size);
            if (_state.bold)
                font = font.withBold(true);
            if (_state.italic)
                font = font.withItalic(true);
            a.font = font;
        }
        if (_state.colour > 0 && _state.colour < static_cast<int>(_colours.size()) && _colours[_state.colour])
            a.foregroundColour = *_colours[_state.colour];
        if (_state.underline)
            a.underlineStyle = 1;
        if (_state.alignment) {
            ParagraphStyle style;
            style.alignment = *_state.alignment;
            a.paragraphStyle = style;
        }
        return a;
    }

    void flush()
    {
        if (!_pending.isEmpty())
            _text.append(_pending, _pendingAttributes);
        _pending.clear();
    }

    const QByteArray& _rtf;
    qsizetype _pos = 0;
    ReadState _state;
    std::vector<ReadState> _stack;
    StyledText _text;
    QString _pending;
    TextAttributes _pendingAttributes;
    int _standIns = 0;
    QMap<int, QString> _fonts;
    int _fontNumber = -1;
    QString _fontName;
    std::vector<std::optional<Colour>> _colours;
    int _red = 0;
    int _green = 0;
    int _blue = 0;
    bool _colourSeen = false;
};

} // namespace

QByteArray RtfCodec::toRtf(const StyledText& text)
{
    // A "\r\n" split between two runs is one paragraph end: the line feed
    // that starts the second run is written with the carriage return, so
    // the run's own text begins after it.
    const QString& string = text.string();
    const auto firstWritten = [&](const AttributeRun& run) -> qsizetype {
        const qsizetype at = run.range.location;
        return at > 0 && at < string.size() && string[at] == u'\n' && string[at - 1] == u'\r' ? 1 : 0;
    };

    // The tables first: every face and colour the runs written use.
    QStringList faces;
    std::vector<Colour> colours;
    const std::vector<AttributeRun> runs = text.runs();
    for (const AttributeRun& run : runs) {
        if (firstWritten(run) >= qsizetype(run.range.length))
            continue;
        if (run.attributes.font && !faces.contains(run.attributes.font->face()))
            faces.append(run.attributes.font->face());
        if (run.attributes.foregroundColour) {
            const Colour& c = *run.attributes.foregroundColour;
            const auto same = [&](const Colour& o) {
                return colourByte(o.r) == colourByte(c.r) && colourByte(o.g) == colourByte(c.g) && colourByte(o.b) == colourByte(c.b);
            };
            if (std::find_if(colours.begin(), colours.end(), same) == colours.end())
                colours.push_back(c);
        }
    }

    QByteArray out = "{\\rtf1\\ansi\\ansicpg1252\\uc1\n{\\fonttbl";
    for (int i = 0; i < faces.size(); ++i) {
        out += "\\f" + QByteArray::number(i) + "\\fnil\\fcharset0 ";
        appendEscaped(out, faces[i]);
        out += ';';
    }
    out += "}\n{\\colortbl;";
    for (const Colour& c : colours) {
        out += "\\red" + QByteArray::number(colourByte(c.r)) + "\\green" + QByteArray::number(colourByte(c.g)) + "\\blue"
            + QByteArray::number(colourByte(c.b)) + ';';
    }
    out += "}\n";

    RunState current;
    std::optional<std::optional<TextAlignment>> paragraphAlignment;
    bool atParagraphStart = true;
    for (const AttributeRun& run : runs) {
        const TextAttributes& a = run.attributes;
        const QString piece = string.mid(run.range.location, run.range.length);
        qsizetype start = firstWritten(run);
        while (start < piece.size()) {
            if (atParagraphStart) {
                std::optional<TextAlignment> alignment;
                if (a.paragraphStyle && a.paragraphStyle->alignment != TextAlignment::Natural)
                    alignment = a.paragraphStyle->alignment;
                if (!paragraphAlignment || *paragraphAlignment != alignment) {
                    out += "\\pard" + alignmentWord(alignment) + ' ';
                    paragraphAlignment = alignment;
                }
                atParagraphStart = false;
            }
            RunState wanted;
            if (a.font) {
                wanted.font = static_cast<int>(faces.indexOf(a.font->face()));
                wanted.size = halfPoints(*a.font);
                wanted.bold = a.font->isBold();
                wanted.italic = a.font->isItalic();
            }
            wanted.underline = a.isUnderlined();
            if (a.foregroundColour) {
                const Colour& c = *a.foregroundColour;
                for (std::size_t i = 0; i < colours.size(); ++i) {
                    if (colourByte(colours[i].r) == colourByte(c.r) && colourByte(colours[i].g) == colourByte(c.g)
                        && colourByte(colours[i].b) == colourByte(c.b)) {
                        wanted.colour = static_cast<int>(i) + 1;
                        break;
                    }
                }
            }
            QByteArray words;
            if (wanted.font != current.font || wanted.size != current.size) {
                // A run without a font goes back to the plain state.
                if (wanted.font < 0) {
                    words += "\\plain";
                    current = RunState();
                } else {
                    words += "\\f" + QByteArray::number(wanted.font) + "\\fs" + QByteArray::number(wanted.size);
                }
            }
            if (wanted.bold != current.bold)
                words += wanted.bold ? "\\b" : "\\b0";
            if (wanted.italic != current.italic)
                words += wanted.italic ? "\\i" : "\\i0";
            if (wanted.underline != current.underline)
                words += wanted.underline ? "\\ul" : "\\ulnone";
            if (wanted.colour != current.colour)
                words += "\\cf" + QByteArray::number(wanted.colour);
            if (!words.isEmpty())
                out += words + ' ';
            current = wanted;

            // Up to and including the next paragraph terminator.
            qsizetype end = start;
            while (end < piece.size() && !isParagraphTerminator(piece[end]))
                ++end;
            appendEscaped(out, QStringView(piece).mid(start, end - start));
            if (end < piece.size()) {
                out += "\\par\n";
                const qsizetype terminator = paragraphTerminatorLength(string, run.range.location + end);
                end += std::max<qsizetype>(terminator, 1);
                atParagraphStart = true;
            }
            start = end;
        }
    }
    out += "}";
    return out;
}

std::optional<StyledText> RtfCodec::fromRtf(const QByteArray& rtf)
{
    qsizetype first = 0;
    while (first < rtf.size() && std::isspace(static_cast<unsigned char>(rtf[first])))
        ++first;
    if (!rtf.mid(first).startsWith("{\\rtf"))
        return std::nullopt;
    Reader reader(rtf);
    return reader.read();
}

} // namespace lq
