#include "model/imaging/XmlImage.h"
#include "platform/Escaping.h"
#include "platform/Scanner.h"
#include "platform/ValueStrings.h"
#include "platform/graphics/GraphicsContext.h"
#include "platform/graphics/GraphicsImage.h"
#include "templates/XmlCSSBackground.h"
#include "templates/XmlCSSImage.h"
#include "templates/XmlStyleSheet.h"
#include "support/FakeDocument.h"
#include "support/Printers.h"
#include "support/TestFiles.h"
#include "support/TestPictures.h"
#include "support/ThemeInFolder.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QTemporaryDir>

#include <functional>
#include <vector>

namespace {

// A background with the rectangle, name and picture permission of the
// element it stands for.
class ElementBackground : public XmlCSSBackground {
public:
    explicit ElementBackground(Key key) : XmlCSSBackground(key) {}
    static std::shared_ptr<ElementBackground> create(const lq::Rect& rect = lq::Rect(), const QString& name = QString())
    {
        auto background = make<ElementBackground>();
        background->rect = rect;
        if (!name.isNull())
            background->setName(name);
        return background;
    }
    lq::Rect objectRect() const override { return rect; }
    bool allowImageInBackground() override { return allowPictures; }

    lq::Rect rect;
    bool allowPictures = true;
};

// A background inside a theme in a temporary document folder, with a
// recording document.
struct BackgroundInDocument {
    QTemporaryDir folder;
    FakeDocument document;
    std::shared_ptr<ThemeInFolder> theme;
    std::shared_ptr<ElementBackground> background = ElementBackground::create();

    BackgroundInDocument()
    {
        theme = ThemeInFolder::create(folder.path());
        theme->setDocument(&document);
        theme->addChild(background);
        document.changes = 0;
    }
    ~BackgroundInDocument() { theme->setDocument(nullptr); }

    // Stores the picture as the PNG file of the record with the UUID.
    void storePicture(const QString& uuid, const QImage& picture) const
    {
        const QByteArray bytes = encoded(picture, "PNG");
        ASSERT_FALSE(bytes.isEmpty());
        writeAll(folder.filePath(QStringLiteral("bitmaps2/%1.png").arg(uuid)), bytes);
    }
};

// Reads the XML text of one element into an existing element, as the reader
// does for an element its parent made.
void readInto(XmlBase& element, const QString& xml)
{
    const qsizetype tagEnd = xml.indexOf(QLatin1Char(' '));
    const qsizetype headEnd = xml.indexOf(QLatin1Char('>'));
    ASSERT_GT(tagEnd, 0);
    ASSERT_GT(headEnd, tagEnd);
    if (element.readAttributes(xml.mid(tagEnd, headEnd - tagEnd))) {
        lq::Scanner body(xml.mid(headEnd + 1));
        element.parseXml(body);
    }
}

// Gives the background's record a picture of the type and measured size,
// without a file.
void givePicture(XmlCSSBackground& background, int type, int width = 0, int height = 0)
{
    background.image()->setImageUUID(QStringLiteral("0123456789ABCDEF"));
    background.image()->setAttributeTo(QStringLiteral("itype"), QString::number(type));
    background.image()->setAttributeTo(QStringLiteral("ow"), QString::number(width));
    background.image()->setAttributeTo(QStringLiteral("oh"), QString::number(height));
}

QString cssOf(XmlCSSBackground& background)
{
    QString css;
    background.appendCSS(css);
    return css;
}

QString bitmapStepsOf(XmlCSSBackground& background)
{
    QString script;
    background.genCSSBitmap(script);
    return script;
}

struct WinIE {
    QString rule;
    QString step;
};

WinIE winIEOf(XmlCSSBackground& background, const QString& tag = QStringLiteral("#box"),
              const QString& suffix = QStringLiteral("3p7"))
{
    WinIE result;
    background.appendCSSWinIEBackgroundTagSuffix(result.rule, tag, suffix);
    background.genCSSWinIEBitmap(result.step);
    return result;
}

QString winIERule(const QString& tag, const QString& file)
{
    return tag + QStringLiteral(" { background-image: url(bitmaps/transparent.gif); "
                                "filter:progid:DXImageTransform.Microsoft.AlphaImageLoader(enabled='true', "
                                "sizingMethod='crop', src='bitmaps/%1');}\n")
                     .arg(file);
}

// Draws the background into a transparent canvas of the size.
// What the drawing leaves on a transparent canvas of the size.
QImage drawn(const lq::Size& size, const std::function<void()>& draw)
{
    lq::GraphicsImage canvas = lq::GraphicsImage::withSize(size);
    {
        lq::GraphicsImage::Focus focus(canvas);
        draw();
    }
    return canvas.toQImage();
}

const QColor red(255, 0, 0);
const QColor green(0, 255, 0);
const QColor blue(0, 0, 255);
const QColor fillColour(0x33, 0x66, 0x99);
const QColor none(0, 0, 0, 0);

void expectPixel(const QImage& image, int x, int y, const QColor& expected)
{
    const QColor actual = image.pixelColor(x, y);
    if (expected.alpha() == 0) {
        EXPECT_EQ(actual.alpha(), 0) << "at " << x << ", " << y;
        return;
    }
    EXPECT_EQ(actual.rgba(), expected.rgba()) << "at " << x << ", " << y << ": " << actual.name().toStdString();
}

} // namespace

