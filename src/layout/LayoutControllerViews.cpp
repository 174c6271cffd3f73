// The views of the layout and preview tabs: the canvas in its two scroll
// views, the page controls, the guide controls, the inspector's sheets and
// the template selector.
#include "layout/LayoutController.h"

#include "layout/CautionTape.h"
#include "layout/MyScrollView.h"
#include "layout/QZLayoutView.h"
#include "layout/TemplateListSource.h"
#include "platform/widgets/MyButton.h"
#include "platform/widgets/MyCheckBox.h"
#include "platform/widgets/MyColorWell.h"
#include "platform/widgets/MyLabel.h"
#include "platform/widgets/MyMatrix.h"
#include "platform/widgets/MyOutlineView.h"
#include "platform/widgets/MyPopUpButton.h"
#include "platform/widgets/MyTabView.h"
#include "platform/widgets/MyTableView.h"
#include "platform/widgets/SheetBuilder.h"
#include "platform/widgets/TableColumn.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QRadioButton>
#include <QLabel>
#include <QVBoxLayout>

namespace {

constexpr int inspectorWidth = 300;

MyButton* pushButton(const QString& title, QWidget* parent)
{
    auto* button = new MyButton(0, title, parent);
    button->setAutoDefault(false);
    return button;
}

} // namespace

void LayoutController::buildLayoutPage()
{
    _layoutPage = new QWidget;
    auto* columns = new QHBoxLayout(_layoutPage);
    columns->setContentsMargins(4, 4, 4, 4);

    auto* canvasColumn = new QVBoxLayout;
    _webPage = new MyPopUpButton(0);
    canvasColumn->addWidget(buildPageControls(_webPage));
    // The caution tape takes its height from the canvas, whose top stays.
    auto* canvasAndTape = new QVBoxLayout;
    canvasAndTape->setSpacing(0);
    _scrollLayoutView = new MyScrollView;
    canvasAndTape->addWidget(_scrollLayoutView, 1);
    _cautionTape = new CautionTape;
    _cautionTape->hide();
    canvasAndTape->addWidget(_cautionTape);
    canvasColumn->addLayout(canvasAndTape, 1);
    _guideBar = buildGuideControls();
    canvasColumn->addWidget(_guideBar);
    columns->addLayout(canvasColumn, 1);

    auto* inspector = new QVBoxLayout;
    _tabview = new MyTabView;
    _tabview->setUsesScrollButtons(true);
    inspector->addWidget(_tabview, 1);
    _backgroundBox = new QWidget;
    inspector->addWidget(_backgroundBox);
    inspector->addWidget(new QLabel(QStringLiteral("Templates")));
    _templateList = new MyOutlineView(0);
    _templateList->setDataSource(_templateSource.get(), {TableColumn {QStringLiteral("name"), QStringLiteral("Template"), TableColumn::Kind::Text, true, {}}});
    _templateList->setHeaderHidden(true);
    _templateList->setRootIsDecorated(false);
    _templateList->setDragEnabled(false);
    _templateList->setEditTriggers(QAbstractItemView::EditKeyPressed | QAbstractItemView::SelectedClicked);
    connect(_templateList->selectionModel(), &QItemSelectionModel::currentChanged, this, [this] { templateSelector(); });
    inspector->addWidget(_templateList);
    auto* addButton = pushButton(QStringLiteral("Add Template"), _layoutPage);
    connect(addButton, &QPushButton::clicked, this, [this] { addTemplate(); });
    inspector->addWidget(addButton);
    _tools = new QWidget;
    _tools->setLayout(inspector);
    _tools->setFixedWidth(inspectorWidth);
    inspector->setContentsMargins(0, 0, 0, 0);
    columns->addWidget(_tools);
}

void LayoutController::buildPreviewPage()
{
    _previewPage = new QWidget;
    auto* rows = new QVBoxLayout(_previewPage);
    rows->setContentsMargins(4, 4, 4, 4);
    _webPage2 = new MyPopUpButton(0);
    rows->addWidget(buildPageControls(_webPage2));
    _scrollBrowserView = new MyScrollView;
    rows->addWidget(_scrollBrowserView, 1);
}

