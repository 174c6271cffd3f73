// Draws the application's own resource pictures: the stand-in picture
// "images/noimage.png", the photo editor's cursors "images/Cross.png",
// "images/boxcursor.png" and "images/fingerCursor.png", the border sample
// "images/border.png", the 16-pixel icons that the element outlines show
// beside each element's name ("images/xmlhomepage.png", "xmlalbum",
// "xmlgroup", "trash", "xmlfiles", "xmlpage"; the photo library's "iphoto",
// "iphotoalbum", "iphotofolder", "iphotosmart", "iphotobook",
// "iphotoslideshow") and the seven template icons
// "templates/ticon1.png" to "templates/ticon7.png", each a schematic page
// layout.
//
// Built and run by the build's "resource_images" target:
//   cmake --build <build folder> --target resource_images
#include <QColor>
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QRectF>

#include <cstdio>
#include <functional>
#include <utility>

namespace {

const QColor paper(255, 255, 255);
const QColor edge(120, 126, 136);
const QColor header(52, 86, 140);
const QColor nav(150, 170, 200);
const QColor textLine(190, 194, 200);
const QColor photo(176, 204, 232);
const QColor hill(96, 150, 110);
const QColor sun(245, 196, 70);

constexpr int iconWidth = 96;
constexpr int iconHeight = 96;

// A small landscape: sky, a sun and two hills, clipped to the rectangle.
void drawPhoto(QPainter& p, const QRectF& r)
{
    p.save();
    p.setClipRect(r);
    p.fillRect(r, photo);
    p.setPen(Qt::NoPen);
    p.setBrush(sun);
    const qreal s = std::min(r.width(), r.height());
    p.drawEllipse(QPointF(r.right() - s * 0.28, r.top() + s * 0.28), s * 0.12, s * 0.12);
    QPainterPath hills;
    hills.moveTo(r.left(), r.bottom());
    hills.lineTo(r.left() + r.width() * 0.35, r.top() + r.height() * 0.45);
    hills.lineTo(r.left() + r.width() * 0.6, r.top() + r.height() * 0.75);
    hills.lineTo(r.left() + r.width() * 0.78, r.top() + r.height() * 0.58);
    hills.lineTo(r.right(), r.bottom());
    hills.closeSubpath();
    p.setBrush(hill);
    p.drawPath(hills);
    p.restore();
}

// Grey lines standing for running text.
void drawText(QPainter& p, const QRectF& r, qreal pitch = 5)
{
    int line = 0;
    for (qreal y = r.top() + 1; y + 2 <= r.bottom(); y += pitch, ++line) {
        const qreal width = (line % 4 == 3) ? r.width() * 0.6 : r.width();
        p.fillRect(QRectF(r.left(), y, width, 2), textLine);
    }
}

// A page with its edge, the rest drawn by the layout.
QImage drawPage(const std::function<void(QPainter&, const QRectF&)>& layout)
{
    QImage image(iconWidth, iconHeight, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF page(12.5, 4.5, 71, 87);
    p.setPen(QPen(edge, 1));
    p.setBrush(paper);
    p.drawRect(page);
    p.setPen(Qt::NoPen);
    layout(p, page.adjusted(4.5, 4.5, -4, -4));
    p.end();
    return image;
}

QRectF headerBar(QPainter& p, const QRectF& area)
{
    const QRectF bar(area.left(), area.top(), area.width(), 10);
    p.fillRect(bar, header);
    p.fillRect(QRectF(bar.left() + 3, bar.top() + 4, 22, 2), paper);
    return QRectF(area.left(), bar.bottom() + 3, area.width(), area.bottom() - bar.bottom() - 3);
}

QRectF footerBar(QPainter& p, const QRectF& area)
{
    const QRectF bar(area.left(), area.bottom() - 4, area.width(), 4);
    p.fillRect(bar, nav);
    return QRectF(area.left(), area.top(), area.width(), area.height() - 7);
}

// A column of navigation buttons.
void drawNav(QPainter& p, const QRectF& r)
{
    for (qreal y = r.top(); y + 4 <= r.bottom() && y < r.top() + 40; y += 7)
        p.fillRect(QRectF(r.left(), y, r.width(), 4), nav);
}

// A row of navigation tabs.
void drawTabs(QPainter& p, const QRectF& r)
{
    const int tabs = 4;
    const qreal w = (r.width() - (tabs - 1) * 2) / tabs;
    for (int i = 0; i < tabs; ++i)
        p.fillRect(QRectF(r.left() + i * (w + 2), r.top(), w, r.height()), nav);
}

void drawGrid(QPainter& p, const QRectF& r, int columns, int rows)
{
    const qreal gap = 3;
    const qreal w = (r.width() - (columns - 1) * gap) / columns;
    const qreal h = (r.height() - (rows - 1) * gap) / rows;
    for (int row = 0; row < rows; ++row)
        for (int column = 0; column < columns; ++column)
            drawPhoto(p, QRectF(r.left() + column * (w + gap), r.top() + row * (h + gap), w, h));
}

// 1: header, one column of text, footer.
void singleColumn(QPainter& p, const QRectF& area)
{
    QRectF body = footerBar(p, headerBar(p, area));
    drawText(p, body);
}

// 2: header, navigation at the left, text.
void leftNavigation(QPainter& p, const QRectF& area)
{
    const QRectF body = footerBar(p, headerBar(p, area));
    drawNav(p, QRectF(body.left(), body.top(), 16, body.height()));
    drawText(p, QRectF(body.left() + 20, body.top(), body.width() - 20, body.height()));
}

// 3: header, tabs, a grid of photos.
void photoGrid(QPainter& p, const QRectF& area)
{
    const QRectF body = headerBar(p, area);
    drawTabs(p, QRectF(body.left(), body.top(), body.width(), 4));
    drawGrid(p, QRectF(body.left(), body.top() + 8, body.width(), body.height() - 8), 3, 4);
}

// 4: header, two columns of text.
void twoColumns(QPainter& p, const QRectF& area)
{
    const QRectF body = footerBar(p, headerBar(p, area));
    const qreal w = (body.width() - 4) / 2;
    drawText(p, QRectF(body.left(), body.top(), w, body.height()));
    drawText(p, QRectF(body.left() + w + 4, body.top(), w, body.height()));
}

// 5: header, text with a photo, sidebar at the right.
void rightSidebar(QPainter& p, const QRectF& area)
{
    const QRectF body = footerBar(p, headerBar(p, area));
    const QRectF side(body.right() - 16, body.top(), 16, body.height());
    p.fillRect(side, QColor(232, 236, 242));
    drawNav(p, side.adjusted(2, 2, -2, -2));
    const QRectF main(body.left(), body.top(), body.width() - 20, body.height());
    drawPhoto(p, QRectF(main.left(), main.top(), main.width(), 20));
    drawText(p, QRectF(main.left(), main.top() + 24, main.width(), main.height() - 24));
}

// 6: tabs over one large photo with a caption strip: a slideshow page.
void slideshow(QPainter& p, const QRectF& area)
{
    const QRectF body = headerBar(p, area);
    drawTabs(p, QRectF(body.left(), body.top(), body.width(), 4));
    const QRectF stage(body.left(), body.top() + 8, body.width(), body.height() - 22);
    p.fillRect(stage, QColor(40, 44, 52));
    drawPhoto(p, stage.adjusted(4, 4, -4, -4));
    drawText(p, QRectF(body.left() + 8, stage.bottom() + 4, body.width() - 16, 10));
}

// 7: header, a collage of photos of mixed sizes.
void collage(QPainter& p, const QRectF& area)
{
    const QRectF body = headerBar(p, area);
    const qreal gap = 3;
    const qreal half = (body.width() - gap) / 2;
    drawPhoto(p, QRectF(body.left(), body.top(), half, 30));
    drawPhoto(p, QRectF(body.left() + half + gap, body.top(), half, 13.5));
    drawPhoto(p, QRectF(body.left() + half + gap, body.top() + 16.5, half, 13.5));
    const qreal third = (body.width() - 2 * gap) / 3;
    for (int i = 0; i < 3; ++i)
        drawPhoto(p, QRectF(body.left() + i * (third + gap), body.top() + 33, third, 16));
    drawPhoto(p, QRectF(body.left(), body.top() + 52, body.width(), body.height() - 52));
}

// The stand-in for a picture that cannot be read: a framed landscape, struck through.
QImage drawNoImage()
{
    QImage image(128, 96, QImage::Format_ARGB32_Premultiplied);
    image.fill(QColor(236, 238, 241));
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(edge, 2, Qt::DashLine));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(4, 4, 120, 88));
    const QRectF picture(34, 22, 60, 46);
    drawPhoto(p, picture);
    p.setPen(QPen(edge, 1.5));
    p.drawRect(picture);
    p.setPen(QPen(QColor(200, 60, 60), 5, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(28, 76), QPointF(100, 14));
    p.end();
    return image;
}

// Cursors: black lines with a white halo, so that they show on any picture.
QImage cursorImage(int size, const std::function<void(QPainter&)>& shape)
{
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(Qt::white, 3, Qt::SolidLine, Qt::SquareCap));
    shape(p);
    p.setPen(QPen(Qt::black, 1, Qt::SolidLine, Qt::SquareCap));
    shape(p);
    return image;
}

