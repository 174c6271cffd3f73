// Draws the bitmaps that generated sites use and writes them into
// "site/": the lightbox's close.gif, loading.gif (animated), next.gif and
// prev.gif, blank.gif and transparent.gif (1 x 1, clear), the badge
// createdwith.gif (99 x 31), and the PayPal buttons buynow.png (86 px wide)
// and addtocart.png (96 px wide).
//
// Qt draws the pictures; Qt cannot write GIF, so this file holds a small
// GIF89a writer of its own (palette of at most 256 colours with one clear
// entry, LZW codes of fixed width with a clear code before the table grows).
//
// Build and run from the repository root:
//   g++ -std=c++20 -fPIC tools/make_site_bitmaps.cpp -o /tmp/make_site_bitmaps $(pkg-config --cflags --libs Qt6Gui)
//   QT_QPA_PLATFORM=offscreen /tmp/make_site_bitmaps resources
#include <QColor>
#include <QDir>
#include <QFile>
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QtMath>

#include <cstdio>
#include <vector>

namespace {

// --- GIF writing ---------------------------------------------------------------------------------

void putShort(QByteArray& out, int value)
{
    out.append(char(value & 0xFF));
    out.append(char((value >> 8) & 0xFF));
}

// Packs codes of a fixed width, least significant bit first, into data sub-blocks.
class CodeWriter {
public:
    void put(int code, int width)
    {
        _accumulator |= quint32(code) << _bits;
        _bits += width;
        while (_bits >= 8) {
            _bytes.append(char(_accumulator & 0xFF));
            _accumulator >>= 8;
            _bits -= 8;
        }
    }
    QByteArray finish()
    {
        if (_bits > 0)
            _bytes.append(char(_accumulator & 0xFF));
        QByteArray blocks;
        for (qsizetype at = 0; at < _bytes.size(); at += 255) {
            const qsizetype length = std::min<qsizetype>(255, _bytes.size() - at);
            blocks.append(char(length));
            blocks.append(_bytes.mid(at, length));
        }
        blocks.append(char(0));
        return blocks;
    }

private:
    QByteArray _bytes;
    quint32 _accumulator = 0;
    int _bits = 0;
};

// The palette of the frames: index 0 is the clear colour, the others the
// opaque colours met, in order. Colours are matched exactly; the pictures
// below use few of them.
struct Palette {
    std::vector<QRgb> colours { 0 };
    int indexOf(QRgb pixel)
    {
        if (qAlpha(pixel) < 128)
            return 0;
        const QRgb opaque = qRgb(qRed(pixel), qGreen(pixel), qBlue(pixel));
        for (std::size_t i = 1; i < colours.size(); ++i)
            if (colours[i] == opaque)
                return int(i);
        if (colours.size() < 256) {
            colours.push_back(opaque);
            return int(colours.size() - 1);
        }
        // Full: the nearest colour.
        int best = 1;
        int bestDistance = INT_MAX;
        for (std::size_t i = 1; i < colours.size(); ++i) {
            const int dr = qRed(colours[i]) - qRed(opaque);
            const int dg = qGreen(colours[i]) - qGreen(opaque);
            const int db = qBlue(colours[i]) - qBlue(opaque);
            const int distance = dr * dr + dg * dg + db * db;
            if (distance < bestDistance) {
                bestDistance = distance;
                best = int(i);
            }
        }
        return best;
    }
};

// Reduces an image to at most 255 opaque colours by cutting the low bits
// of every channel until it fits.
QImage posterized(const QImage& source, int keepBits)
{
    QImage image = source.convertToFormat(QImage::Format_ARGB32);
    const int mask = (0xFF << (8 - keepBits)) & 0xFF;
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const QRgb p = line[x];
            line[x] = qRgba(qRed(p) & mask, qGreen(p) & mask, qBlue(p) & mask, qAlpha(p) < 128 ? 0 : 255);
        }
    }
    return image;
}

int countColours(const QImage& image)
{
    QList<QRgb> seen;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QRgb p = image.pixel(x, y);
            if (qAlpha(p) >= 128 && !seen.contains(p)) {
                seen.append(p);
                if (seen.size() > 255)
                    return int(seen.size());
            }
        }
    return int(seen.size());
}

