#include "model/site/XmlAlbum.h"
#include "model/site/XmlHomePage.h"
#include "model/site/XmlMasthead.h"
#include "model/site/XmlSite.h"
#include "platform/graphics/GraphicsImage.h"
#include "templates/BoxBorderDrawing.h"
#include "templates/XmlBoxModel.h"
#include "templates/XmlWebFont.h"
#include "support/Printers.h"

#include <gtest/gtest.h>

#include <QImage>

#include <functional>
#include <map>

namespace {

// A box placed absolutely at a fixed size.
class PlacedBox : public XmlBoxModel {
public:
    explicit PlacedBox(Key key) : XmlBoxModel(key) {}
    static std::shared_ptr<PlacedBox> create(const lq::Rect& rect)
    {
        auto box = make<PlacedBox>();
        box->_widthFixed = true;
        box->_heightFixed = true;
        box->_absolute = true;
        box->_left = static_cast<int>(rect.x());
        box->_top = static_cast<int>(rect.y());
        box->_width = static_cast<int>(rect.width());
        box->_height = static_cast<int>(rect.height());
        return box;
    }
};

// What the drawing leaves on a transparent canvas of the size.
QImage drawn(int w, int h, const std::function<void()>& draw)
{
    lq::GraphicsImage canvas = lq::GraphicsImage::withSize(lq::Size(static_cast<float>(w), static_cast<float>(h)));
    {
        lq::GraphicsImage::Focus focus(canvas);
        draw();
    }
    return canvas.toQImage();
}

const lq::Colour red(1, 0, 0);
const lq::Colour green(0, 1, 0);
const lq::Colour blue(0, 0, 1);
const lq::Colour yellow(1, 1, 0);

// Each colour of the tests as one letter: the side colours in capitals,
// their dark shades in small letters, "." for nothing drawn, "?" for any
// other pixel.
char letterFor(const QImage& image, int x, int y)
{
    const QColor pixel = image.pixelColor(x, y);
    if (pixel.alpha() == 0)
        return '.';
    static const std::map<char, lq::Colour> letters {
        { 'R', red }, { 'G', green }, { 'B', blue }, { 'Y', yellow },
        { 'r', lq::Colour(0.5f, 0, 0) }, { 'g', lq::Colour(0, 0.5f, 0) },
        { 'b', lq::Colour(0, 0, 0.5f) }, { 'y', lq::Colour(0.5f, 0.5f, 0) },
    };
    for (const auto& [letter, colour] : letters) {
        if (pixel.rgba() == colour.toQColor().rgba())
            return letter;
    }
    return '?';
}

std::string row(const QImage& image, int y, int x0, int x1)
{
    std::string letters;
    for (int x = x0; x < x1; ++x)
        letters += letterFor(image, x, y);
    return letters;
}

std::string column(const QImage& image, int x, int y0, int y1)
{
    std::string letters;
    for (int y = y0; y < y1; ++y)
        letters += letterFor(image, x, y);
    return letters;
}

void drawBorder(const lq::Rect& rect, int type, int t, int l, int b, int r)
{
    BoxBorderDrawing::drawBorderBtypeTopLeftBottomRightTColorLColorBColorRColor(
        rect, static_cast<XmlBoxModel::BorderType>(type), t, l, b, r, red, green, blue, yellow);
}

} // namespace

TEST(XmlBoxDrawing, TopBorderPatternsAlongTheSide)
{
    struct Case {
        const char* what;
        int type;
        int width; // of the rectangle
        int n;     // of the top border
        std::string pattern;
    };
    const std::vector<Case> cases {
        { "solid", 0, 12, 2, "RRRRRRRRRRRR" },
        { "dotted 2 on 20", 2, 20, 2, "RRR..RR..RR..RR..RRR" },
        { "dotted 1 on 7", 2, 7, 1, "R.R.R.R" },
        { "dashed 2 on 30", 3, 30, 2, "RRRRRR......RRRRRR......RRRRRR" },
        { "dashed 2 on 9", 3, 9, 2, "RR.....RR" },
        { "dashed 2 on 8", 3, 8, 2, "RRRRRRRR" },
    };
    for (const Case& c : cases) {
        const QImage image = drawn(c.width + 4, 14, [&] { drawBorder(lq::Rect(2, 2, static_cast<float>(c.width), 10), c.type, c.n, 0, 0, 0); });
        EXPECT_EQ(row(image, 2, 2, 2 + c.width), c.pattern) << c.what;
        EXPECT_EQ(row(image, 2 + c.n, 2, 2 + c.width), std::string(static_cast<std::size_t>(c.width), '.')) << c.what;
        // Nothing outside the rectangle.
        EXPECT_EQ(row(image, 1, 0, c.width + 4), std::string(static_cast<std::size_t>(c.width + 4), '.')) << c.what;
    }
}

