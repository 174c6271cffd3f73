#include "platform/text/Font.h"

#include <QFontDatabase>
#include <QFontMetricsF>
#include <QHash>
#include <QMutex>
#include <QRawFont>

#include <array>
#include <atomic>
#include <cmath>

namespace lq {

namespace {

struct FaceEntry {
    QStringView face;
    QStringView family;
    QFont::StyleHint hint;
};

// The faces of the page font records and the families drawn for them. Each
// family is the one Chromium on Debian (fonts-liberation2, fonts-dejavu-core)
// renders for the CSS font list written for the face: Helvetica, Arial and
// the generic sans-serif resolve to Liberation Sans; Times, Georgia and every
// list that ends in a family the machine lacks ("cursive", "fantasy") fall
// back to the standard font, Liberation Serif; "Courier New" is Liberation
// Mono; "monospace" is DejaVu Sans Mono.
constexpr std::array<FaceEntry, 12> faceTable { {
    { u"Helvetica", u"Liberation Sans", QFont::SansSerif },
    { u"Monaco", u"DejaVu Sans Mono", QFont::Monospace },
    { u"Arial Black", u"Liberation Sans", QFont::SansSerif },
    { u"Geneva", u"Liberation Sans", QFont::SansSerif },
    { u"Verdana", u"Liberation Sans", QFont::SansSerif },
    { u"Comic Sans MS", u"Liberation Serif", QFont::Serif },
    { u"Courier New", u"Liberation Mono", QFont::Monospace },
    { u"Trebuchet MS", u"Liberation Sans", QFont::SansSerif },
    { u"Georgia", u"Liberation Serif", QFont::Serif },
    { u"Times-Roman", u"Liberation Serif", QFont::Serif },
    { u"Impact", u"Liberation Serif", QFont::Serif },
    { u"Andale Mono", u"DejaVu Sans Mono", QFont::Monospace },
} };

// Other names under which the program asks for a face.
struct Alias {
    QStringView name;
    QStringView face;
};
constexpr std::array<Alias, 3> aliases { {
    { u"Times", u"Times-Roman" },
    { u"Times Roman", u"Times-Roman" },
    { u"Times New Roman", u"Times-Roman" },
} };

// Trait suffixes of font names, longest first.
struct TraitSuffix {
    QStringView suffix;
    bool bold;
    bool italic;
};
constexpr std::array<TraitSuffix, 10> traitSuffixes { {
    { u"-BoldOblique", true, true },
    { u"-BoldItalic", true, true },
    { u" Bold Oblique", true, true },
    { u" Bold Italic", true, true },
    { u"-Bold", true, false },
    { u" Bold", true, false },
    { u"-Oblique", false, true },
    { u"-Italic", false, true },
    { u" Oblique", false, true },
    { u" Italic", false, true },
} };

const FaceEntry* entryForBaseName(QStringView name)
{
    for (const Alias& alias : aliases) {
        if (alias.name == name) {
            name = alias.face;
            break;
        }
    }
    for (const FaceEntry& entry : faceTable) {
        if (entry.face == name)
            return &entry;
    }
    return nullptr;
}

struct ParsedName {
    const FaceEntry* entry = nullptr;
    bool bold = false;
    bool italic = false;
};

ParsedName parseName(const QString& name)
{
    if (const FaceEntry* entry = entryForBaseName(name))
        return { entry, false, false };
    for (const TraitSuffix& trait : traitSuffixes) {
        if (name.endsWith(trait.suffix)) {
            const QStringView base = QStringView(name).chopped(trait.suffix.size());
            if (const FaceEntry* entry = entryForBaseName(base))
                return { entry, trait.bold, trait.italic };
        }
    }
    return {};
}

int indexOf(const FaceEntry* entry)
{
    return entry ? int(entry - faceTable.data()) : 0;
}

// One column of the face table as strings, in table order.
std::array<QString, faceTable.size()> faceTableStrings(QStringView FaceEntry::*column)
{
    std::array<QString, faceTable.size()> result;
    for (std::size_t i = 0; i < faceTable.size(); ++i)
        result[i] = (faceTable[i].*column).toString();
    return result;
}

qreal sanitisedSize(qreal pixelSize)
{
    return (std::isfinite(pixelSize) && pixelSize > 0) ? pixelSize : 12.0;
}

int wholePixelSize(qreal pixelSize)
{
    return std::max(1, int(std::lround(std::min(pixelSize, 100000.0))));
}

} // namespace

Font::Font() = default;

Font::Font(const QString& name, qreal pixelSize)
    : _pixelSize(sanitisedSize(pixelSize))
{
    const ParsedName parsed = parseName(name);
    _faceIndex = indexOf(parsed.entry);
    _bold = parsed.bold;
    _italic = parsed.italic;
}

std::optional<Font> Font::withName(const QString& name, qreal pixelSize)
{
    if (!parseName(name).entry)
        return std::nullopt;
    return Font(name, pixelSize);
}

Font Font::fromQFont(const QFont& font)
{
    const QStringList families = font.families().isEmpty() ? QStringList { font.family() } : font.families();
    const QString& family = families.constFirst();
    Font result;
    for (const FaceEntry& entry : faceTable) {
        if (entry.family == family) {
            result._faceIndex = indexOf(&entry);
            break;
        }
    }
    if (font.pixelSize() > 0)
        result._pixelSize = font.pixelSize();
    else if (font.pointSizeF() > 0)
        result._pixelSize = font.pointSizeF();
    result._bold = font.weight() >= QFont::DemiBold;
    result._italic = font.italic();
    return result;
}

QStringList Font::faceNames()
{
    QStringList names;
    for (const FaceEntry& entry : faceTable)
        names.append(entry.face.toString());
    return names;
}

QString Font::substituteFamily(const QString& name)
{
    const ParsedName parsed = parseName(name);
    return parsed.entry ? parsed.entry->family.toString() : QString();
}

const QString& Font::face() const
{
    static const std::array<QString, faceTable.size()> faces = faceTableStrings(&FaceEntry::face);
    return faces[std::size_t(_faceIndex)];
}

const QString& Font::familyName() const
{
    static const std::array<QString, faceTable.size()> families = faceTableStrings(&FaceEntry::family);
    return families[std::size_t(_faceIndex)];
}

bool Font::isInstalled() const
{
    // Asking the font database resolves the family through fontconfig every
    // time, and the page generation asks for every text style again and
    // again; the program adds no fonts of its own, so each family's answer
    // is kept once found.
    static std::array<std::atomic<signed char>, faceTable.size()> installed {};
    std::atomic<signed char>& known = installed[std::size_t(_faceIndex)];
    signed char answer = known.load(std::memory_order_relaxed);
    if (answer == 0) {
        answer = QFontDatabase::hasFamily(familyName()) ? 1 : -1;
        known.store(answer, std::memory_order_relaxed);
    }
    return answer > 0;
}

Font Font::withBold(bool bold) const
{
    Font result = *this;
    result._bold = bold;
    return result;
}

Font Font::withItalic(bool italic) const
{
    Font result = *this;
    result._italic = italic;
    return result;
}

Font Font::withPixelSize(qreal pixelSize) const
{
    Font result = *this;
    result._pixelSize = sanitisedSize(pixelSize);
    return result;
}

qreal Font::ascent() const { return metrics().ascent; }
qreal Font::descent() const { return metrics().descent; }
qreal Font::leading() const { return metrics().leading; }

qreal Font::defaultLineHeight() const
{
    const Metrics m = metrics();
    return m.ascent + m.descent + m.leading;
}

QFont Font::toQFont() const
{
    const FaceEntry& entry = faceTable[std::size_t(_faceIndex)];
    QFont font;
    font.setFamilies({ familyName() });
    font.setStyleHint(entry.hint, QFont::PreferOutline);
    font.setPixelSize(wholePixelSize(_pixelSize));
    font.setWeight(_bold ? QFont::Bold : QFont::Normal);
    font.setItalic(_italic);
    font.setHintingPreference(QFont::PreferNoHinting);
    return font;
}

Font::Metrics Font::metrics() const
{
    // Layout asks for metrics once per line and run: keep them per face,
    // whole size and traits.
    static QMutex mutex;
    static QHash<quint64, Metrics> cache;
    const int size = wholePixelSize(_pixelSize);
    const quint64 key = (quint64(_faceIndex) << 40) | (quint64(size) << 2) | (_bold ? 2u : 0u) | (_italic ? 1u : 0u);
    QMutexLocker lock(&mutex);
    auto it = cache.constFind(key);
    if (it != cache.constEnd())
        return *it;

    const QFont font = toQFont();
    qreal ascent = 0;
    qreal descent = 0;
    qreal leading = 0;
    const QRawFont raw = QRawFont::fromFont(font);
    if (raw.isValid()) {
        ascent = raw.ascent();
        descent = raw.descent();
        leading = raw.leading();
    } else {
        const QFontMetricsF fm(font);
        ascent = fm.ascent();
        descent = fm.descent();
        leading = fm.leading();
    }
    Metrics m;
    m.ascent = std::round(ascent);
    m.descent = std::round(descent);
    m.leading = std::max<qreal>(0, std::round(leading));
    cache.insert(key, m);
    return m;
}

} // namespace lq
