#pragma once
#include "ui/editors/XmlOutlineController.h"

// The controller part of a tree that the user only picks from (the link
// sheets): nothing in it is renamed, dragged or deleted there, whatever the
// elements would allow elsewhere, and so no name shows as one that cannot
// be edited: every row is its icon and its name in black.
class PickOnlyOutline : public XmlOutlineController {
public:
    std::optional<CellAppearance> outlineViewWillDisplayCellForTableColumnItem(XmlOutlineView&, const QString&, XmlBase& item) override
    {
        return CellAppearance { item.iconImage(), QColor(Qt::black) };
    }
    std::optional<bool> outlineViewShouldEditTableColumnItem(XmlOutlineView&, const QString&, XmlBase&) override { return false; }
    std::optional<bool> outlineViewAllowDragItems(XmlOutlineView&, const XmlBaseList&) override { return false; }
    std::optional<bool> canDeleteObject(XmlBase&) override { return false; }
};
