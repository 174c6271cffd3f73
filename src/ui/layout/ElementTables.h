#pragma once

#include "model/core/XmlBase.h"

#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <memory>
#include <vector>

class ElementTableSource;
class LayoutController;
class MyTableView;
class QWidget;
class XmlBoxModel;

// The element tables of the inspector and what they show: which elements
// the template shows on its pages (editElementList), which show in its
// slideshow view (slideElementList) and its Vorn Boxes (VornBoxList: on the
// page, in the slideshow view, name). The enabled children of the template
// are counted in order. Columns go by identifier: "main", "slideshow",
// "name", "visible".
class ElementTables {
public:
    enum class Kind { PageElements, SlideshowElements, VornBoxes };

    explicit ElementTables(LayoutController& controller);
    ~ElementTables();

    // The table of the kind, made with the holder as its parent, with its
    // data source and columns, in the holder's layout.
    MyTableView* makeTable(Kind kind, QWidget* holder);
    // The elements the template shows: how many, and the names of those in view.
    void setShownElements(int number, const QStringList& visible);
    void reloadElementTables();
    // The row of the element list that shows the element.
    void selectElementListRow(XmlBoxModel* element);

    // The data source of every table, asked with the table.
    int numberOfRowsInTableView(const MyTableView* table);
    QVariant tableViewObjectValueForTableColumnRow(const MyTableView* table, const QString& column, int row);
    void tableViewSetObjectValueForTableColumnRow(const MyTableView* table, const QVariant& value, const QString& column, int row);
    bool tableViewShouldEditTableColumnRow(const MyTableView* table, const QString& column, int row);

    // The enabled children of the template, counted in order.
    XmlBasePtr getElementAtIndex(int index);
    int getIndexForElement(XmlBase* element);
    bool getVisibilityOfElementAtIndex(int index);
    void setVisibilityOfElementAtIndexVisible(int index, bool visible);
    const QStringList& visibleElements() const { return _visibleElements; }
    int numberElements() const { return _numberElements; }

    MyTableView* editElementList() const { return _editElementList; }
    MyTableView* slideElementList() const { return _slideElementList; }
    MyTableView* vornBoxList() const { return _vornBoxList; }
    const QStringList& elementNames() const { return _elementNames; }

private:
    // The table gets its data source and the columns (identifier and title)
    // and goes into the holder's layout.
    void setUpElementTable(MyTableView* table, QWidget* holder, const QList<QPair<QString, QString>>& columns);

    LayoutController& _controller;
    MyTableView* _editElementList = nullptr;
    MyTableView* _slideElementList = nullptr;
    MyTableView* _vornBoxList = nullptr;
    std::vector<std::unique_ptr<ElementTableSource>> _tableSources;
    QStringList _elementNames;
    QStringList _visibleElements;
    int _numberElements = 0;
};
