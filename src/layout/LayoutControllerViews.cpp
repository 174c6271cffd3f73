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

constexpr int inspectorWidth = 340;

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
    inspector->addWidget(new QLabel(QStringLiteral("Templates")));
    _templateList = new MyOutlineView(0);
    _templateList->setDataSource(_templateSource.get(), {TableColumn {QStringLiteral("name"), QStringLiteral("Template"), TableColumn::Kind::Text, true, {}}});
    _templateList->setHeaderHidden(true);
    _templateList->setRootIsDecorated(false);
    _templateList->setDragEnabled(false);
    _templateList->setEditTriggers(QAbstractItemView::EditKeyPressed | QAbstractItemView::SelectedClicked);
    connect(_templateList->selectionModel(), &QItemSelectionModel::currentChanged, this, [this] { templateSelector(); });
    inspector->addWidget(_templateList);
    auto* templateButtons = new QHBoxLayout;
    const struct {
        const char* title;
        const char* tip;
        void (LayoutController::*action)();
    } templateCommands[] = {
        {"Add", "A copy of this page's template, named after the page, becomes its template", &LayoutController::addTemplate},
        {"Delete…", "Remove templates that no page uses", &LayoutController::deleteTemplates},
        {"Copy…", "Copy page settings and elements of the chosen template into other templates", &LayoutController::copyElements},
    };
    for (const auto& command : templateCommands) {
        auto* button = pushButton(QString::fromUtf8(command.title), _layoutPage);
        button->setToolTip(QString::fromUtf8(command.tip));
        connect(button, &QPushButton::clicked, this, [this, action = command.action] { (this->*action)(); });
        templateButtons->addWidget(button);
    }
    inspector->addLayout(templateButtons);
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

void LayoutController::buildSheets()
{
    _sheetHolder = new QWidget;
    _sheetHolder->hide();
    const auto add = [&](const QString& identifier, const QString& label, QWidget* body) {
        QWidget* view = scrollingSheet(body);
        _sheetViews[identifier] = view;
        _tabview->addTabViewItem(identifier, label, view);
    };
    add(QStringLiteral("page"), QStringLiteral("Page"), buildPageSheet());
    add(QStringLiteral("masthead"), QStringLiteral("Masthead"), buildBoxSheet(2, QStringLiteral("Masthead")));
    add(QStringLiteral("footer"), QStringLiteral("Footer"), buildFooterSheet());
    add(QStringLiteral("pagetitle"), QStringLiteral("Page Title"), buildBoxSheet(8, QStringLiteral("Page Title")));
    add(QStringLiteral("navigation"), QStringLiteral("Navigation"), buildNavigationSheet());
    add(QStringLiteral("content"), QStringLiteral("Content"), buildContentSheet());
    add(QStringLiteral("photoalbum"), QStringLiteral("Photo Album"), buildPhotoAlbumSheet());
    add(QStringLiteral("slideshow"), QStringLiteral("Slideshow"), buildSlideshowSheet());
    // The border and background panel, lent to the element sheets in border mode.
    add(QStringLiteral("borders"), QStringLiteral("Borders"), buildBorderPanel());
    _bordersTabView = sheetView(QStringLiteral("borders"));
    add(QStringLiteral("vornbox"), QStringLiteral("Vorn Box"), buildVornBoxSheet());
    add(QStringLiteral("paypal"), QStringLiteral("PayPal"), buildPayPalSheet());

    _tabview->removeTabViewItem(QStringLiteral("borders"));
    _tabview->localize();
    for (const auto& [identifier, view] : _sheetViews)
        watchNumberFields(view);
    connect(_tabview, &QTabWidget::currentChanged, this, [this] { tabViewDidSelectTabViewItem(_tabview, _tabview->selectedIdentifier()); });
}