// --- Stored form -------------------------------------------------------------------------------

TEST(XmlCSSBackground, WritesItsAttributesInOrderAndThePictureOnlyInPictureModes)
{
    auto background = XmlCSSBackground::create();
    EXPECT_EQ(background->elementName(), QStringLiteral("cssBackground"));
    EXPECT_EQ(background->bkgndColor(), lq::Colour(1, 1, 1, 1));
    ASSERT_NE(background->image(), nullptr);
    EXPECT_EQ(background->image()->parent(), background.get());
    EXPECT_EQ(background->numberChildren(), 0);

    // Never self-closing, and no picture in modes 0 and 1.
    EXPECT_EQ(background->createXml(),
              QStringLiteral("<cssBackground v=\"1\" v2=\"1\" bkgnd=\"0\" bkgndColor=\"#FFFFFF\" ts=\"0\" bs=\"0\" "
                             "bx=\"0\" by=\"0\" tbkgnd=\"0\"></cssBackground>\n"));
    background->setBkgnd(1);
    EXPECT_FALSE(background->createXml().contains(QStringLiteral("QZimage")));

    background->setName(QStringLiteral("normalBkgnd"));
    background->setBkgnd(2);
    background->setBkgndColor(lq::Colour(0.2f, 0.4f, 0.6f, 0.5f));
    background->setTopSlice(12);
    background->setBottomSlice(34);
    background->setBxoffset(30);
    background->setByoffset(50);
    background->setTransparentBkgnd(1);
    givePicture(*background, 2, 40, 30);
    EXPECT_EQ(background->createXml(),
              QStringLiteral("<cssBackground v=\"1\" v2=\"1\" name=\"normalBkgnd\" bkgnd=\"2\" bkgndColor=\"#336699\" "
                             "ts=\"12\" bs=\"34\" bx=\"30\" by=\"50\" tbkgnd=\"1\">")
                  + background->image()->createXml() + QStringLiteral("</cssBackground>\n"));
    EXPECT_TRUE(background->image()->createXml().startsWith(QStringLiteral(" <QZimage imageuuid=\"0123456789ABCDEF\"")));
}

TEST(XmlCSSBackground, ReadsBackIntoItsOwnRecord)
{
    auto original = XmlCSSBackground::create();
    original->setBkgnd(6);
    original->setBkgndColor(lq::Colour(1, 0, 0, 1));
    original->setTopSlice(120);
    original->setBottomSlice(80);
    original->setBxoffset(10);
    original->setByoffset(90);
    original->setTransparentBkgnd(1);
    givePicture(*original, 2, 300, 600);
    const QString text = original->createXml();

    auto copy = XmlCSSBackground::create();
    const XmlCSSImage* record = copy->image().get();
    readInto(*copy, text);
    EXPECT_EQ(copy->image().get(), record) << "the reader fills the background's own record";
    EXPECT_EQ(copy->numberChildren(), 0);
    EXPECT_EQ(copy->bkgnd(), 6);
    EXPECT_EQ(copy->bkgndColor(), lq::Colour(1, 0, 0, 1));
    EXPECT_EQ(copy->topSlice(), 120);
    EXPECT_EQ(copy->bottomSlice(), 80);
    EXPECT_EQ(copy->bxoffset(), 10);
    EXPECT_EQ(copy->byoffset(), 90);
    EXPECT_EQ(copy->transparentBkgnd(), 1);
    EXPECT_EQ(copy->image()->imageUUID(), QStringLiteral("0123456789ABCDEF"));
    EXPECT_EQ(copy->image()->iType(), 2);
    EXPECT_EQ(copy->image()->size(), lq::Size(300, 600));
    EXPECT_EQ(copy->createXml(), text);

    // Colours keep 8 bits per channel and no alpha; an unreadable one is black.
    auto odd = XmlCSSBackground::create();
    readInto(*odd, QStringLiteral("<cssBackground bkgndColor=\"#12\" bkgnd=\"1\"></cssBackground>"));
    EXPECT_EQ(odd->bkgndColor(), lq::Colour::black());
    EXPECT_EQ(odd->bkgnd(), 1);
}

