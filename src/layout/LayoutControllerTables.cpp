// The inspector's element tables: which elements the template shows on its
// pages and in its slideshow view, and its Vorn Boxes. The controller
// answers for every table, each question naming the table.
#include "layout/LayoutController.h"

#include "elements/XmlVornBox.h"
#include "layout/ElementTableSource.h"
#include "layout/QZLayoutView.h"
#include "model/site/XmlAlbum.h"
#include "platform/ExceptionFrame.h"
#include "platform/widgets/ItemModelAdaptor.h"
#include "platform/widgets/MyTableView.h"
#include "platform/widgets/TableColumn.h"
#include "templates/XmlStyleSheet.h"

#include <QHeaderView>
#include <QLayout>

namespace {

std::shared_ptr<XmlVornBox> vornBoxAt(const std::shared_ptr<XmlStyleSheet>& sheet, int row)
{
    return sheet ? sheet->getVornBoxes().value(row) : nullptr;
}

} // namespace

int LayoutController::numberOfRowsInTableView(const MyTableView* table)
{
    return lq::uiFrame(this, "numberOfRowsInTableView:", [&]() -> int {
        if (table == _editElementList)
            return _numberElements;
        if (table == _slideElementList)
            return int(_visibleElements.size());
        if (table == _vornBoxList) {
            const std::shared_ptr<XmlStyleSheet> sheet = getTemplate();
            return sheet ? int(sheet->getVornBoxes().size()) : 0;
        }
        return int(_elementNames.size());
    });
}

QVariant LayoutController::tableViewObjectValueForTableColumnRow(const MyTableView* table, const QString& column, int row)
{
    const QVariant value = lq::uiFrame(this, "tableView:objectValueForTableColumn:row:", [&]() -> QVariant {
        if (table == _vornBoxList) {
            const std::shared_ptr<XmlVornBox> box = vornBoxAt(getTemplate(), row);
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
            const std::shared_ptr<XmlStyleSheet> sheet = getTemplate();
            const XmlCSS* element = sheet ? XmlCSS::cast(sheet->getElementWithName(name).get()) : nullptr;
            return int(element && element->visibleInSlideshow());
        }
        if (column == u"name")
            return _elementNames.value(row);
        return QString();
    });
    return value.isValid() ? value : QVariant(QString());
}

void LayoutController::tableViewSetObjectValueForTableColumnRow(const MyTableView* table, const QVariant& value,
                                                                 const QString& column, int row)
{
    lq::uiFrame(this, "tableView:setObjectValue:forTableColumn:row:", [&] {
        const bool flag = value.toInt() != 0;
        const std::shared_ptr<XmlStyleSheet> sheet = getTemplate();
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
            sheet->relayoutFlags(getAlbum().get(), 0);
            _layoutView->fitMe();
        } else if (table == _editElementList) {
            if (column == u"visible")
                setVisibilityOfElementAtIndexVisible(row, flag);
        } else if (table == _slideElementList) {
            if (column != u"visible" || !sheet)
                return;
            if (XmlCSS* element = XmlCSS::cast(sheet->getElementWithName(_visibleElements.value(row)).get())) {
                element->setVisibleInSlideshow(flag);
                sheet->relayoutFlags(nullptr, 0);
                _layoutView->update();
            }
        }
    });
}

bool LayoutController::tableViewShouldEditTableColumnRow(const MyTableView* table, const QString& column, int)
{
    return lq::uiFrame(this, "tableView:shouldEditTableColumn:row:",
                       [&] { return table == _vornBoxList || column == u"visible"; });
}

void LayoutController::setUpElementTable(MyTableView* table, QWidget* holder, const QList<QPair<QString, QString>>& columns)
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

void LayoutController::reloadElementTables()
{
    for (MyTableView* table : {_editElementList, _slideElementList, _vornBoxList}) {
        if (table)
            table->reloadData();
    }
}