// Writes the frames (all of one size) as a GIF; more than one frame loops
// forever with the delay (hundredths of a second) between frames.
bool writeGif(const QString& path, const std::vector<QImage>& sourceFrames, int delay = 0)
{
    std::vector<QImage> frames;
    for (const QImage& frame : sourceFrames) {
        int bits = 8;
        QImage reduced = posterized(frame, bits);
        while (countColours(reduced) > 255 && bits > 3)
            reduced = posterized(frame, --bits);
        frames.push_back(reduced);
    }
    const int width = frames.front().width();
    const int height = frames.front().height();
    Palette palette;
    std::vector<std::vector<quint8>> indexes;
    for (const QImage& frame : frames) {
        std::vector<quint8> pixels;
        pixels.reserve(std::size_t(width * height));
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                pixels.push_back(quint8(palette.indexOf(frame.pixel(x, y))));
        indexes.push_back(std::move(pixels));
    }

    QByteArray out("GIF89a");
    putShort(out, width);
    putShort(out, height);
    // A global table of 256 entries (size field 7), 8 bits per channel.
    out.append(char(0x80 | 0x70 | 0x07));
    out.append(char(0));
    out.append(char(0));
    for (int i = 0; i < 256; ++i) {
        const QRgb c = i < int(palette.colours.size()) ? palette.colours[std::size_t(i)] : 0;
        out.append(char(qRed(c)));
        out.append(char(qGreen(c)));
        out.append(char(qBlue(c)));
    }
    if (frames.size() > 1) {
        out.append("\x21\xFF\x0B" "NETSCAPE2.0" "\x03\x01", 16);
        putShort(out, 0);
        out.append(char(0));
    }
    for (const std::vector<quint8>& pixels : indexes) {
        // Graphic control: restore to background, clear colour 0.
        out.append("\x21\xF9\x04", 3);
        out.append(char((2 << 2) | 0x01));
        putShort(out, delay);
        out.append(char(0));
        out.append(char(0));
        // Image descriptor, no local table.
        out.append(char(0x2C));
        putShort(out, 0);
        putShort(out, 0);
        putShort(out, width);
        putShort(out, height);
        out.append(char(0));
        // Image data: minimum code size 8, 9-bit codes; a clear code comes
        // before the decoder's table would need 10 bits, so every code is a
        // single pixel.
        out.append(char(8));
        CodeWriter codes;
        constexpr int clearCode = 256;
        constexpr int endCode = 257;
        codes.put(clearCode, 9);
        int sinceClear = 0;
        for (quint8 pixel : pixels) {
            if (sinceClear == 250) {
                codes.put(clearCode, 9);
                sinceClear = 0;
            }
            codes.put(pixel, 9);
            ++sinceClear;
        }
        codes.put(endCode, 9);
        out.append(codes.finish());
    }
    out.append(char(0x3B));

    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    return file.write(out) == out.size();
}

// --- The pictures --------------------------------------------------------------------------------

QImage clearImage(int width, int height)
{
    QImage image(width, height, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    return image;
}

// A round button with a white sign on a dark disc.
QImage roundButton(int size, const std::function<void(QPainter&, const QRectF&)>& sign)
{
    QImage image = clearImage(size, size);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing, false);
    const QRectF disc(1, 1, size - 2, size - 2);
    p.setPen(QPen(QColor(255, 255, 255), 2));
    p.setBrush(QColor(40, 44, 52));
    p.drawEllipse(disc);
    p.setPen(QPen(QColor(255, 255, 255), 3, Qt::SolidLine, Qt::SquareCap));
    sign(p, disc.adjusted(size * 0.3, size * 0.3, -size * 0.3, -size * 0.3));
    return image;
}

// A lightbox arrow: a wide clear strip with a round arrow button at one side.
QImage arrowButton(bool next)
{
    constexpr int width = 64;
    constexpr int height = 36;
    QImage image = clearImage(width, height);
    QPainter p(&image);
    const QImage button = roundButton(32, [next](QPainter& q, const QRectF& r) {
        QPainterPath arrow;
        if (next) {
            arrow.moveTo(r.left() + 2, r.top());
            arrow.lineTo(r.right() - 1, r.center().y());
            arrow.lineTo(r.left() + 2, r.bottom());
        } else {
            arrow.moveTo(r.right() - 2, r.top());
            arrow.lineTo(r.left() + 1, r.center().y());
            arrow.lineTo(r.right() - 2, r.bottom());
        }
        q.setBrush(Qt::NoBrush);
        q.drawPath(arrow);
    });
    p.drawImage(next ? width - 34 : 2, 2, button);
    return image;
}

