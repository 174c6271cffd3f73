#pragma once

// A font of styled text: one of the faces that page font records name
// ("Helvetica", "Times-Roman", ...) at a size in pixels, bold or not,
// italic or not.
//
// The faces are drawn with the families that a Linux browser picks for the
// CSS font lists the pages are written with (one substitution table, below
// in Font.cpp), so the canvas shows what the published page shows. Metrics
// come from the fonts' design values at the pixel size, rounded as browsers
// round them, so they do not depend on the screen.

#include <QFont>
#include <QString>
#include <QStringList>

#include <optional>

namespace lq {

class Font {
public:
    // Helvetica at 12 pixels, the default font of styled text.
    Font();
    // The face at the size; a name that is not a known face gives the
    // Helvetica substitute. A name may carry traits ("Helvetica-Bold",
    // "Times Roman", "Times-BoldItalic"). A size of 0 or less is 12.
    Font(const QString& name, qreal pixelSize);

    // The face at the size, or nothing when the name is not a known face.
    static std::optional<Font> withName(const QString& name, qreal pixelSize);
    static Font helvetica(qreal pixelSize) { return Font(QStringLiteral("Helvetica"), pixelSize); }
    // The face whose substitute family a Qt font has (Helvetica for any other
    // family), with its pixel size, weight and slant.
    static Font fromQFont(const QFont& font);

    // The twelve faces of the substitution table, in the order of the page
    // font records' face numbers (0 Helvetica ... 11 Andale Mono).
    static QStringList faceNames();
    // The family drawn for a face, or a null string for an unknown face.
    static QString substituteFamily(const QString& name);

    const QString& face() const;
    const QString& familyName() const;
    qreal pixelSize() const { return _pixelSize; }
    bool isBold() const { return _bold; }
    bool isItalic() const { return _italic; }
    // True when the substitute family is installed on this machine.
    bool isInstalled() const;

    // Trait and size conversions keep the face.
    Font withBold(bool bold) const;
    Font withItalic(bool italic) const;
    Font withPixelSize(qreal pixelSize) const;

    // Whole pixels: the rounded design ascent (above the baseline), descent
    // (below it) and leading, and the default line height, their sum.
    struct Metrics {
        qreal ascent = 0;
        qreal descent = 0;
        qreal leading = 0;
    };
    Metrics metrics() const;
    qreal ascent() const;
    qreal descent() const;
    qreal leading() const;
    qreal defaultLineHeight() const;

    // The Qt font that draws this font: the substitute family at the pixel
    // size rounded to a whole pixel, unhinted.
    QFont toQFont() const;

    friend bool operator==(const Font&, const Font&) = default;

private:
    // The row of the substitution table.
    int _faceIndex = 0;
    qreal _pixelSize = 12;
    bool _bold = false;
    bool _italic = false;
};

} // namespace lq