TEST(XmlBoxDrawing, LeftAndRightSidesRunDownTheHeight)
{
    // Dotted 2 down a height of 20 at the left, dashed 2 down 30 at the right.
    const QImage dotted = drawn(14, 24, [] { drawBorder(lq::Rect(2, 2, 10, 20), 2, 0, 2, 0, 0); });
    EXPECT_EQ(column(dotted, 2, 2, 22), "GGG..GG..GG..GG..GGG");
    EXPECT_EQ(column(dotted, 3, 2, 22), "GGG..GG..GG..GG..GGG");
    EXPECT_EQ(column(dotted, 4, 2, 22), std::string(20, '.'));

    const QImage dashed = drawn(14, 34, [] { drawBorder(lq::Rect(2, 2, 10, 30), 3, 0, 0, 0, 2); });
    EXPECT_EQ(column(dashed, 11, 2, 32), "YYYYYY......YYYYYY......YYYYYY");
    EXPECT_EQ(column(dashed, 9, 2, 32), std::string(30, '.'));

    // The bottom side lies at the rectangle's bottom edge.
    const QImage bottom = drawn(24, 14, [] { drawBorder(lq::Rect(2, 2, 20, 10), 2, 0, 0, 2, 0); });
    EXPECT_EQ(row(bottom, 11, 2, 22), "BBB..BB..BB..BB..BBB");
    EXPECT_EQ(row(bottom, 9, 2, 22), std::string(20, '.'));
}

TEST(XmlBoxDrawing, DoubleBordersSplitIntoTwoBands)
{
    struct Case {
        int n;
        std::string across; // from the outer edge inward
    };
    const std::vector<Case> cases {
        { 1, "R.." },   // like solid
        { 2, "RR.." },  // two bands, no gap
        { 3, "R.R.." }, // one-pixel bands and gap
        { 5, "RR.RR.." },
        { 6, "RR..RR.." },
    };
    for (const Case& c : cases) {
        const QImage image = drawn(24, 24, [&] { drawBorder(lq::Rect(2, 2, 20, 20), 1, c.n, 0, 0, 0); });
        EXPECT_EQ(column(image, 12, 2, 2 + static_cast<int>(c.across.size())), c.across) << c.n;
    }
}

TEST(XmlBoxDrawing, GrooveAndRidgeShadeOppositeSides)
{
    struct Case {
        const char* what;
        int type, n;
        std::string top, bottom, left, right; // each from the outside in... top/left read downward/rightward
    };
    const std::vector<Case> cases {
        { "groove 4", 4, 4, "rrRR.", ".bbBB", "ggGG.", ".yyYY" },
        { "ridge 4", 5, 4, "RRrr.", ".BBbb", "GGgg.", ".YYyy" },
        { "groove 1", 4, 1, "r....", "....B", "g....", "....Y" },
        { "ridge 1", 5, 1, "R....", "....b", "G....", "....y" },
    };
    for (const Case& c : cases) {
        const QImage image = drawn(40, 40, [&] { drawBorder(lq::Rect(0, 0, 40, 40), c.type, c.n, c.n, c.n, c.n); });
        EXPECT_EQ(column(image, 20, 0, 5), c.top) << c.what;
        EXPECT_EQ(column(image, 20, 35, 40), c.bottom) << c.what;
        EXPECT_EQ(row(image, 20, 0, 5), c.left) << c.what;
        EXPECT_EQ(row(image, 20, 35, 40), c.right) << c.what;
    }
}

TEST(XmlBoxDrawing, SolidSidesEachTakeTheirOwnWidthAndColour)
{
    const QImage image = drawn(30, 30, [] { drawBorder(lq::Rect(5, 5, 20, 20), 0, 2, 3, 4, 5); });
    EXPECT_EQ(column(image, 14, 4, 26), ".RR" + std::string(14, '.') + "BBBB.");
    EXPECT_EQ(row(image, 14, 4, 26), ".GGG" + std::string(12, '.') + "YYYYY.");

    // Unknown styles draw solid; widths of 0 or less draw nothing.
    const auto sample = [](int type, int n) {
        return drawn(30, 30, [&] { drawBorder(lq::Rect(5, 5, 20, 20), type, n, n, n, n); });
    };
    EXPECT_EQ(sample(7, 3), sample(0, 3));
    EXPECT_EQ(sample(-2, 3), sample(0, 3));
    const QImage blank = drawn(30, 30, [] {});
    for (int type = 0; type <= 5; ++type) {
        EXPECT_EQ(sample(type, 0), blank) << type;
        EXPECT_EQ(sample(type, -3), blank) << type;
    }
}

