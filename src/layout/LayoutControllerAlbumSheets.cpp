// The views of the inspector's photo album, slideshow and PayPal sheets and
// of the border and background panel that every element sheet borrows:
// one line per control, each carrying its tag.
#include "layout/LayoutController.h"

#include "editors/photo/BBContainer.h"
#include "editors/photo/ImageWell.h"
#include "layout/InspectorTags.h"
#include "platform/widgets/MyButton.h"
#include "platform/widgets/MyLabel.h"
#include "platform/widgets/MyMatrix.h"
#include "platform/widgets/MyPopUpButton.h"
#include "platform/widgets/MyTabView.h"
#include "platform/widgets/MyTableView.h"
#include "platform/widgets/MyTextField.h"
#include "platform/widgets/MyTextView.h"
#include "platform/widgets/SheetBuilder.h"

#include <QLabel>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {

constexpr int largestNumber = 9999;

MyTextView* htmlView(QWidget* parent)
{
    auto* view = new MyTextView(parent);
    view->setAcceptRichText(false);
    view->setMinimumHeight(80);
    return view;
}

} // namespace

QWidget* LayoutController::buildPhotoAlbumSheet()
{
    QWidget* body = buildElementSheet(5, QStringLiteral("Photo Album"));
    addGeometryFields(body, QStringLiteral("photoalbum"));
    SheetBuilder rows = sheetBuilder(body);
    rows.label(QStringLiteral("Layout"))
        .popUp(550, {{QStringLiteral("Grid in its place"), 0}, {QStringLiteral("Grid after the text"), 1}, {QStringLiteral("Free style"), 2}});

    SheetBuilder grid = rows.group(QStringLiteral("Thumbnails"));
    _paThumbnail = grid.container();
    grid.label(QStringLiteral("Size")).text(500, QString());
    grid.button(540, QStringLiteral("Thumbnail Size…"))->setAutoDefault(false);
    grid.label(QStringLiteral("Column Space")).intPair(501, 0, largestNumber);
    grid.label(QStringLiteral("Row Space")).intPair(503, 0, largestNumber);

    SheetBuilder free = rows.group(QStringLiteral("Free style"));
    _paFreeStyle = free.container();
    free.beginRow();
    free.check(580, QStringLiteral("Collage"));
    free.button(581, QStringLiteral("Collage…"))->setAutoDefault(false);
    free.endRow();
    free.label(QStringLiteral("Floating Photos")).intPair(582, 0, 999);
    free.check(586, QStringLiteral("Crop photos to their frames"));

    SheetBuilder captions = rows.group(QStringLiteral("Captions"));
    captions.label(QStringLiteral("Captions"))
        .popUp(505, {{QStringLiteral("None"), 0}, {QStringLiteral("Below the photos"), 1}, {QStringLiteral("Above the photos"), 2},
                        {QStringLiteral("Tool tips only"), 3}});
    captions.label(QStringLiteral("Space")).intPair(542, 0, largestNumber);
    captions.check(544, QStringLiteral("First line only"));
    addFontRows(captions, {.font = 506, .size = 507, .color = 509, .underline = 510, .italic = 511, .bold = 512, .alignment = 513});

    SheetBuilder click = rows.group(QStringLiteral("A click on a photo shows"));
    _paOptions = click.container();
    click.matrix(516, {{QStringLiteral("A slideshow page"), 517}, {QStringLiteral("The picture in a new window"), 518},
                          {QStringLiteral("Nothing"), 519}, {QStringLiteral("The caption's link"), 520},
                          {QStringLiteral("The page's slideshow"), 521}, {QStringLiteral("A lightbox"), 522}});
    return body;
}

