#pragma once
#include "model/core/XmlBase.h"

#include <memory>
#include <vector>

// The rows of a table over a list of elements: each row a stable item for
// the table's data source, holding its element without keeping it alive.
// The list is taken when the table reloads; an element that went away
// since reads as none.
class ElementRows {
public:
    void reset(const XmlBaseList& elements)
    {
        _rows.clear();
        for (const XmlBasePtr& element : elements)
            _rows.push_back(std::make_unique<Row>(Row { element }));
    }
    // Whether the rows hold these elements, in this order.
    bool holds(const XmlBaseList& elements) const
    {
        if (elements.size() != qsizetype(_rows.size()))
            return false;
        for (std::size_t i = 0; i < _rows.size(); ++i) {
            if (_rows[i]->element.lock() != elements[qsizetype(i)])
                return false;
        }
        return true;
    }
    int count() const { return int(_rows.size()); }
    void* item(int row) const
    {
        return row >= 0 && row < count() ? _rows[std::size_t(row)].get() : nullptr;
    }
    XmlBasePtr element(const void* item) const
    {
        return item ? static_cast<const Row*>(item)->element.lock() : nullptr;
    }

private:
    struct Row {
        std::weak_ptr<XmlBase> element;
    };
    std::vector<std::unique_ptr<Row>> _rows;
};