QWidget* LayoutController::buildPageControls(MyPopUpButton* pages)
{
    auto* bar = new QWidget;
    auto* row = new QHBoxLayout(bar);
    row->setContentsMargins(0, 0, 0, 0);
    row->addWidget(new QLabel(QStringLiteral("Page:")));
    pages->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    pages->setMinimumContentsLength(16);
    connect(pages, &QComboBox::activated, this, [this, pages] { selectPage(pages); });
    row->addWidget(pages);
    auto* previous = pushButton(QStringLiteral("Previous"), bar);
    auto* next = pushButton(QStringLiteral("Next"), bar);
    auto* home = pushButton(QStringLiteral("Home"), bar);
    connect(previous, &QPushButton::clicked, this, [this] { prevPage(); });
    connect(next, &QPushButton::clicked, this, [this] { nextPage(); });
    connect(home, &QPushButton::clicked, this, [this] { homePage(); });
    row->addWidget(previous);
    row->addWidget(next);
    row->addWidget(home);
    if (pages == _webPage2) {
        _statusLine = new QLabel;
        row->addWidget(_statusLine, 1);
    } else {
        row->addStretch(1);
        _compact = pushButton(QStringLiteral("Hide Tools"), bar);
        _compact->setCheckable(true);
        connect(_compact, &QPushButton::clicked, this, [this] { compactUI(true); });
        row->addWidget(_compact);
    }
    return bar;
}

QWidget* LayoutController::buildGuideControls()
{
    auto* bar = new QWidget;
    auto* row = new QHBoxLayout(bar);
    row->setContentsMargins(0, 0, 0, 0);
    row->addWidget(new QLabel(QStringLiteral("Guides:")));
    auto* colour = new MyColorWell(0, bar);
    colour->setColor(_layoutView->guideColor().toQColor());
    connect(colour, &MyColorWell::colorChanged, this, [this](const QColor& picked) { _layoutView->setGuideColor(lq::Colour::fromQColor(picked)); });
    row->addWidget(colour);
    // The canvas's action gets the check box; the slot holds nothing of this frame.
    QZLayoutView* canvas = _layoutView;
    const auto check = [&](const QString& title, void (QZLayoutView::*action)(QAbstractButton*)) {
        auto* box = new MyCheckBox(0, title, bar);
        connect(box, &QCheckBox::toggled, canvas, [canvas, box, action] { (canvas->*action)(box); });
        row->addWidget(box);
        return box;
    };
    check(QStringLiteral("Edges"), &QZLayoutView::enableEdge);
    check(QStringLiteral("Centres"), &QZLayoutView::enableCenter);
    check(QStringLiteral("Page Boundaries"), &QZLayoutView::enablePageBoundaries);
    auto* grid = new MyCheckBox(0, QStringLiteral("Grid"), bar);
    connect(grid, &QCheckBox::toggled, this, [this](bool on) { _layoutView->setShowGrid(on); });
    row->addWidget(grid);
    row->addStretch(1);
    return bar;
}

QWidget* LayoutController::buildElementSheet(int hundreds, const QString& title)
{
    auto* view = new QWidget;
    SheetBuilder sheet(view, this, nullptr);
    sheet.text(0, title);
    auto* properties = sheet.button(hundreds * 100 + 99, QStringLiteral("Properties"));
    auto* borders = sheet.button(hundreds * 100 + 98, QStringLiteral("Borders"));
    for (MyButton* button : {properties, borders}) {
        button->setCheckable(true);
        button->setAutoDefault(false);
    }
    return view;
}