TEST(XmlCSSBackground, RecordComesFromTheBackgroundAndOtherTagsFromTheFactory)
{
    auto background = XmlCSSBackground::create();
    EXPECT_EQ(background->createChildFromTag(QStringLiteral("QZimage")), background->image());
    EXPECT_EQ(background->createChildFromTag(QStringLiteral("cssFont"))->elementName(), QStringLiteral("cssFont"));

    // Without a record, the tag makes a new one owned by the background.
    background->setImage(nullptr);
    EXPECT_EQ(background->image(), nullptr);
    EXPECT_EQ(background->createXml().contains(QStringLiteral("QZimage")), false);
    const XmlBasePtr made = background->createChildFromTag(QStringLiteral("QZimage"));
    ASSERT_NE(made, nullptr);
    EXPECT_EQ(made, background->image());
    EXPECT_EQ(made->parent(), background.get());
}

TEST(XmlCSSBackground, PageTemplateHasNoPictureOffsets)
{
    auto sheet = XmlStyleSheet::create();
    readInto(*sheet, QStringLiteral("<cssStyleSheet bkgnd=\"2\" bx=\"30\" by=\"40\"></cssStyleSheet>"));
    sheet->setBxoffset(20);
    sheet->setByoffset(20);
    EXPECT_EQ(sheet->bxoffset(), 0);
    EXPECT_EQ(sheet->byoffset(), 0);
    EXPECT_TRUE(sheet->createXml().contains(QStringLiteral(" bx=\"0\" by=\"0\" "))) << sheet->createXml().toStdString();
    QString css;
    sheet->appendCSSBackground(css);
    EXPECT_TRUE(css.endsWith(QStringLiteral("background-repeat: no-repeat; background-position: 0% 0%; ")))
        << css.toStdString();
}

TEST(XmlCSSBackground, SettersMarkTheDocumentChangedExceptTheMiddleSlice)
{
    BackgroundInDocument fixture;
    XmlCSSBackground& background = *fixture.background;
    struct Case {
        const char* what;
        std::function<void(XmlCSSBackground&)> set;
        int changes;
    };
    const std::vector<Case> cases {
        { "setBkgnd", [](XmlCSSBackground& b) { b.setBkgnd(3); }, 1 },
        { "setTransparentBkgnd", [](XmlCSSBackground& b) { b.setTransparentBkgnd(1); }, 1 },
        { "setBkgndColor", [](XmlCSSBackground& b) { b.setBkgndColor(lq::Colour::black()); }, 1 },
        { "setBxoffset", [](XmlCSSBackground& b) { b.setBxoffset(5); }, 1 },
        { "setByoffset", [](XmlCSSBackground& b) { b.setByoffset(5); }, 1 },
        { "setTopSlice", [](XmlCSSBackground& b) { b.setTopSlice(5); }, 1 },
        { "setBottomSlice", [](XmlCSSBackground& b) { b.setBottomSlice(5); }, 1 },
        { "setImage", [](XmlCSSBackground& b) { b.setImage(XmlCSSImage::create()); }, 1 },
        { "setMiddleSlice", [](XmlCSSBackground& b) { b.setMiddleSlice(5); }, 0 },
    };
    for (const Case& c : cases) {
        fixture.document.changes = 0;
        c.set(background);
        EXPECT_EQ(fixture.document.changes > 0, c.changes > 0) << c.what;
    }
    EXPECT_EQ(background.middleSlice(), 5);

    fixture.document.changes = 0;
    readInto(background, QStringLiteral("<cssBackground bkgnd=\"4\" ts=\"9\" bkgndColor=\"#000000\">"
                                        "<QZimage imageuuid=\"AAAA\" itype=\"1\"/></cssBackground>"));
    EXPECT_EQ(fixture.document.changes, 0) << "reading marks nothing";
    EXPECT_EQ(background.bkgnd(), 4);
    EXPECT_EQ(background.image()->iType(), 1);
}

