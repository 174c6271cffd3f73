#pragma once
// Where an element's row is in an element outline, for tests that click,
// drag and drop on rows as a user does.
#include "ui/editors/XmlOutlineView.h"
#include "ui/widgets/ItemModelAdaptor.h"

#include <QModelIndex>
#include <QRect>

// The element's row in the outline's first column (searched among the rows
// shown, opened ones included); invalid when it has none.
inline QModelIndex rowOf(const XmlOutlineView& outline, const XmlBase* element, const QModelIndex& parent = QModelIndex())
{
    ItemModelAdaptor* model = outline.adaptor();
    for (int row = 0; row < model->rowCount(parent); ++row) {
        const QModelIndex index = model->index(row, 0, parent);
        if (index.internalPointer() == element)
            return index;
        const QModelIndex inside = rowOf(outline, element, index);
        if (inside.isValid())
            return inside;
    }
    return QModelIndex();
}

inline QRect rectOf(const XmlOutlineView& outline, const XmlBase* element)
{
    return outline.visualRect(rowOf(outline, element));
}

// The gap just above the element's row, where a drop lands before it.
inline QPoint gapAbove(const XmlOutlineView& outline, const XmlBase* element)
{
    return rectOf(outline, element).topLeft() + QPoint(30, 1);
}

// The names of the rows below the parent row (the top rows for none).
inline QStringList rowNames(const XmlOutlineView& outline, const QModelIndex& parent = QModelIndex())
{
    QStringList names;
    ItemModelAdaptor* model = outline.adaptor();
    for (int row = 0; row < model->rowCount(parent); ++row)
        names.append(model->index(row, 0, parent).data().toString());
    return names;
}
