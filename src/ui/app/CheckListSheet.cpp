#include "ui/app/CheckListSheet.h"

#include "ui/editors/XmlOutlineView.h"
#include "model/core/XmlEnvelop.h"
#include "model/core/XmlEnvelops.h"
#include "ui/widgets/ModalHandler.h"
#include "ui/widgets/SheetBuilder.h"
#include "ui/widgets/ScreenText.h"

#include <QLabel>
#include <QVBoxLayout>

CheckListSheet::CheckListSheet(QWidget* window, const QString& title)
    : QDialog(window)
{
    setWindowTitle(title);
    new QVBoxLayout(this);
    resize(420, 380);
}

XmlOutlineView* CheckListSheet::addCheckList(const QString& label)
{
    if (!label.isEmpty())
        layout()->addWidget(lq::plainLabel(label, this));
    auto* list = new XmlOutlineView(0, this);
    list->setColumns({TableColumn{QStringLiteral("check"), QString(), TableColumn::Kind::Check, true, {}},
        TableColumn{QStringLiteral("name"), QStringLiteral("Name"), TableColumn::Kind::Text, false, {}}});
    list->setHeaderHidden(true);
    list->setDragEnabled(false);
    list->setDragDropMode(QAbstractItemView::NoDragDrop);
    list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    layout()->addWidget(list);
    return list;
}

bool CheckListSheet::runSheet(const QString& acceptTitle)
{
    if (!_buttonsAdded) {
        auto* buttons = new QWidget(this);
        layout()->addWidget(buttons);
        SheetBuilder(buttons, this, {}).sheetButtons(this, acceptTitle);
        _buttonsAdded = true;
    }
    // The check boxes take only their own room before the names.
    for (XmlOutlineView* list : findChildren<XmlOutlineView*>())
        list->setColumnWidth(0, list->fontMetrics().height() + 24);
    return lq::modalHandler().runSheet(this) == 1;
}

std::shared_ptr<XmlEnvelops> CheckListSheet::referenceTree()
{
    return XmlEnvelops::create();
}

void CheckListSheet::addReference(XmlEnvelops& tree, const QString& name, const XmlBase& element)
{
    auto entry = XmlEnvelop::create();
    entry->setName(name);
    entry->setXmlUUID(element.UUID());
    tree.addChild(entry);
}

XmlBaseList CheckListSheet::checkedElements(const XmlBase& tree)
{
    XmlBaseList found;
    for (const XmlBasePtr& child : tree.children()) {
        auto* entry = XmlEnvelop::cast(child.get());
        if (!entry || entry->check() == 0)
            continue;
        if (XmlBasePtr element = XmlBase::UUID(entry->xmlUUID()))
            found.append(element);
    }
    return found;
}