TEST(XmlBoxDrawing, BoxDrawsItsBackgroundInsideItsBorders)
{
    const auto box = PlacedBox::create(lq::Rect(5, 5, 40, 30));
    box->setBkgnd(1);
    box->setBkgndColor(green);
    box->setBt(2);
    box->setBl(2);
    box->setBb(2);
    box->setBr(2);
    for (auto setter : { &XmlBoxModel::setBtColor, &XmlBoxModel::setBlColor, &XmlBoxModel::setBbColor, &XmlBoxModel::setBrColor })
        ((*box).*setter)(red);

    const QImage solid = drawn(50, 40, [&] { box->drawObject(); });
    EXPECT_EQ(column(solid, 25, 4, 36), ".RR" + std::string(26, 'G') + "RR.");
    EXPECT_EQ(row(solid, 20, 4, 46), ".RR" + std::string(36, 'G') + "RR.");

    // The dots leave the background's own inset uncovered.
    box->setBType(XmlBoxModel::BorderType::Dotted);
    const QImage dotted = drawn(50, 40, [&] { box->drawObject(); });
    EXPECT_EQ(column(dotted, 8, 4, 9), "...GG");
    EXPECT_EQ(column(dotted, 10, 4, 9), ".RRGG");

    // Without a graphics context nothing is drawn and nothing fails.
    EXPECT_NO_THROW(box->drawObject());
}

TEST(XmlBoxDrawing, DropShadowFallsIntoTheStripAtRightAndBottom)
{
    const lq::Colour fill(0.2f, 0.4f, 0.6f);
    const auto box = PlacedBox::create(lq::Rect(10, 10, 100, 50));
    box->setBkgnd(1);
    box->setBkgndColor(fill);
    box->setDropShadow(1);
    const QImage image = drawn(130, 80, [&] { box->drawObject(); });
    const QRgb fillPixel = fill.toQColor().rgba();

    // The box itself is 92 by 42.
    for (const auto& [x, y] : std::vector<std::pair<int, int>> { { 10, 10 }, { 101, 10 }, { 10, 51 }, { 101, 51 }, { 60, 30 } })
        EXPECT_EQ(image.pixelColor(x, y).rgba(), fillPixel) << x << ", " << y;
    EXPECT_NE(image.pixelColor(102, 30).rgba(), fillPixel);
    EXPECT_NE(image.pixelColor(60, 52).rgba(), fillPixel);

    // The shadow: dark, mostly opaque, in the strip; none above or left of the box.
    for (const auto& [x, y] : std::vector<std::pair<int, int>> { { 104, 35 }, { 60, 54 } }) {
        const QColor shadow = image.pixelColor(x, y);
        EXPECT_GT(shadow.alpha(), 100) << x << ", " << y;
        EXPECT_LT(shadow.red() + shadow.green() + shadow.blue(), 30) << x << ", " << y;
    }
    for (const auto& [x, y] : std::vector<std::pair<int, int>> { { 8, 30 }, { 60, 8 }, { 8, 8 } })
        EXPECT_EQ(image.pixelColor(x, y).alpha(), 0) << x << ", " << y;
}

TEST(XmlBoxDrawing, TextIsDrawnInTheInnerRectangle)
{
    const auto site = XmlSite::create();
    site->newDocument();
    const auto album = XmlAlbum::create();
    site->homepage()->addChild(album);
    site->homepage()->masthead()->setContent(QStringLiteral("WWWW"));

    const auto box = PlacedBox::create(lq::Rect(10, 10, 200, 60));
    box->setName(QStringLiteral("Masthead"));
    box->setBt(10);
    box->setBl(20);
    box->font()->setFontSize(24);
    box->font()->setFontColor(red);

    // No page known: nothing to draw.
    EXPECT_EQ(drawn(220, 80, [&] { box->drawText(); }), drawn(220, 80, [] {}));

    box->relayoutFlags(album.get(), 0);
    const QImage image = drawn(220, 80, [&] { box->drawText(); });
    int inside = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QColor pixel = image.pixelColor(x, y);
            if (pixel.alpha() == 0)
                continue;
            EXPECT_GE(x, 30) << x << ", " << y;
            EXPECT_GE(y, 20) << x << ", " << y;
            EXPECT_EQ(pixel.green(), 0);
            ++inside;
        }
    }
    EXPECT_GT(inside, 50);
}