TEST(XmlCSSBackground, SetImageAdoptsTheRecordAndLoadsItsPicture)
{
    BackgroundInDocument fixture;
    XmlCSSBackground& background = *fixture.background;
    const QString uuid = QStringLiteral("00000000CAFEF00D");
    ASSERT_NO_FATAL_FAILURE(fixture.storePicture(uuid, solid(8, 6, red)));

    const std::shared_ptr<XmlCSSImage> old = background.image();
    auto record = XmlCSSImage::create();
    record->setImageUUID(uuid);
    record->setIType(2);
    background.setImage(record);
    EXPECT_EQ(background.image(), record);
    EXPECT_EQ(record->parent(), &background);
    EXPECT_EQ(old->parent(), nullptr) << "the old record no longer points at the background";
    EXPECT_EQ(record->backstore(), 1);
    EXPECT_FALSE(record->image()->image().isNull());
    EXPECT_EQ(record->size(), lq::Size(8, 6));
}

// --- CSS ---------------------------------------------------------------------------------------

TEST(XmlCSSBackground, CSSDeclarationsForEveryMode)
{
    struct Case {
        int mode;
        int transparent;
        int type;
        const char* css;
    };
    const std::vector<Case> cases {
        { 0, 0, 0, "background-color: transparent; " },
        { 0, 1, 0, "background-color: transparent; " },
        { 1, 0, 0, "background-color: #336699; " },
        // The colour even when marked transparent.
        { 1, 1, 0, "background-color: #336699; " },
        { 2, 0, 0,
          "background-color: #336699; background-image: url(bitmaps/0123456789ABCDEF.jpg); "
          "background-repeat: no-repeat; background-position: 30% 50%; " },
        { 2, 1, 2,
          "background-color: transparent; background-image: url(bitmaps/0123456789ABCDEF.png); "
          "background-repeat: no-repeat; background-position: 30% 50%; " },
        { 3, 0, 1,
          "background-color: #336699; background-image: url(bitmaps/0123456789ABCDEF.gif); "
          "background-repeat: repeat-x; background-position: 0% 50%; " },
        { 4, 0, 0,
          "background-color: #336699; background-image: url(bitmaps/0123456789ABCDEF.jpg); "
          "background-repeat: repeat-y; background-position: 30% 0%; " },
        { 5, 1, 0,
          "background-color: transparent; background-image: url(bitmaps/0123456789ABCDEF.jpg); "
          "background-repeat: repeat; " },
        // The slices are elements of the page: only the colour here.
        { 6, 0, 0, "background-color: #336699; " },
        { 6, 1, 0, "background-color: #336699; " },
        // Unknown modes: colour and picture without a repeat rule.
        { 7, 0, 0, "background-color: #336699; background-image: url(bitmaps/0123456789ABCDEF.jpg); " },
        { -1, 1, 7, "background-color: transparent; background-image: url(bitmaps/0123456789ABCDEF.gif); " },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.mode);
        SCOPED_TRACE(c.transparent);
        auto background = ElementBackground::create();
        background->setBkgnd(c.mode);
        background->setTransparentBkgnd(c.transparent);
        background->setBkgndColor(lq::Colour(0.2f, 0.4f, 0.6f, 1));
        background->setBxoffset(30);
        background->setByoffset(50);
        givePicture(*background, c.type);
        EXPECT_EQ(cssOf(*background), QString::fromUtf8(c.css));

        // Where pictures are not allowed, every picture mode is the colour.
        background->allowPictures = false;
        const QString fallback = c.mode >= 2 ? QStringLiteral("background-color: #336699; ") : QString::fromUtf8(c.css);
        EXPECT_EQ(cssOf(*background), fallback);
    }

    // The declarations append to the rule being written.
    auto background = XmlCSSBackground::create();
    QString css = QStringLiteral("body { ");
    background->appendCSSBackground(css);
    EXPECT_EQ(css, QStringLiteral("body { background-color: transparent; "));
}