void LayoutController::buildSheets()
{
    _sheetHolder = new QWidget;
    _sheetHolder->hide();
    const auto add = [&](const QString& identifier, const QString& label, QWidget* view) {
        _sheetViews[identifier] = view;
        _tabview->addTabViewItem(identifier, label, view);
    };

    auto* page = new QWidget;
    SheetBuilder(page, this, nullptr).text(0, QStringLiteral("The page and its background"));
    // Which of the template's elements show on its pages.
    _editElementList = new MyTableView(113, page);
    setUpElementTable(_editElementList, page, {{QStringLiteral("visible"), QStringLiteral("Show")}, {QStringLiteral("name"), QStringLiteral("Element")}});
    add(QStringLiteral("page"), QStringLiteral("Page"), page);
    add(QStringLiteral("masthead"), QStringLiteral("Masthead"), buildElementSheet(2, QStringLiteral("Masthead")));
    add(QStringLiteral("footer"), QStringLiteral("Footer"), buildElementSheet(7, QStringLiteral("Footer")));
    add(QStringLiteral("pagetitle"), QStringLiteral("Page Title"), buildElementSheet(8, QStringLiteral("Page Title")));
    add(QStringLiteral("navigation"), QStringLiteral("Navigation"), buildElementSheet(3, QStringLiteral("Navigation")));
    add(QStringLiteral("content"), QStringLiteral("Content"), buildElementSheet(4, QStringLiteral("Content")));
    for (const char* identifier : {"masthead", "footer", "pagetitle", "navigation", "content"})
        addGeometryFields(sheetView(QLatin1String(identifier)), QLatin1String(identifier));

    QWidget* album = buildElementSheet(5, QStringLiteral("Photo Album"));
    addGeometryFields(album, QStringLiteral("photoalbum"));
    _paThumbnail = new QWidget(album);
    _paFreeStyle = new QWidget(album);
    album->layout()->addWidget(_paThumbnail);
    album->layout()->addWidget(_paFreeStyle);
    add(QStringLiteral("photoalbum"), QStringLiteral("Photo Album"), album);

    QWidget* slideshow = buildElementSheet(9, QStringLiteral("Slideshow"));
    addGeometryFields(slideshow, QStringLiteral("slideshow"));
    // Shown while the template shows its slideshow view: which elements show there.
    _slideVisible = new QWidget(slideshow);
    auto* slideRows = new QVBoxLayout(_slideVisible);
    slideRows->setContentsMargins(0, 0, 0, 0);
    slideRows->addWidget(new QLabel(QStringLiteral("Shown in the slideshow view:"), _slideVisible));
    _slideElementList = new MyTableView(0, _slideVisible);
    setUpElementTable(_slideElementList, _slideVisible, {{QStringLiteral("visible"), QStringLiteral("Show")}, {QStringLiteral("name"), QStringLiteral("Element")}});
    slideshow->layout()->addWidget(_slideVisible);
    add(QStringLiteral("slideshow"), QStringLiteral("Slideshow"), slideshow);

    // The border and background panel, lent to the element sheets in border mode.
    _bordersTabView = new QWidget;
    SheetBuilder borders(_bordersTabView, this, nullptr);
    _whichBorderLabel = borders.text(0, QStringLiteral("Edit the borders of:"));
    auto* which = borders.matrix(0, {});
    _whichBorderMatrix = which;
    _whichBorderOption1 = which->addCell(QStringLiteral("Menu Item"), 633);
    _whichBorderOption2 = which->addCell(QStringLiteral("Menu"), 634);
    _propertiesButton = borders.button(0, QStringLiteral("Properties"));
    _bordersButton = borders.button(0, QStringLiteral("Borders"));
    _propertiesButton->setCheckable(true);
    _bordersButton->setCheckable(true);
    add(QStringLiteral("borders"), QStringLiteral("Borders"), _bordersTabView);

    QWidget* vornbox = buildElementSheet(11, QStringLiteral("Vorn Box"));
    {
        // The template's Vorn Boxes: on the pages, in the slideshow view, and their names.
        _vornBoxList = new MyTableView(0, vornbox);
        setUpElementTable(_vornBoxList, vornbox,
            {{QStringLiteral("main"), QStringLiteral("Page")}, {QStringLiteral("slideshow"), QStringLiteral("Slideshow")},
                {QStringLiteral("name"), QStringLiteral("Name")}});
        addGeometryFields(vornbox, QStringLiteral("vornbox"));
        SheetBuilder more(vornbox, this, nullptr);
        more.label(QStringLiteral("Kind"))
            .popUp(1109, {{QStringLiteral("External File"), 0}, {QStringLiteral("Rich Text"), 1}, {QStringLiteral("HTML Snippet"), 2}, {QStringLiteral("Layer Box"), 3}});
        _vornBoxPosition = new QWidget(vornbox);
        _vornBoxTab = new QWidget(vornbox);
        vornbox->layout()->addWidget(_vornBoxPosition);
        vornbox->layout()->addWidget(_vornBoxTab);
    }
    add(QStringLiteral("vornbox"), QStringLiteral("Vorn Box"), vornbox);

    auto* paypal = new QWidget;
    auto* paypalLayout = new QVBoxLayout(paypal);
    _payPalTabView = new MyTabView(paypal);
    _payPalTabView->addTabViewItem(QStringLiteral("thumbnail"), QStringLiteral("Thumbnails"), new QWidget);
    _payPalTabView->addTabViewItem(QStringLiteral("slideshow"), QStringLiteral("Slideshow"), new QWidget);
    connect(_payPalTabView, &QTabWidget::currentChanged, this,
        [this] { tabViewDidSelectTabViewItem(_payPalTabView, _payPalTabView->selectedIdentifier()); });
    paypalLayout->addWidget(_payPalTabView);
    add(QStringLiteral("paypal"), QStringLiteral("PayPal"), paypal);

    _tabview->removeTabViewItem(QStringLiteral("borders"));
    _tabview->localize();
    connect(_tabview, &QTabWidget::currentChanged, this, [this] { tabViewDidSelectTabViewItem(_tabview, _tabview->selectedIdentifier()); });
}
