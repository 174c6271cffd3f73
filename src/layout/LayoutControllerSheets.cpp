// The views of the inspector's sheets for the page, the text boxes, the
// footer, the navigation menu, the content box and the Vorn Boxes: one line
// per control, each carrying its tag. The controls send action (the border
// panel's action3, the Properties and Borders buttons action2).
#include "layout/LayoutController.h"

#include "editors/photo/ImageWell.h"
#include "layout/InspectorTags.h"
#include "platform/text/Font.h"
#include "platform/widgets/MyButton.h"
#include "platform/widgets/MyColorWell.h"
#include "platform/widgets/MyLabel.h"
#include "platform/widgets/MyPopUpButton.h"
#include "platform/widgets/MyTabView.h"
#include "platform/widgets/MyTableView.h"
#include "platform/widgets/MyTextView.h"
#include "platform/widgets/SheetBuilder.h"

#include <QComboBox>
#include <QFormLayout>
#include <QScrollArea>
#include <QVBoxLayout>

namespace {

constexpr int largestNumber = 9999;
constexpr int largestFontSize = 200;

const SheetBuilder::TaggedItems& fontFaces()
{
    static const SheetBuilder::TaggedItems faces = [] {
        SheetBuilder::TaggedItems items;
        const QStringList names = lq::Font::faceNames();
        for (int index = 0; index < names.size(); ++index)
            items.append({names[index], index});
        return items;
    }();
    return faces;
}

constexpr QSize wellSize(96, 72);
constexpr QSize rolloverWellSize(72, 44);

} // namespace

SheetBuilder LayoutController::sheetBuilder(QWidget* body)
{
    return SheetBuilder(body, this, [this](QWidget* sender) { action(sender); });
}

SheetBuilder LayoutController::panelBuilder(QWidget* body)
{
    return SheetBuilder(body, this, [this](QWidget* sender) { action3(sender); });
}

QScrollArea* LayoutController::scrollingSheet(QWidget* body)
{
    auto* scroll = new QScrollArea;
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    scroll->setWidget(body);
    // Pop-ups as wide as the sheet gives them, however long their items.
    for (auto* popUp : body->findChildren<QComboBox*>()) {
        popUp->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
        popUp->setMinimumContentsLength(8);
    }
    for (auto* form : body->findChildren<QFormLayout*>())
        form->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
    return scroll;
}

ImageWell* LayoutController::makeImageWell(int tag, bool borderPanel)
{
    auto* well = new ImageWell;
    well->setMinimumSize(wellSize);
    well->setMaximumHeight(wellSize.height());
    if (borderPanel)
        well->setTargetActionTag(this, [this](ImageWell* sender) { action3(sender); }, tag);
    else
        well->setTargetActionTag(this, [this](ImageWell* sender) { action(sender); }, tag);
    return well;
}

QWidget* LayoutController::buildElementSheet(int hundreds, const QString& title)
{
    auto* body = new QWidget;
    SheetBuilder sheet(body, this, [this](QWidget* sender) { action2(sender); });
    sheet.text(0, title);
    sheet.beginRow();
    auto* properties = sheet.button(hundreds * 100 + 99, QStringLiteral("Properties"));
    auto* borders = sheet.button(hundreds * 100 + 98, QStringLiteral("Borders"));
    sheet.endRow();
    for (MyButton* button : {properties, borders}) {
        button->setCheckable(true);
        button->setAutoDefault(false);
    }
    return body;
}