TEST(XmlCSSBackground, BitmapStepsForEveryMode)
{
    struct Case {
        int mode;
        bool allow;
        const char* kind; // nullptr: no step
    };
    const std::vector<Case> cases {
        { 0, true, nullptr }, { 1, true, nullptr }, { -1, true, nullptr },
        { 2, true, "web" }, { 3, true, "web" }, { 4, true, "web" }, { 5, true, "web" }, { 7, true, "web" },
        { 6, true, "slice" },
        { 2, false, nullptr }, { 6, false, nullptr },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.mode);
        SCOPED_TRACE(c.allow);
        auto background = ElementBackground::create();
        background->allowPictures = c.allow;
        background->setBkgnd(c.mode);
        background->setTopSlice(120);
        background->setBottomSlice(80);
        givePicture(*background, 0);
        const QString uuid = background->image()->UUID();
        QString expected;
        if (c.kind && QByteArray(c.kind) == "web")
            expected = QStringLiteral("<QZcreateWebBitmap image=\"%1\" />").arg(uuid);
        else if (c.kind)
            expected = QStringLiteral("<QZcreateBitmapSlice image=\"%1\" top=\"120\" bottom=\"80\"/>").arg(uuid);
        EXPECT_EQ(bitmapStepsOf(*background), expected);
    }

    // The step names the record by its element UUID, under which the build
    // finds it while it lives.
    auto background = XmlCSSBackground::create();
    background->setBkgnd(5);
    const QString script = bitmapStepsOf(*background);
    EXPECT_TRUE(script.contains(background->image()->UUID()));
    EXPECT_EQ(XmlBase::UUID(background->image()->UUID()), background->image());

    background->setImage(nullptr);
    EXPECT_EQ(bitmapStepsOf(*background), QString());
}

TEST(XmlCSSBackground, WindowsIERulesAndBitmapSteps)
{
    const QString own = QStringLiteral("0123456789ABCDEF.png");
    const QString made = QStringLiteral("0123456789ABCDEFboxy3p7.png");
    struct Case {
        const char* what;
        int mode;
        int type;
        int bx;
        int by;
        lq::Rect rect;
        bool rule;
        QString file;        // named by the rule
        QString stepSize;    // empty: no step
        int stepType;
        int stepX;
        int stepY;
    };
    const std::vector<Case> cases {
        { "JPEG", 2, 0, 30, 0, lq::Rect(0, 0, 400, 300), false, {}, {}, 0, 0, 0 },
        { "GIF", 5, 1, 0, 0, lq::Rect(0, 0, 400, 300), false, {}, {}, 0, 0, 0 },
        { "colour", 1, 2, 30, 0, lq::Rect(0, 0, 400, 300), false, {}, {}, 0, 0, 0 },
        { "transparent", 0, 2, 30, 0, lq::Rect(0, 0, 400, 300), false, {}, {}, 0, 0, 0 },
        { "sliced", 6, 2, 30, 0, lq::Rect(0, 0, 400, 300), false, {}, {}, 0, 0, 0 },
        { "once at the top left", 2, 2, 0, 0, lq::Rect(0, 0, 400, 300), true, own, {}, 0, 0, 0 },
        { "once elsewhere", 2, 2, 30, 70, lq::Rect(10, 20, 400, 300), true, made, QStringLiteral("{400, 300}"), 1, 30, 70 },
        { "across, narrower", 3, 2, 30, 70, lq::Rect(0, 0, 100, 300), true, own, {}, 0, 0, 0 },
        { "across, wider", 3, 2, 30, 70, lq::Rect(0, 0, 400, 30), true, made, QStringLiteral("{400, 50}"), 0, 0, 0 },
        { "down, shorter", 4, 2, 0, 0, lq::Rect(0, 0, 400, 50), true, own, {}, 0, 0, 0 },
        { "down, taller", 4, 2, 0, 0, lq::Rect(0, 0, 10, 300), true, made, QStringLiteral("{100, 300}"), 0, 0, 0 },
        { "tiled, inside", 5, 2, 0, 0, lq::Rect(0, 0, 100, 50), true, own, {}, 0, 0, 0 },
        { "tiled, taller", 5, 2, 0, 0, lq::Rect(0, 0, 20, 51), true, made, QStringLiteral("{20, 51}"), 0, 0, 0 },
        { "tiled, no rectangle", 5, 2, 0, 0, lq::Rect(), true, own, {}, 0, 0, 0 },
        { "unknown mode", 9, 2, 30, 0, lq::Rect(0, 0, 400, 300), true, own, {}, 0, 0, 0 },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        auto background = ElementBackground::create(c.rect, QStringLiteral("boxy"));
        background->setBkgnd(c.mode);
        background->setBxoffset(c.bx);
        background->setByoffset(c.by);
        givePicture(*background, c.type, 100, 50);
        const WinIE out = winIEOf(*background);
        EXPECT_EQ(out.rule, c.rule ? winIERule(QStringLiteral("#box"), c.file) : QString());
        if (c.stepSize.isEmpty()) {
            EXPECT_EQ(out.step, QString());
            continue;
        }
        EXPECT_EQ(out.step, QStringLiteral("<QZcreateWinIEBitmap image=\"%1\" filename=\"%2\" size=\"%3\" type=\"%4\" "
                                           "x=\"%5\" y=\"%6\" />")
                                .arg(background->image()->UUID(), c.file, c.stepSize)
                                .arg(c.stepType)
                                .arg(c.stepX)
                                .arg(c.stepY));
        // The step reads the size text back as the same size.
        EXPECT_EQ(lq::sizeToString(lq::stringToSize(c.stepSize)), c.stepSize);
        // One step per rule.
        QString again;
        background->genCSSWinIEBitmap(again);
        EXPECT_EQ(again, QString());
    }
}

