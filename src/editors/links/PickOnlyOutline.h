#pragma once
#include "editors/XmlOutlineController.h"

// The controller part of a tree that the user only picks from (the link
// sheets): nothing in it is renamed, dragged or deleted there, whatever the
// elements would allow elsewhere.
class PickOnlyOutline : public XmlOutlineController {
public:
    std::optional<bool> outlineViewShouldEditTableColumnItem(XmlOutlineView&, const QString&, XmlBase&) override { return false; }
    std::optional<bool> outlineViewAllowDragItems(XmlOutlineView&, const XmlBaseList&) override { return false; }
    std::optional<bool> canDeleteObject(XmlBase&) override { return false; }
};