QWidget* LayoutController::buildSlideshowSheet()
{
    QWidget* body = buildElementSheet(9, QStringLiteral("Slideshow"));
    addGeometryFields(body, QStringLiteral("slideshow"));
    SheetBuilder rows = sheetBuilder(body);
    rows.label(QStringLiteral("Style")).popUp(InspectorTag::slideshowStyle, {{QStringLiteral("Standard"), 0}, {QStringLiteral("FreeStyle"), 1}});
    rows.label(QStringLiteral("Every"), 924).beginRow();
    rows.intPair(926, 1, 999);
    rows.text(928, QStringLiteral("seconds"));
    rows.endRow();
    rows.beginRow();
    rows.check(929, QStringLiteral("Start playing"));
    rows.check(930, QStringLiteral("Fade"));
    rows.endRow();
    rows.check(933, QStringLiteral("Thumbnail rollovers"));
    rows.check(934, QStringLiteral("Slide rollovers"));
    rows.check(935, QStringLiteral("Reverse thumbnails"));
    rows.beginRow();
    rows.check(920, QStringLiteral("Loop"));
    rows.check(936, QStringLiteral("Random order"));
    rows.endRow();

    SheetBuilder shows = rows.group(QStringLiteral("Show"));
    shows.check(910, QStringLiteral("Background box"));
    shows.check(959, QStringLiteral("Background picture"));
    shows.check(911, QStringLiteral("Captions"));
    shows.check(912, QStringLiteral("Previous and next"));
    shows.check(913, QStringLiteral("Play and stop, or before and after"));
    shows.check(914, QStringLiteral("Index"));
    shows.check(953, QStringLiteral("Pictures at the top"));

    SheetBuilder labels = rows.group(QStringLiteral("Labels"));
    const QList<QPair<int, int>> fields = {{915, 0}, {916, 0}, {917, InspectorTag::firstLabelName}, {918, InspectorTag::secondLabelName}, {919, 0}};
    const QStringList titles = {QStringLiteral("Previous"), QStringLiteral("Next"), QStringLiteral("Play"), QStringLiteral("Stop"), QStringLiteral("Index")};
    for (int index = 0; index < fields.size(); ++index) {
        MyTextField* field = labels.label(titles[index], fields[index].second).textField(fields[index].first);
        connect(field, &QLineEdit::textEdited, this, [this, field] { textChange(field); });
    }

    SheetBuilder captionFont = rows.group(QStringLiteral("Caption text"));
    addFontRows(captionFont, {.font = 946, .size = 947, .color = 952, .alignment = 960, .lineSpacing = 955, .underlineLinks = 963, .links = 964});
    SheetBuilder controlFont = rows.group(QStringLiteral("Control text"));
    addFontRows(controlFont, {.font = 976, .size = 977, .color = 982, .underline = 949, .italic = 950, .bold = 951, .underlineLinks = 970, .links = 971});

    // Shown while the template shows its slideshow view: which elements show there.
    _slideVisible = new QWidget(body);
    auto* slideRows = new QVBoxLayout(_slideVisible);
    slideRows->setContentsMargins(0, 0, 0, 0);
    slideRows->addWidget(new QLabel(QStringLiteral("Shown in the slideshow view:"), _slideVisible));
    _slideElementList = new MyTableView(0, _slideVisible);
    setUpElementTable(_slideElementList, _slideVisible, {{QStringLiteral("visible"), QStringLiteral("Show")}, {QStringLiteral("name"), QStringLiteral("Element")}});
    rows.view(_slideVisible);
    return body;
}

QWidget* LayoutController::buildPayPalSheet()
{
    auto* body = new QWidget;
    SheetBuilder rows = sheetBuilder(body);
    rows.text(0, QStringLiteral("PayPal"));
    rows.label(QStringLiteral("Cart")).popUp(1201, {{QStringLiteral("None"), 0}, {QStringLiteral("Buy now"), 1}, {QStringLiteral("Add to cart"), 2}});
    rows.label(QStringLiteral("Button")).matrix(1202, {{QStringLiteral("Standard"), 1203}, {QStringLiteral("Own picture"), 1204}});
    _payPalImageWell = makeImageWell(InspectorTag::payPalImageWell, false);
    rows.label(QStringLiteral("Picture")).view(_payPalImageWell);
    rows.label(QStringLiteral("Width")).intPair(1209, 0, largestNumber);
    rows.label(QStringLiteral("Height")).intPair(1211, 0, largestNumber);
    rows.text(0, QStringLiteral("The button's HTML:"));
    _payPalHTML = htmlView(body);
    rows.view(_payPalHTML);
    rows.button(1208, QStringLiteral("Default HTML"))->setAutoDefault(false);

    // The captions and buttons under the thumbnails and in the slideshow.
    _payPalTabView = new MyTabView(body);
    const auto place = [&](const QString& identifier, const QString& title, int base, MyTextView*& text, int defaultButton) {
        auto* page = new QWidget;
        SheetBuilder where = sheetBuilder(page);
        where.check(base, QStringLiteral("Caption"));
        where.check(base + 1, QStringLiteral("Button"));
        where.text(0, QStringLiteral("Caption template:"));
        text = htmlView(page);
        where.view(text);
        where.button(defaultButton, QStringLiteral("Default Caption"))->setAutoDefault(false);
        _payPalTabView->addTabViewItem(identifier, title, page);
    };
    place(QStringLiteral("thumbnail"), QStringLiteral("Thumbnails"), 1213, _payPalThumbnail, 1206);
    place(QStringLiteral("slideshow"), QStringLiteral("Slideshow"), 1215, _payPalSlideshow, 1207);
    for (MyTextView* view : {_payPalHTML, _payPalThumbnail, _payPalSlideshow})
        connect(view, &QTextEdit::textChanged, this, [this, view] { textDidChange(view); });
    connect(_payPalTabView, &QTabWidget::currentChanged, this,
        [this] { tabViewDidSelectTabViewItem(_payPalTabView, _payPalTabView->selectedIdentifier()); });
    rows.view(_payPalTabView);
    return body;
}

