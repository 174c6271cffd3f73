// The inspector's element tables: which elements the template shows on its
// pages and in its slideshow view, and its Vorn Boxes. The controller
// answers for every table, each question naming the table.
#include "ui/layout/ElementTables.h"

#include "ui/layout/InspectorTags.h"
#include "ui/layout/LayoutController.h"

#include "elements/XmlVornBox.h"
#include "ui/layout/ElementTableSource.h"
#include "ui/layout/QZLayoutView.h"
#include "model/site/XmlAlbum.h"
#include "platform/ExceptionFrame.h"
#include "ui/widgets/ItemModelAdaptor.h"
#include "ui/widgets/MyTableView.h"
#include "ui/widgets/TableColumn.h"
#include "templates/XmlStyleSheet.h"

#include <QHeaderView>
#include <QLayout>

namespace {

std::shared_ptr<XmlVornBox> vornBoxAt(const std::shared_ptr<XmlStyleSheet>& sheet, int row)
{
    return sheet ? sheet->getVornBoxes().value(row) : nullptr;
}

} // namespace

ElementTables::ElementTables(LayoutController& controller)
    : _controller(controller)
{
    _elementNames = {QStringLiteral("Page Background"), QStringLiteral("Text Contents"), QStringLiteral("Masthead"),
        QStringLiteral("Footer"), QStringLiteral("Page Title"), QStringLiteral("Navigation"), QStringLiteral("Photo Album"),
        QStringLiteral("Slideshow")};
}

ElementTables::~ElementTables() = default;

MyTableView* ElementTables::makeTable(Kind kind, QWidget* holder)
{
    const QPair<QString, QString> shown {QStringLiteral("visible"), QStringLiteral("Show")};
    const QPair<QString, QString> name {QStringLiteral("name"), QStringLiteral("Element")};
    switch (kind) {
    case Kind::PageElements:
        _editElementList = new MyTableView(InspectorTag::elementList, holder);
        setUpElementTable(_editElementList, holder, {shown, name});
        return _editElementList;
    case Kind::SlideshowElements:
        _slideElementList = new MyTableView(0, holder);
        setUpElementTable(_slideElementList, holder, {shown, name});
        return _slideElementList;
    case Kind::VornBoxes:
        _vornBoxList = new MyTableView(1111, holder);
        setUpElementTable(_vornBoxList, holder,
            {{QStringLiteral("main"), QStringLiteral("Page")}, {QStringLiteral("slideshow"), QStringLiteral("Slideshow")},
                {QStringLiteral("name"), QStringLiteral("Name")}});
        return _vornBoxList;
    }
    return nullptr;
}

void ElementTables::setShownElements(int number, const QStringList& visible)
{
    _numberElements = number;
    _visibleElements = visible;
}

int ElementTables::numberOfRowsInTableView(const MyTableView* table)
{
    return lq::uiFrame(&_controller, "numberOfRowsInTableView:", [&]() -> int {
        if (table == _editElementList)
            return _numberElements;
        if (table == _slideElementList)
            return int(_visibleElements.size());
        if (table == _vornBoxList) {
            const std::shared_ptr<XmlStyleSheet> sheet = _controller.getTemplate();
            return sheet ? int(sheet->getVornBoxes().size()) : 0;
        }
        return int(_elementNames.size());
    });
}

QVariant ElementTables::tableViewObjectValueForTableColumnRow(const MyTableView* table, const QString& column, int row)
{
    const QVariant value = lq::uiFrame(&_controller, "tableView:objectValueForTableColumn:row:", [&]() -> QVariant {
        if (table == _vornBoxList) {
            const std::shared_ptr<XmlVornBox> box = vornBoxAt(_controller.getTemplate(), row);
            if (!box)
                return QString();
            // "main" is whether the box shows on the pages, whichever view
            // the template shows: it is what a tick there changes.
            if (column == u"main")
                return int(box->baseVisibility());
            if (column == u"slideshow")
                return int(box->visibleInSlideshow());
            return box->fullname();
        }
        if (table == _editElementList) {
            if (column == u"name") {
                const XmlBasePtr element = getElementAtIndex(row);
                return element ? element->name() : QString();
            }
            return int(getVisibilityOfElementAtIndex(row));
        }
        if (table == _slideElementList) {
            const QString name = _visibleElements.value(row);
            if (column == u"name")
                return name;
            const std::shared_ptr<XmlStyleSheet> sheet = _controller.getTemplate();
            const XmlCSS* element = sheet ? XmlCSS::cast(sheet->getElementWithName(name).get()) : nullptr;
            return int(element && element->visibleInSlideshow());
        }
        if (column == u"name")
            return _elementNames.value(row);
        return QString();
    });
    return value.isValid() ? value : QVariant(QString());
}