TEST(XmlCSSBackground, WindowsIEBitmapIsForgottenWhenTheBackgroundChanges)
{
    auto background = ElementBackground::create(lq::Rect(0, 0, 400, 300), QStringLiteral("Masthead"));
    background->setBkgnd(5);
    givePicture(*background, 2, 100, 50);
    QString rule;
    background->appendCSSWinIEBackgroundTagSuffix(rule, QStringLiteral("#mastheadbox"), QStringLiteral("1p2"));
    EXPECT_EQ(rule, winIERule(QStringLiteral("#mastheadbox"), QStringLiteral("0123456789ABCDEFMasthead1p2.png")));

    // Switched to the colour before the page's steps were asked for: the
    // next rule request clears the record.
    background->setBkgnd(1);
    rule.clear();
    background->appendCSSWinIEBackgroundTagSuffix(rule, QStringLiteral("#mastheadbox"), QStringLiteral("1p2"));
    EXPECT_EQ(rule, QString());
    QString step;
    background->genCSSWinIEBitmap(step);
    EXPECT_EQ(step, QString());

    // The same for a switch to a JPEG picture.
    background->setBkgnd(5);
    rule.clear();
    background->appendCSSWinIEBackgroundTagSuffix(rule, QStringLiteral("#mastheadbox"), QStringLiteral("1p2"));
    background->image()->setIType(0);
    rule.clear();
    background->appendCSSWinIEBackgroundTagSuffix(rule, QStringLiteral("#mastheadbox"), QStringLiteral("1p2"));
    background->genCSSWinIEBitmap(step);
    EXPECT_EQ(rule, QString());
    EXPECT_EQ(step, QString());

    // Where pictures are not allowed there is no rule either.
    background->image()->setIType(2);
    background->allowPictures = false;
    EXPECT_EQ(winIEOf(*background).rule, QString());
}

TEST(XmlCSSBackground, WindowsIEFileNamesStayPlainAndStepsStayWellFormed)
{
    auto background = ElementBackground::create(lq::Rect(0, 0, 400, 300), QStringLiteral("a/b'c\"d&<e Page"));
    background->setBkgnd(2);
    background->setBxoffset(50);
    givePicture(*background, 2, 100, 50);
    const WinIE out = winIEOf(*background, QStringLiteral("#x"), QStringLiteral("1p1"));
    const QString file = QStringLiteral("0123456789ABCDEFa_b_c_d&<e Page1p1.png");
    EXPECT_EQ(out.rule, winIERule(QStringLiteral("#x"), file));
    EXPECT_TRUE(out.step.contains(QStringLiteral(" filename=\"%1\" ").arg(lq::escape(file))))
        << out.step.toStdString();
    EXPECT_FALSE(out.step.contains(QStringLiteral("&<"))) << out.step.toStdString();
}