QWidget* LayoutController::buildBorderPanel()
{
    auto* body = new QWidget;
    SheetBuilder switches(body, this, [this](QWidget* sender) { action2(sender); });
    switches.beginRow();
    _propertiesButton = switches.button(1999, QStringLiteral("Properties"));
    _bordersButton = switches.button(1998, QStringLiteral("Borders"));
    switches.endRow();
    for (QAbstractButton* button : {_propertiesButton, _bordersButton})
        button->setCheckable(true);

    SheetBuilder rows = panelBuilder(body);
    _whichBorderLabel = rows.text(0, QStringLiteral("Edit the borders of:"));
    _whichBorderMatrix = rows.matrix(InspectorTag::partSelector, {});
    _whichBorderOption1 = _whichBorderMatrix->addCell(QStringLiteral("Menu Item"), InspectorTag::firstPartCell);
    _whichBorderOption2 = _whichBorderMatrix->addCell(QStringLiteral("Menu"), InspectorTag::firstPartCell + 1);

    _bbView = new QWidget(body);
    rows.view(_bbView);
    SheetBuilder panel = panelBuilder(_bbView);
    panel.label(QStringLiteral("Border"))
        .popUp(600, {{QStringLiteral("Solid"), 0}, {QStringLiteral("Double"), 1}, {QStringLiteral("Dotted"), 2}, {QStringLiteral("Dashed"), 3},
                        {QStringLiteral("Groove"), 4}, {QStringLiteral("Ridge"), 5}});
    // Each side: the border's width and colour, then the padding inside it.
    struct Side {
        const char* name;
        int width;
        int color;
        int padding;
    };
    const Side sides[] = {{"Top", 601, 603, 604}, {"Left", 606, 608, 609}, {"Right", 611, 613, 614}, {"Bottom", 616, 618, 619}};
    SheetBuilder edges = panel.group(QStringLiteral("Borders and padding"));
    for (const Side& side : sides) {
        edges.label(QLatin1String(side.name)).beginRow();
        edges.intPair(side.width, 0, 999);
        edges.colorWell(side.color);
        edges.endRow();
        edges.label(QLatin1String(side.name) + QStringLiteral(" padding")).intPair(side.padding, 0, 999);
    }
    panel.check(InspectorTag::dropShadow, QStringLiteral("Drop shadow"));
    // The sample of a framed picture with its shadow, rising from the panel's edge.
    auto* sample = new BBContainer(_bbView);
    sample->setMinimumSize(sample->sizeHint());
    panel.view(sample);

    SheetBuilder background = panel.group(QStringLiteral("Background"));
    _backgroundBox = background.container();
    background.label(QStringLiteral("Kind"))
        .popUp(InspectorTag::backgroundKind, {{QStringLiteral("None"), 0}, {QStringLiteral("Colour"), 1}, {QStringLiteral("Picture"), 2},
                                                 {QStringLiteral("Picture repeated across"), 3}, {QStringLiteral("Picture repeated down"), 4},
                                                 {QStringLiteral("Picture tiled"), 5}});
    background.label(QStringLiteral("Colour")).colorWell(623);
    _borderImageWell = makeImageWell(InspectorTag::borderImageWell, true);
    background.label(QStringLiteral("Picture")).view(_borderImageWell);
    background.beginRow();
    background.check(625, QStringLiteral("Transparent"));
    background.text(626, QStringLiteral("(no colour under the picture)"));
    background.endRow();
    background.text(InspectorTag::positionLabel, QStringLiteral("Picture position, in percent:"));
    background.label(QStringLiteral("Across"), 651).intPair(652, 0, 100);
    background.label(QStringLiteral("Down"), 654).intPair(655, 0, 100);
    return body;
}