void LayoutController::addFontRows(SheetBuilder& rows, const InspectorFontTags& tags)
{
    if (tags.font)
        rows.label(QStringLiteral("Font")).popUp(tags.font, fontFaces());
    if (tags.size)
        rows.label(QStringLiteral("Size")).intPair(tags.size, 1, largestFontSize);
    if (tags.color)
        rows.label(QStringLiteral("Colour")).colorWell(tags.color);
    if (tags.underline || tags.italic || tags.bold) {
        rows.beginRow();
        if (tags.underline)
            rows.check(tags.underline, QStringLiteral("Underline"));
        if (tags.italic)
            rows.check(tags.italic, QStringLiteral("Italic"));
        if (tags.bold)
            rows.check(tags.bold, QStringLiteral("Bold"));
        rows.endRow();
    }
    if (tags.alignment) {
        rows.label(QStringLiteral("Alignment")).beginRow();
        const QStringList titles = {QStringLiteral("Left"), QStringLiteral("Centre"), QStringLiteral("Right")};
        for (int which = 0; which < 3; ++which) {
            MyButton* button = rows.button(tags.alignment + which, titles[which]);
            button->setCheckable(true);
            button->setAutoDefault(false);
            // Narrower than a dialog's buttons, never narrower than the title.
            button->setMinimumWidth(button->fontMetrics().horizontalAdvance(titles[which]) + 16);
        }
        rows.endRow();
    }
    if (tags.lineSpacing)
        rows.label(QStringLiteral("Line Spacing")).intPair(tags.lineSpacing, -99, 999);
    if (tags.underlineLinks)
        rows.check(tags.underlineLinks, QStringLiteral("Underline links"));
    if (tags.links) {
        // Normal, under the pointer, clicked.
        rows.label(QStringLiteral("Links")).beginRow();
        rows.colorWell(tags.links)->setToolTip(QStringLiteral("Link"));
        rows.colorWell(tags.links + 1)->setToolTip(QStringLiteral("Link under the pointer"));
        rows.colorWell(tags.links + 2)->setToolTip(QStringLiteral("Clicked link"));
        rows.endRow();
    }
}

QWidget* LayoutController::buildPageSheet()
{
    auto* body = new QWidget;
    SheetBuilder rows = sheetBuilder(body);
    rows.text(0, QStringLiteral("The page and its background"));
    rows.label(QStringLiteral("Background"))
        .popUp(110, {{QStringLiteral("None"), 0}, {QStringLiteral("Colour"), 1}, {QStringLiteral("Picture"), 2},
                        {QStringLiteral("Picture repeated across"), 3}, {QStringLiteral("Picture repeated down"), 4},
                        {QStringLiteral("Picture tiled"), 5}, {QStringLiteral("Picture in slices"), 6}});
    rows.label(QStringLiteral("Colour")).colorWell(111);
    _pageImageWell = makeImageWell(InspectorTag::pageImageWell, false);
    rows.label(QStringLiteral("Picture")).view(_pageImageWell);
    rows.label(QStringLiteral("Top Slice"), 164).beginRow();
    rows.intPair(160, 0, largestNumber);
    rows.text(165, QStringLiteral("pixels"));
    rows.endRow();
    rows.label(QStringLiteral("Bottom Slice"), 166).beginRow();
    rows.intPair(162, 0, largestNumber);
    rows.text(167, QStringLiteral("pixels"));
    rows.endRow();
    rows.check(170, QStringLiteral("Centre across the window"));
    rows.check(171, QStringLiteral("Centre down the window"));
    rows.check(172, QStringLiteral("Flow with the window"));
    rows.text(0, QStringLiteral("Elements shown on the pages:"));
    _editElementList = new MyTableView(InspectorTag::elementList, body);
    setUpElementTable(_editElementList, body, {{QStringLiteral("visible"), QStringLiteral("Show")}, {QStringLiteral("name"), QStringLiteral("Element")}});
    return body;
}

// The masthead (2xx) and the page title (8xx).
QWidget* LayoutController::buildBoxSheet(int hundreds, const QString& title)
{
    QWidget* body = buildElementSheet(hundreds, title);
    addGeometryFields(body, hundreds == 2 ? QStringLiteral("masthead") : QStringLiteral("pagetitle"));
    const int base = hundreds * 100;
    SheetBuilder rows = sheetBuilder(body);
    SheetBuilder font = rows.group(QStringLiteral("Text"));
    addFontRows(font, {.font = base + 10, .size = base + 11, .color = base + 13, .underline = base + 14, .italic = base + 15,
                          .bold = base + 16, .alignment = base + 17});
    return body;
}

QWidget* LayoutController::buildFooterSheet()
{
    QWidget* body = buildElementSheet(7, QStringLiteral("Footer"));
    addGeometryFields(body, QStringLiteral("footer"));
    SheetBuilder rows = sheetBuilder(body);
    rows.label(QStringLiteral("Place"))
        .popUp(727, {{QStringLiteral("Below the page"), 0}, {QStringLiteral("At its own height"), 1}});
    SheetBuilder font = rows.group(QStringLiteral("Text"));
    addFontRows(font, {.font = 710, .size = 711, .color = 713, .italic = 715, .underlineLinks = 720, .links = 721});
    rows.check(724, QStringLiteral("\"Created with\" credit"));
    rows.check(725, QStringLiteral("View counter"));
    rows.check(728, QStringLiteral("Use an HTML snippet"));
    _footerSnippetEditor = new MyTextView(body);
    _footerSnippetEditor->setAcceptRichText(false);
    _footerSnippetEditor->setMinimumHeight(90);
    connect(_footerSnippetEditor, &QTextEdit::textChanged, this, [this] { textDidChange(_footerSnippetEditor); });
    rows.view(_footerSnippetEditor);
    return body;
}