// --- Drawing -----------------------------------------------------------------------------------

TEST(XmlCSSBackground, DrawsEveryMode)
{
    const lq::GraphicsImage tile(solid(10, 10, red));
    struct Case {
        const char* what;
        int mode;
        int transparent;
        int bx;
        int by;
        lq::Rect rect;
        bool allow;
        std::vector<std::tuple<int, int, QColor>> pixels;
    };
    const lq::Rect whole(0, 0, 40, 40);
    const std::vector<Case> cases {
        { "transparent", 0, 0, 0, 0, whole, true, { { 5, 5, none }, { 35, 35, none } } },
        { "unknown mode", 7, 0, 0, 0, whole, true, { { 5, 5, none }, { 35, 35, none } } },
        { "colour", 1, 1, 0, 0, whole, true, { { 0, 0, fillColour }, { 39, 39, fillColour } } },
        { "colour inside its rectangle", 1, 0, 0, 0, lq::Rect(10, 10, 20, 20), true,
          { { 5, 5, none }, { 10, 10, fillColour }, { 29, 29, fillColour }, { 30, 30, none } } },
        { "once, bottom right", 2, 0, 100, 50, whole, true,
          { { 5, 5, fillColour }, { 30, 15, red }, { 39, 24, red }, { 29, 15, fillColour }, { 35, 25, fillColour } } },
        { "once, no colour under it", 2, 1, 0, 0, whole, true, { { 5, 5, red }, { 15, 5, none } } },
        { "across", 3, 0, 0, 100, whole, true,
          { { 5, 35, red }, { 35, 35, red }, { 5, 5, fillColour }, { 35, 25, fillColour } } },
        { "down", 4, 0, 50, 0, whole, true,
          { { 15, 5, red }, { 15, 35, red }, { 5, 5, fillColour }, { 35, 35, fillColour } } },
        { "tiled, the offsets unused", 5, 1, 50, 50, lq::Rect(5, 5, 30, 30), true,
          { { 5, 5, red }, { 34, 34, red }, { 4, 4, none }, { 35, 35, none } } },
        { "pictures refused, colour", 3, 0, 0, 0, whole, false, { { 5, 5, fillColour }, { 35, 35, fillColour } } },
        { "pictures refused, transparent", 3, 1, 0, 0, whole, false, { { 5, 5, none }, { 35, 35, none } } },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        auto background = ElementBackground::create();
        background->allowPictures = c.allow;
        background->setTransparentBkgnd(c.transparent);
        background->setBxoffset(c.bx);
        background->setByoffset(c.by);
        const QImage image = drawn(lq::Size(40, 40), [&] {
            background->drawObjectTypeColorImage(c.rect, c.mode, lq::Colour::fromQColor(fillColour), tile);
        });
        for (const auto& [x, y, colour] : c.pixels)
            expectPixel(image, x, y, colour);
    }

    // Without a picture the picture modes draw only their fill.
    auto background = ElementBackground::create();
    const QImage fillOnly = drawn(lq::Size(40, 40), [&] {
        background->drawObjectTypeColorImage(whole, 5, lq::Colour::fromQColor(fillColour), lq::GraphicsImage());
    });
    expectPixel(fillOnly, 5, 5, fillColour);

    // Without a current context nothing happens.
    background->drawObjectTypeColorImage(whole, 5, lq::Colour::white(), tile);
}