// A cross hair with an open centre; the hot spot is the middle pixel.
QImage drawCrossCursor()
{
    return cursorImage(17, [](QPainter& p) {
        p.drawLine(QPointF(8.5, 1.5), QPointF(8.5, 6.5));
        p.drawLine(QPointF(8.5, 10.5), QPointF(8.5, 15.5));
        p.drawLine(QPointF(1.5, 8.5), QPointF(6.5, 8.5));
        p.drawLine(QPointF(10.5, 8.5), QPointF(15.5, 8.5));
    });
}

// A small box round the hot spot (8, 8), which is marked.
QImage drawBoxCursor()
{
    QImage image = cursorImage(16, [](QPainter& p) { p.drawRect(QRectF(4.5, 4.5, 8, 8)); });
    image.setPixel(8, 8, qRgb(0, 0, 0));
    return image;
}

// A hand pointing up; the fingertip is the hot spot (8, 0).
QImage drawFingerCursor()
{
    QImage image(16, 16, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QPainterPath hand;
    hand.addRoundedRect(QRectF(6.5, 0.5, 3.5, 9), 1.7, 1.7);
    hand.addRoundedRect(QRectF(3.5, 6.5, 10, 8.5), 2.5, 2.5);
    hand = hand.simplified();
    p.setPen(QPen(Qt::black, 1));
    p.setBrush(Qt::white);
    p.drawPath(hand);
    p.drawLine(QPointF(6.5, 9.5), QPointF(6.5, 11.5));
    p.drawLine(QPointF(10, 9.5), QPointF(10, 11.5));
    return image;
}

// The sample picture of the border panel: a framed photo with its shadow.
QImage drawBorderSample()
{
    QImage image(120, 90, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.fillRect(QRectF(14, 14, 100, 70), QColor(0, 0, 0, 60));
    p.fillRect(QRectF(6, 6, 100, 70), paper);
    drawPhoto(p, QRectF(12, 12, 88, 58));
    p.setPen(QPen(edge, 1));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(6.5, 6.5, 99, 69));
    return image;
}

// --- Element icons, 16 x 16 ------------------------------------------------------------

const QColor ink(70, 76, 88);
const QColor folderTab(222, 178, 82);
const QColor folderBody(240, 200, 106);

QImage drawIcon(const std::function<void(QPainter&)>& draw)
{
    QImage image(16, 16, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    draw(p);
    p.end();
    return image;
}

// The home page: a house.
void homeIcon(QPainter& p)
{
    QPainterPath roof;
    roof.moveTo(1.5, 8);
    roof.lineTo(8, 1.5);
    roof.lineTo(14.5, 8);
    roof.closeSubpath();
    p.setPen(QPen(ink, 1));
    p.setBrush(header);
    p.drawPath(roof);
    p.setBrush(paper);
    p.drawRect(QRectF(3.5, 8, 9, 6.5));
    p.fillRect(QRectF(7, 10.5, 2.5, 4), ink);
}

// An album page: two photos, one over the other.
void albumIcon(QPainter& p)
{
    p.setPen(QPen(ink, 1));
    p.setBrush(paper);
    p.drawRect(QRectF(4.5, 1.5, 10, 8));
    p.drawRect(QRectF(1.5, 5.5, 11, 9));
    drawPhoto(p, QRectF(2.5, 6.5, 9.5, 7.5));
}

// A group page, and a folder of files: a folder.
void folderIcon(QPainter& p)
{
    p.setPen(QPen(ink, 1));
    p.setBrush(folderTab);
    p.drawRect(QRectF(1.5, 2.5, 6, 3));
    p.setBrush(folderBody);
    p.drawRect(QRectF(1.5, 4.5, 13, 9.5));
}

// The trash: a bin with a lid.
void trashIcon(QPainter& p)
{
    p.setPen(QPen(ink, 1));
    p.setBrush(QColor(214, 218, 224));
    QPainterPath bin;
    bin.moveTo(3.5, 4.5);
    bin.lineTo(12.5, 4.5);
    bin.lineTo(11.5, 14.5);
    bin.lineTo(4.5, 14.5);
    bin.closeSubpath();
    p.drawPath(bin);
    p.drawRect(QRectF(2.5, 2.5, 11, 2));
    p.drawLine(QPointF(6.5, 6.5), QPointF(6.5, 12.5));
    p.drawLine(QPointF(9.5, 6.5), QPointF(9.5, 12.5));
}

// The site's own files: a drawer of pages.
void filesIcon(QPainter& p)
{
    p.setPen(QPen(ink, 1));
    p.setBrush(paper);
    p.drawRect(QRectF(2.5, 1.5, 7, 9));
    p.drawRect(QRectF(6.5, 3.5, 7, 8));
    for (qreal y = 5.5; y < 9; y += 2)
        p.fillRect(QRectF(8, y, 4, 1), textLine);
    p.setBrush(nav);
    p.drawRect(QRectF(1.5, 9.5, 13, 5));
    p.fillRect(QRectF(6, 11.5, 4, 1.5), ink);
}

// A file: a page with a folded corner and lines of text.
void pageIcon(QPainter& p)
{
    QPainterPath page;
    page.moveTo(3.5, 1.5);
    page.lineTo(9.5, 1.5);
    page.lineTo(12.5, 4.5);
    page.lineTo(12.5, 14.5);
    page.lineTo(3.5, 14.5);
    page.closeSubpath();
    p.setPen(QPen(ink, 1));
    p.setBrush(paper);
    p.drawPath(page);
    p.drawLine(QPointF(9.5, 1.5), QPointF(9.5, 4.5));
    p.drawLine(QPointF(9.5, 4.5), QPointF(12.5, 4.5));
    for (qreal y = 7; y < 14; y += 2.5)
        p.fillRect(QRectF(5, y, 6, 1), textLine);
}

// --- The photo library's icons --------------------------------------------------------

// The library: a camera.
void libraryIcon(QPainter& p)
{
    p.setPen(QPen(ink, 1));
    p.setBrush(QColor(96, 104, 118));
    p.drawRoundedRect(QRectF(1.5, 4.5, 13, 9), 1.5, 1.5);
    p.drawRect(QRectF(5.5, 2.5, 5, 2));
    p.setBrush(photo);
    p.drawEllipse(QPointF(8, 9), 3, 3);
    p.fillRect(QRectF(11.5, 5.5, 2, 1.5), sun);
}

// An album of the library: a framed photo.
void libraryAlbumIcon(QPainter& p)
{
    p.setPen(QPen(ink, 1));
    p.setBrush(paper);
    p.drawRect(QRectF(1.5, 2.5, 13, 11));
    drawPhoto(p, QRectF(3, 4, 10, 8));
}

// A folder of albums: a folder with a photo on it.
void libraryFolderIcon(QPainter& p)
{
    folderIcon(p);
    drawPhoto(p, QRectF(5, 7, 7, 5));
}

// A smart album: a photo with a cog.
void librarySmartIcon(QPainter& p)
{
    libraryAlbumIcon(p);
    p.setPen(QPen(ink, 1));
    p.setBrush(QColor(150, 110, 200));
    p.drawEllipse(QPointF(11, 11), 3.5, 3.5);
    p.setBrush(paper);
    p.drawEllipse(QPointF(11, 11), 1.2, 1.2);
}

// A book: a closed book with a photo on its cover.
void libraryBookIcon(QPainter& p)
{
    p.setPen(QPen(ink, 1));
    p.setBrush(QColor(160, 70, 60));
    p.drawRect(QRectF(2.5, 1.5, 11, 13));
    p.fillRect(QRectF(3, 2, 2, 12), QColor(120, 50, 44));
    drawPhoto(p, QRectF(6, 4, 6, 5));
}

// A slideshow: a screen with a play sign.
void librarySlideshowIcon(QPainter& p)
{
    p.setPen(QPen(ink, 1));
    p.setBrush(photo);
    p.drawRect(QRectF(1.5, 2.5, 13, 9));
    p.drawLine(QPointF(8, 11.5), QPointF(8, 14.5));
    p.drawLine(QPointF(5, 14.5), QPointF(11, 14.5));
    QPainterPath play;
    play.moveTo(6.5, 4.5);
    play.lineTo(10.5, 7);
    play.lineTo(6.5, 9.5);
    play.closeSubpath();
    p.setBrush(paper);
    p.drawPath(play);
}

bool save(const QImage& image, const QString& path)
{
    if (!QDir().mkpath(QFileInfo(path).path()) || !image.save(path, "png")) {
        std::fprintf(stderr, "could not write %s\n", qPrintable(path));
        return false;
    }
    std::printf("%s\n", qPrintable(path));
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    const QString resources = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("resources");
    bool ok = save(drawNoImage(), resources + QStringLiteral("/images/noimage.png"));
    ok = save(drawCrossCursor(), resources + QStringLiteral("/images/Cross.png")) && ok;
    ok = save(drawBoxCursor(), resources + QStringLiteral("/images/boxcursor.png")) && ok;
    ok = save(drawFingerCursor(), resources + QStringLiteral("/images/fingerCursor.png")) && ok;
    ok = save(drawBorderSample(), resources + QStringLiteral("/images/border.png")) && ok;
    const std::pair<const char*, std::function<void(QPainter&)>> icons[] = {
        { "xmlhomepage", homeIcon }, { "xmlalbum", albumIcon }, { "xmlgroup", folderIcon },
        { "trash", trashIcon }, { "xmlfiles", filesIcon }, { "xmlpage", pageIcon },
        { "iphoto", libraryIcon }, { "iphotoalbum", libraryAlbumIcon }, { "iphotofolder", libraryFolderIcon },
        { "iphotosmart", librarySmartIcon }, { "iphotobook", libraryBookIcon }, { "iphotoslideshow", librarySlideshowIcon },
    };
    for (const auto& [name, draw] : icons)
        ok = save(drawIcon(draw), resources + QStringLiteral("/images/%1.png").arg(QLatin1String(name))) && ok;
    const std::function<void(QPainter&, const QRectF&)> layouts[] = {
        singleColumn, leftNavigation, photoGrid, twoColumns, rightSidebar, slideshow, collage,
    };
    int number = 1;
    for (const auto& layout : layouts)
        ok = save(drawPage(layout), resources + QStringLiteral("/templates/ticon%1.png").arg(number++)) && ok;
    return ok ? 0 : 1;
}