QWidget* LayoutController::buildNavigationSheet()
{
    QWidget* body = buildElementSheet(3, QStringLiteral("Navigation"));
    addGeometryFields(body, QStringLiteral("navigation"));
    SheetBuilder rows = sheetBuilder(body);
    rows.label(QStringLiteral("Arrangement"))
        .popUp(334, {{QStringLiteral("Vertical"), 0}, {QStringLiteral("Horizontal"), 1}, {QStringLiteral("Horizontal, fixed width"), 2}});
    rows.label(QStringLiteral("Item Width"), 335).intPair(332, 0, largestNumber);
    rows.label(QStringLiteral("Item Spacing")).intPair(330, 0, largestNumber);
    rows.label(QStringLiteral("Pages"))
        .matrix(340, {{QStringLiteral("The home page's"), 341}, {QStringLiteral("The shown page's group"), 342},
                         {QStringLiteral("Home, with the group's pages"), 343}});
    rows.label(QStringLiteral("Submenu Indent")).intPair(351, 0, largestNumber);
    rows.label(QStringLiteral("Submenu Size")).intPair(336, 1, 999);

    SheetBuilder font = rows.group(QStringLiteral("Text"));
    addFontRows(font, {.font = 306, .size = 307, .italic = 309, .bold = 310, .alignment = 311});

    SheetBuilder states = rows.group(QStringLiteral("Items: text colour and underline"));
    const QStringList names = {QStringLiteral("Current"), QStringLiteral("Normal"), QStringLiteral("Hover"), QStringLiteral("Click")};
    for (int state = 0; state < 4; ++state) {
        const int base = 314 + state * 4;
        states.label(names[state]).beginRow();
        states.colorWell(base + 2);
        states.check(base + 3, QStringLiteral("Underline"));
        states.endRow();
    }

    rows.label(QStringLiteral("Backgrounds")).matrix(350, {{QStringLiteral("Colours"), 0}, {QStringLiteral("Pictures"), 1}});
    _menuBkgndTabView = new MyTabView(body);
    auto* colours = new QWidget;
    auto* pictures = new QWidget;
    SheetBuilder colourRows = sheetBuilder(colours);
    SheetBuilder pictureRows = sheetBuilder(pictures);
    for (int state = 0; state < 4; ++state) {
        const int base = 314 + state * 4;
        colourRows.label(names[state]).beginRow();
        colourRows.colorWell(base);
        colourRows.check(base + 1, QStringLiteral("Shown"));
        colourRows.endRow();
        _rolloverWells[state] = makeImageWell(InspectorTag::firstRolloverWell + state, false);
        _rolloverWells[state]->setMinimumSize(rolloverWellSize);
        _rolloverWells[state]->setMaximumHeight(rolloverWellSize.height());
        pictureRows.label(names[state]).view(_rolloverWells[state]);
    }
    _menuBkgndTabView->addTabViewItem(QStringLiteral("colorwells"), QStringLiteral("Colours"), colours);
    _menuBkgndTabView->addTabViewItem(QStringLiteral("imagerollovers"), QStringLiteral("Pictures"), pictures);
    rows.view(_menuBkgndTabView);
    return body;
}

QWidget* LayoutController::buildContentSheet()
{
    QWidget* body = buildElementSheet(4, QStringLiteral("Content"));
    addGeometryFields(body, QStringLiteral("content"));
    SheetBuilder rows = sheetBuilder(body);
    rows.check(409, QStringLiteral("Extend to the page's bottom"));
    rows.label(QStringLiteral("Vertical Space")).intPair(490, 0, largestNumber);
    rows.label(QStringLiteral("Horizontal Space")).intPair(492, 0, largestNumber);
    const QList<QPair<QString, int>> fonts = {{QStringLiteral("Text"), 410}, {QStringLiteral("Heading"), 420},
        {QStringLiteral("Subheading"), 430}, {QStringLiteral("Caption"), 440}};
    for (const auto& [title, base] : fonts) {
        SheetBuilder font = rows.group(title);
        addFontRows(font, {.font = base, .size = base + 1, .color = base + 3, .lineSpacing = base + 4,
                              .underlineLinks = base + 6, .links = base + 7});
    }
    return body;
}