TEST(XmlCSSBackground, DrawsSlicedPictures)
{
    // Top 10 rows red, middle 10 green, bottom 10 blue.
    const lq::GraphicsImage picture(bands(10, { { 10, red }, { 10, green }, { 10, blue } }));
    const QColor white(255, 255, 255);
    struct Case {
        const char* what;
        int ts;
        int bs;
        int middleSlice;
        std::vector<std::tuple<int, int, QColor>> pixels;
    };
    const std::vector<Case> cases {
        { "three slices, the band repeated",
          10, 10, 40,
          { { 5, 5, red }, { 15, 5, white }, { 5, 15, green }, { 5, 35, green }, { 15, 35, white },
            { 5, 45, blue }, { 5, 49, blue }, { 5, 50, none }, { 15, 55, none } } },
        { "no room for a band",
          15, 15, 40,
          { { 5, 5, red }, { 5, 12, green }, { 5, 25, white }, { 5, 39, white }, { 5, 42, green }, { 5, 50, blue },
            { 5, 54, blue }, { 5, 55, none } } },
        { "no top slice",
          0, 10, 30,
          { { 5, 5, red }, { 5, 15, green }, { 5, 25, red }, { 5, 35, blue }, { 5, 40, none } } },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        auto background = ElementBackground::create();
        background->setTopSlice(c.ts);
        background->setBottomSlice(c.bs);
        background->setMiddleSlice(c.middleSlice);
        background->setTransparentBkgnd(1); // the slices always lie on the colour
        const QImage image = drawn(lq::Size(20, 60), [&] {
            background->drawObjectTypeColorImage(lq::Rect(0, 0, 20, 60), 6, lq::Colour::white(), picture);
        });
        for (const auto& [x, y, colour] : c.pixels)
            expectPixel(image, x, y, colour);
    }
}

TEST(XmlCSSBackground, DrawsItsOwnPictureIntoItsRectangleOrTheWholeCanvas)
{
    BackgroundInDocument fixture;
    ElementBackground& background = *fixture.background;
    const QString uuid = QStringLiteral("00000000BEEFBEEF");
    ASSERT_NO_FATAL_FAILURE(fixture.storePicture(uuid, solid(10, 10, red)));
    background.image()->setImageUUID(uuid);
    background.image()->setIType(2);
    background.setBkgnd(2);
    background.setBkgndColor(lq::Colour::fromQColor(fillColour));
    background.rect = lq::Rect(0, 0, 40, 40);

    // Not loaded: only the colour.
    QImage image = drawn(lq::Size(40, 40), [&] { background.drawObject(); });
    expectPixel(image, 5, 5, fillColour);

    background.loadBackstore(nullptr);
    image = drawn(lq::Size(40, 40), [&] { background.drawObject(); });
    expectPixel(image, 5, 5, red);
    expectPixel(image, 15, 15, fillColour);

    // The loaded picture's measured size decides the Windows IE bitmap.
    background.setBkgnd(3);
    const WinIE out = winIEOf(background, QStringLiteral("#b"), QStringLiteral("1p1"));
    EXPECT_TRUE(out.step.contains(QStringLiteral(" size=\"{40, 10}\" "))) << out.step.toStdString();

    background.releaseBackstore(nullptr);
    EXPECT_TRUE(background.image()->image()->image().isNull());
    EXPECT_EQ(background.image()->backstore(), 0);

    // A background without a rectangle covers (0, 0, 2000, 4000): drawn at a
    // hundredth of the scale it covers 20 x 40 pixels.
    background.setBkgnd(1);
    background.rect = lq::Rect();
    image = drawn(lq::Size(30, 50), [&] {
        lq::GraphicsContext::current()->concat(QTransform::fromScale(0.01, 0.01));
        background.drawObject();
    });
    expectPixel(image, 19, 39, fillColour);
    expectPixel(image, 25, 10, none);
    expectPixel(image, 10, 45, none);
}

// --- Bitmap housekeeping -----------------------------------------------------------------------

TEST(XmlCSSBackground, PassesBitmapHousekeepingToItsRecord)
{
    auto background = XmlCSSBackground::create();
    givePicture(*background, 2);
    // Listed whatever the mode, so that its file survives the clean-up.
    QStringList names;
    background->listOfBitmaps(names);
    EXPECT_EQ(names, QStringList { QStringLiteral("0123456789ABCDEF") });

    QStringList files;
    background->listOfFilesToCopyAll(files, false);
    EXPECT_EQ(files, QStringList { QStringLiteral("bitmaps2/0123456789ABCDEF.png") });

    background->changeImageUUID({ { QStringLiteral("0123456789ABCDEF"), QStringLiteral("FEDCBA9876543210") } });
    EXPECT_EQ(background->image()->imageUUID(), QStringLiteral("FEDCBA9876543210"));

    // Counted loading goes to the record.
    background->loadBackstore(nullptr);
    background->loadBackstore(nullptr);
    EXPECT_EQ(background->image()->backstore(), 2);
    background->releaseBackstore(nullptr);
    background->releaseBackstore(nullptr);
    background->releaseBackstore(nullptr);
    EXPECT_EQ(background->image()->backstore(), 0);
}
