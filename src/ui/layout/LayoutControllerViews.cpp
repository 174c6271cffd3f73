// The views of the layout and preview tabs: the canvas in its two scroll
// views, the page controls, the guide controls, the inspector's sheets and
// the template selector.
#include "ui/layout/LayoutController.h"

#include "ui/layout/BorderPanel.h"
#include "ui/layout/BoxSheet.h"
#include "ui/layout/CanvasController.h"
#include "ui/layout/ContentSheet.h"
#include "ui/layout/FooterSheet.h"
#include "ui/layout/MyScrollView.h"
#include "ui/layout/PageNavigation.h"
#include "ui/layout/NavigationSheet.h"
#include "ui/layout/PageSheet.h"
#include "ui/layout/PayPalSheet.h"
#include "ui/layout/PhotoAlbumSheet.h"
#include "ui/layout/QZLayoutView.h"
#include "ui/layout/SlideshowSheet.h"
#include "ui/layout/TemplateSelector.h"
#include "ui/layout/VornBoxSheet.h"
#include "ui/widgets/MyButton.h"
#include "ui/widgets/MyCheckBox.h"
#include "ui/widgets/MyColorWell.h"
#include "ui/widgets/MyLabel.h"
#include "ui/widgets/MyMatrix.h"
#include "ui/widgets/MyOutlineView.h"
#include "ui/widgets/MyPopUpButton.h"
#include "ui/widgets/MyTabView.h"
#include "ui/widgets/MyTableView.h"
#include "ui/widgets/SheetBuilder.h"
#include "ui/widgets/TableColumn.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QRadioButton>
#include <QComboBox>
#include <QFormLayout>
#include <QScrollArea>
#include <QLabel>
#include <QVBoxLayout>

namespace {

constexpr int inspectorWidth = 340;

// The scroll view that shows the body of a sheet.
QScrollArea* scrollingSheet(QWidget* body)
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

} // namespace

void LayoutController::buildLayoutPage()
{
    _layoutPage = new QWidget;
    auto* columns = new QHBoxLayout(_layoutPage);
    columns->setContentsMargins(4, 4, 4, 4);

    auto* canvasColumn = new QVBoxLayout;
    canvasColumn->addWidget(_pages->buildPageControls(false));
    _canvas->buildCanvasColumn(canvasColumn);
    columns->addLayout(canvasColumn, 1);

    auto* inspector = new QVBoxLayout;
    _tabview = new MyTabView;
    _tabview->setUsesScrollButtons(true);
    inspector->addWidget(_tabview, 1);
    _templateSelector->build(inspector, _layoutPage);
    QWidget* tools = _canvas->buildTools(inspector);
    tools->setFixedWidth(inspectorWidth);
    inspector->setContentsMargins(0, 0, 0, 0);
    columns->addWidget(tools);
}

void LayoutController::buildPreviewPage()
{
    _previewPage = new QWidget;
    auto* rows = new QVBoxLayout(_previewPage);
    rows->setContentsMargins(4, 4, 4, 4);
    rows->addWidget(_pages->buildPageControls(true));
    rows->addWidget(_canvas->buildBrowserView(), 1);
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
    add(QStringLiteral("page"), QStringLiteral("Page"), _pageSheet->build());
    add(QStringLiteral("masthead"), QStringLiteral("Masthead"), _boxSheet->build(2, QStringLiteral("Masthead")));
    add(QStringLiteral("footer"), QStringLiteral("Footer"), _footerSheet->build());
    add(QStringLiteral("pagetitle"), QStringLiteral("Page Title"), _boxSheet->build(8, QStringLiteral("Page Title")));
    add(QStringLiteral("navigation"), QStringLiteral("Navigation"), _navigationSheet->build());
    add(QStringLiteral("content"), QStringLiteral("Content"), _contentSheet->build());
    add(QStringLiteral("photoalbum"), QStringLiteral("Photo Album"), _photoAlbumSheet->build());
    add(QStringLiteral("slideshow"), QStringLiteral("Slideshow"), _slideshowSheet->build());
    // The border and background panel, lent to the element sheets in border mode.
    add(QStringLiteral("borders"), QStringLiteral("Borders"), _borderPanel->build());
    _bordersTabView = sheetView(QStringLiteral("borders"));
    add(QStringLiteral("vornbox"), QStringLiteral("Vorn Box"), _vornBoxSheet->build());
    add(QStringLiteral("paypal"), QStringLiteral("PayPal"), _payPalSheet->build());

    _tabview->removeTabViewItem(QStringLiteral("borders"));
    _tabview->localize();
    for (const auto& [identifier, view] : _sheetViews)
        watchNumberFields(view);
    connect(_tabview, &QTabWidget::currentChanged, this, [this] { tabViewDidSelectTabViewItem(_tabview, _tabview->selectedIdentifier()); });
}
