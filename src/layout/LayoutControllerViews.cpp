// The views of the layout and preview tabs: the canvas in its two scroll
// views, the page controls, the guide controls, the inspector's sheets and
// the template selector.
#include "layout/LayoutController.h"

#include "layout/BorderPanel.h"
#include "layout/BoxSheet.h"
#include "layout/CanvasController.h"
#include "layout/ContentSheet.h"
#include "layout/FooterSheet.h"
#include "layout/MyScrollView.h"
#include "layout/PageNavigation.h"
#include "layout/NavigationSheet.h"
#include "layout/PageSheet.h"
#include "layout/PayPalSheet.h"
#include "layout/PhotoAlbumSheet.h"
#include "layout/QZLayoutView.h"
#include "layout/SlideshowSheet.h"
#include "layout/TemplateSelector.h"
#include "layout/VornBoxSheet.h"
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
