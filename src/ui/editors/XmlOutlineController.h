#pragma once
#include "model/core/XmlBase.h"
#include "ui/widgets/ItemDataSource.h"

#include <QString>
#include <QVariant>

#include <optional>

class XmlOutlineView;
namespace lq {
class Pasteboard;
}

// What an element outline asks the pane that controls it. Every question is
// optional: the defaults answer "not implemented" (std::nullopt, or false
// for the hooks that do something in the outline's place), and the outline
// then falls back to the elements' own answers. A pane overrides only the
// hooks it needs. The items are the elements of the rows, or the outline's
// root for its invisible top.
class XmlOutlineController {
public:
    virtual ~XmlOutlineController() = default;

    // --- Contents (in place of the element's own children and name) ---------------
    virtual std::optional<XmlBasePtr> outlineViewChildOfItem(XmlOutlineView& view, int index, XmlBase& item)
    {
        return std::nullopt;
    }
    virtual std::optional<bool> outlineViewIsItemExpandable(XmlOutlineView& view, XmlBase& item) { return std::nullopt; }
    virtual std::optional<int> outlineViewNumberOfChildrenOfItem(XmlOutlineView& view, XmlBase& item) { return std::nullopt; }
    virtual std::optional<QVariant> outlineViewObjectValueForTableColumnByItem(XmlOutlineView& view, const QString& column, XmlBase& item)
    {
        return std::nullopt;
    }
    // Stores an edited value in the element's place; answers true when it did.
    virtual bool outlineViewSetObjectValueForTableColumnByItem(XmlOutlineView& view, const QVariant& value, const QString& column, XmlBase& item)
    {
        return false;
    }
    virtual std::optional<bool> outlineViewShouldEditTableColumnItem(XmlOutlineView& view, const QString& column, XmlBase& item)
    {
        return std::nullopt;
    }
    virtual std::optional<bool> outlineViewShouldExpandItem(XmlOutlineView& view, XmlBase& item) { return std::nullopt; }
    // The icon and text colour of the cell, in place of the element's icon
    // and the colour that says whether its name can be edited.
    virtual std::optional<CellAppearance> outlineViewWillDisplayCellForTableColumnItem(XmlOutlineView& view, const QString& column, XmlBase& item)
    {
        return std::nullopt;
    }

    // --- Drags and drops ---------------------------------------------------------------
    // false refuses a drag of these rows.
    virtual std::optional<bool> outlineViewAllowDragItems(XmlOutlineView& view, const XmlBaseList& items) { return std::nullopt; }
    // What a drag that names no live element carries.
    virtual std::optional<XmlBasePtr> createFromPasteboard(const lq::Pasteboard& pasteboard) { return std::nullopt; }
    // Files brought in from outside (an XmlExternalFiles list).
    virtual std::optional<bool> outlineViewCanDropFilesOnItem(XmlOutlineView& view, XmlBase& target) { return std::nullopt; }
    virtual std::optional<bool> outlineViewDropFilesOnItemChildIndex(XmlOutlineView& view, XmlBase& files, XmlBase& target, int index)
    {
        return std::nullopt;
    }
    // An element of the same document (the outline refuses elements of
    // another document before asking).
    virtual std::optional<bool> outlineViewCanDropItemOnItem(XmlOutlineView& view, XmlBase& dragged, XmlBase& target)
    {
        return std::nullopt;
    }
    // An element from outside this document: one of another open document,
    // or one that belongs to none (an album of the photo library). The
    // outline refuses it unless this answers true; the controller's drop
    // hook then takes it, and must copy what it needs, never move the
    // element out of its own tree.
    virtual std::optional<bool> outlineViewCanCopyForeignItemOnItem(XmlOutlineView& view, XmlBase& dragged, XmlBase& target)
    {
        return std::nullopt;
    }
    virtual std::optional<bool> outlineViewDropItemOnItemChildIndex(XmlOutlineView& view, XmlBase& dragged, XmlBase& target, int index)
    {
        return std::nullopt;
    }
    // Where an element dropped onto the target's row itself (not between
    // rows) goes among the target's children; without an answer, first.
    virtual std::optional<int> outlineViewIndexOfDropOntoItem(XmlOutlineView& view, XmlBase& dragged, XmlBase& target)
    {
        return std::nullopt;
    }
    // A drag that began in the outline has ended.
    virtual void dropDone() {}
    // A drop onto the outline was taken (the outline has reloaded): what it
    // moved may have left another tree shown elsewhere, which must follow
    // at once, not when the drag has ended.
    virtual void dropTaken(XmlOutlineView& view) {}

    // --- Selection and deletion -------------------------------------------------------
    virtual void selectionChanged(XmlOutlineView& view) {}
    // false keeps the element: the Delete key then does nothing.
    virtual std::optional<bool> canDeleteObject(XmlBase& element) { return std::nullopt; }
    // The element the Delete key took out of the tree; without this hook it
    // is gone once the outline lets it go.
    virtual void addToTrash(const XmlBasePtr& element) {}
    // The row selected after a deletion.
    virtual void selectObject(XmlBase& element) {}
};
