// Draws the application icon "images/lumenquill.png" (256 by 256), the same
// picture as "images/lumenquill.svg": a page with a picture and text lines on
// a blue tile, and a quill.
//
// Build and run from the repository root:
//   g++ -std=c++20 -fPIC tools/make_app_icon.cpp -o /tmp/make_app_icon $(pkg-config --cflags --libs Qt6Gui)
//   QT_QPA_PLATFORM=offscreen /tmp/make_app_icon resources
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>

#include <cstdio>

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: make_app_icon RESOURCE_FOLDER\n");
        return 1;
    }
    QImage icon(256, 256, QImage::Format_ARGB32);
    icon.fill(Qt::transparent);
    QPainter p(&icon);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(2.0, 2.0);   // drawn on the SVG's 128-unit grid
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x1d, 0x4e, 0x89));
    p.drawRoundedRect(QRectF(6, 6, 116, 116), 22, 22);
    p.setBrush(QColor(0xf4, 0xf1, 0xe8));
    p.drawRoundedRect(QRectF(22, 26, 84, 64), 6, 6);
    p.setBrush(QColor(0xf2, 0xa5, 0x41));
    p.drawRoundedRect(QRectF(22, 26, 84, 12), 6, 6);
    p.fillRect(QRectF(30, 46, 30, 36), QColor(0x7f, 0xb7, 0xbe));
    for (const QRectF& line : {QRectF(66, 48, 32, 5), QRectF(66, 60, 28, 5), QRectF(66, 72, 32, 5)})
        p.fillRect(line, QColor(0x1d, 0x4e, 0x89));
    QPainterPath quill;
    quill.moveTo(92, 112);
    quill.lineTo(112, 64);
    quill.lineTo(118, 68);
    quill.lineTo(100, 114);
    quill.closeSubpath();
    p.setBrush(QColor(0xf2, 0xa5, 0x41));
    p.drawPath(quill);
    QPainterPath nib;
    nib.moveTo(92, 112);
    nib.lineTo(100, 114);
    nib.lineTo(94, 120);
    nib.closeSubpath();
    p.setBrush(QColor(0xf4, 0xf1, 0xe8));
    p.drawPath(nib);
    p.end();
    const QString path = QString::fromLocal8Bit(argv[1]) + QStringLiteral("/images/lumenquill.png");
    if (!icon.save(path)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        return 1;
    }
    return 0;
}