// The loading spinner: eight dots, one bright, going round.
std::vector<QImage> spinnerFrames()
{
    std::vector<QImage> frames;
    constexpr int size = 32;
    for (int frame = 0; frame < 8; ++frame) {
        QImage image = clearImage(size, size);
        QPainter p(&image);
        p.setPen(Qt::NoPen);
        for (int dot = 0; dot < 8; ++dot) {
            const double angle = (dot * 45.0 - 90.0) * M_PI / 180.0;
            const int age = (frame - dot + 8) % 8;
            const int shade = 90 + age * 20;
            p.setBrush(QColor(shade, shade, shade));
            const QPointF centre(size / 2.0 + 11 * std::cos(angle), size / 2.0 + 11 * std::sin(angle));
            p.drawEllipse(centre, 3, 3);
        }
        frames.push_back(image);
    }
    return frames;
}

QImage createdWithBadge()
{
    QImage image(99, 31, QImage::Format_ARGB32);
    image.fill(QColor(255, 255, 255));
    QPainter p(&image);
    p.setPen(QColor(52, 86, 140));
    p.setBrush(QColor(236, 242, 250));
    p.drawRect(0, 0, 98, 30);
    // A small quill.
    p.setRenderHint(QPainter::Antialiasing, true);
    QPainterPath quill;
    quill.moveTo(6, 25);
    quill.cubicTo(10, 14, 16, 8, 22, 5);
    quill.cubicTo(20, 12, 15, 19, 6, 25);
    p.setBrush(QColor(52, 86, 140));
    p.drawPath(quill);
    QFont small(QStringLiteral("DejaVu Sans"));
    small.setPixelSize(8);
    p.setFont(small);
    p.setPen(QColor(60, 64, 72));
    p.drawText(QRectF(25, 3, 72, 11), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("created with"));
    QFont bold(QStringLiteral("DejaVu Sans"));
    bold.setPixelSize(11);
    bold.setBold(true);
    p.setFont(bold);
    p.setPen(QColor(52, 86, 140));
    p.drawText(QRectF(25, 14, 72, 14), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Lumenquill"));
    return image;
}

// A rounded shop button with a label.
QImage shopButton(int width, const QString& label, const QColor& top, const QColor& bottom)
{
    constexpr int height = 26;
    QImage image = clearImage(width, height);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing, true);
    QLinearGradient gradient(0, 0, 0, height);
    gradient.setColorAt(0, top);
    gradient.setColorAt(1, bottom);
    p.setBrush(gradient);
    p.setPen(QPen(bottom.darker(140), 1));
    p.drawRoundedRect(QRectF(0.5, 0.5, width - 1, height - 1), 11, 11);
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(12);
    font.setBold(true);
    p.setFont(font);
    p.setPen(QColor(30, 30, 40));
    p.drawText(QRectF(0, 0, width, height), Qt::AlignCenter, label);
    return image;
}

bool report(bool ok, const QString& path)
{
    std::printf("%s %s\n", ok ? "wrote" : "FAILED", qPrintable(path));
    return ok;
}

} // namespace

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s <resources folder>\n", argv[0]);
        return 2;
    }
    const QDir folder(QString::fromLocal8Bit(argv[1]) + QStringLiteral("/site"));
    QDir().mkpath(folder.path());
    const auto at = [&](const char* name) { return folder.filePath(QLatin1String(name)); };

    bool ok = true;
    ok &= report(writeGif(at("blank.gif"), { clearImage(1, 1) }), at("blank.gif"));
    ok &= report(writeGif(at("transparent.gif"), { clearImage(1, 1) }), at("transparent.gif"));
    ok &= report(writeGif(at("close.gif"), { roundButton(28, [](QPainter& p, const QRectF& r) {
                     p.drawLine(r.topLeft(), r.bottomRight());
                     p.drawLine(r.topRight(), r.bottomLeft());
                 }) }),
                 at("close.gif"));
    ok &= report(writeGif(at("loading.gif"), spinnerFrames(), 10), at("loading.gif"));
    ok &= report(writeGif(at("next.gif"), { arrowButton(true) }), at("next.gif"));
    ok &= report(writeGif(at("prev.gif"), { arrowButton(false) }), at("prev.gif"));
    ok &= report(writeGif(at("createdwith.gif"), { createdWithBadge() }), at("createdwith.gif"));
    ok &= report(shopButton(86, QStringLiteral("Buy Now"), QColor(255, 214, 110), QColor(240, 160, 40)).save(at("buynow.png")),
                 at("buynow.png"));
    ok &= report(shopButton(96, QStringLiteral("Add to Cart"), QColor(255, 214, 110), QColor(240, 160, 40))
                     .save(at("addtocart.png")),
                 at("addtocart.png"));
    return ok ? 0 : 1;
}