void ElementTables::tableViewSetObjectValueForTableColumnRow(const MyTableView* table, const QVariant& value,
                                                                 const QString& column, int row)
{
    lq::uiFrame(&_controller, "tableView:setObjectValue:forTableColumn:row:", [&] {
        const bool flag = value.toInt() != 0;
        const std::shared_ptr<XmlStyleSheet> sheet = _controller.getTemplate();
        if (table == _vornBoxList) {
            const std::shared_ptr<XmlVornBox> box = vornBoxAt(sheet, row);
            if (!box)
                return;
            if (column == u"name") {
                box->setFullname(value.toString());
                return;
            }
            if (column == u"main")
                box->setVisible(flag);
            else if (column == u"slideshow")
                box->setVisibleInSlideshow(flag);
            else
                return;
            sheet->relayoutFlags(_controller.getAlbum().get(), 0);
            _controller.layoutView()->fitMe();
        } else if (table == _editElementList) {
            if (column == u"visible")
                setVisibilityOfElementAtIndexVisible(row, flag);
        } else if (table == _slideElementList) {
            if (column != u"visible" || !sheet)
                return;
            if (XmlCSS* element = XmlCSS::cast(sheet->getElementWithName(_visibleElements.value(row)).get())) {
                element->setVisibleInSlideshow(flag);
                sheet->relayoutFlags(nullptr, 0);
                _controller.layoutView()->update();
            }
        }
    });
}

bool ElementTables::tableViewShouldEditTableColumnRow(const MyTableView* table, const QString& column, int)
{
    return lq::uiFrame(&_controller, "tableView:shouldEditTableColumn:row:",
                       [&] { return table == _vornBoxList || column == u"visible"; });
}

void ElementTables::setUpElementTable(MyTableView* table, QWidget* holder, const QList<QPair<QString, QString>>& columns)
{
    _tableSources.push_back(std::make_unique<ElementTableSource>(*this, table));
    QList<TableColumn> kinds;
    for (const auto& [identifier, title] : columns) {
        const TableColumn::Kind kind = identifier == u"name" ? TableColumn::Kind::Text : TableColumn::Kind::Check;
        kinds.append(TableColumn {identifier, title, kind, tableViewShouldEditTableColumnRow(table, identifier, 0), {}});
    }
    table->setDataSource(_tableSources.back().get(), kinds);
    table->setDragEnabled(false);
    table->setDragDropMode(QAbstractItemView::NoDragDrop);
    table->setSelectionMode(QAbstractItemView::SingleSelection);
    table->verticalHeader()->hide();
    table->horizontalHeader()->setStretchLastSection(true);
    table->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    table->setMinimumHeight(80);
    table->setMaximumHeight(170);
    holder->layout()->addWidget(table);
}

void ElementTables::reloadElementTables()
{
    for (MyTableView* table : {_editElementList, _slideElementList, _vornBoxList}) {
        if (table)
            table->reloadData();
    }
}

XmlBasePtr ElementTables::getElementAtIndex(int index)
{
    return lq::uiFrame(&_controller, "getElementAtIndex:", [&]() -> XmlBasePtr {
        const std::shared_ptr<XmlStyleSheet> sheet = _controller.getTemplate();
        if (!sheet || index < 0)
            return nullptr;
        int counted = 0;
        for (const auto& element : sheet->childrenOfType<XmlCSS>()) {
            if (!element->enabled())
                continue;
            if (counted++ == index)
                return element;
        }
        return nullptr;
    });
}

int ElementTables::getIndexForElement(XmlBase* element)
{
    return lq::uiFrame(&_controller, "getIndexForElement:", [&] {
        const std::shared_ptr<XmlStyleSheet> sheet = _controller.getTemplate();
        if (!sheet || !element)
            return -1;
        int counted = 0;
        for (const auto& candidate : sheet->childrenOfType<XmlCSS>()) {
            if (!candidate->enabled())
                continue;
            if (candidate.get() == element)
                return counted;
            ++counted;
        }
        return -1;
    });
}

bool ElementTables::getVisibilityOfElementAtIndex(int index)
{
    XmlCSS* element = XmlCSS::cast(getElementAtIndex(index).get());
    return !element || element->baseVisibility();
}

void ElementTables::setVisibilityOfElementAtIndexVisible(int index, bool visible)
{
    lq::uiFrame(&_controller, "setVisibilityOfElementAtIndex:visible:", [&] {
        const std::shared_ptr<XmlStyleSheet> sheet = _controller.getTemplate();
        if (!sheet)
            return;
        if (XmlCSS* element = XmlCSS::cast(getElementAtIndex(index).get()))
            element->setVisible(visible);
        _controller.removeAllTabs();
        _controller.relayoutSheet();
        _visibleElements = sheet->visibleElements();
        // The slideshow view's table lists the elements shown now.
        _slideElementList->reloadData();
    });
}

void ElementTables::selectElementListRow(XmlBoxModel* element)
{
    const int row = element ? getIndexForElement(element) : -1;
    if (row < 0)
        _editElementList->clearSelection();
    else
        _editElementList->selectRow(row);
}
