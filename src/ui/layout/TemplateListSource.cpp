#include "ui/layout/TemplateListSource.h"

#include "model/core/XmlBase.h"
#include "templates/XmlStyleSheet.h"

XmlBase* TemplateListSource::root() const
{
    return _root.isEmpty() ? nullptr : XmlBase::UUID(_root).get();
}

bool TemplateListSource::isExpandable(const XmlBase* element) const
{
    if (dynamic_cast<const XmlStyleSheet*>(element))
        return false;
    return element->canHaveChildren();
}

int TemplateListSource::numberOfChildrenOfItem(const void* item) const
{
    const XmlBase* parent = item ? element(item) : root();
    if (!parent || (item && !isExpandable(parent)))
        return 0;
    return parent->numberChildren();
}

void* TemplateListSource::childOfItem(int index, const void* item) const
{
    const XmlBase* parent = item ? element(item) : root();
    return parent ? parent->childAtIndex(index).get() : nullptr;
}

void* TemplateListSource::parentOfItem(const void* item) const
{
    XmlBase* parent = item ? element(item)->parent() : nullptr;
    return parent == root() ? nullptr : parent;
}

QVariant TemplateListSource::objectValueForColumn(const QString& column, const void* item) const
{
    if (!item || column != u"name")
        return QVariant();
    return element(item)->name();
}

bool TemplateListSource::setObjectValueForColumn(const QVariant& value, const QString& column, void* item)
{
    XmlBase* edited = item ? element(item) : nullptr;
    if (!edited || column != u"name" || !edited->canEditName())
        return false;
    edited->setName(value.toString());
    return true;
}
