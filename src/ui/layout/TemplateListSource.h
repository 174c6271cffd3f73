#pragma once

#include "ui/widgets/ItemDataSource.h"

#include <QString>

#include <functional>

class XmlBase;

// The template selector's rows: the children of one element (the theme,
// kept as its UUID and looked up at every question), each shown with its
// name, which can be edited where the element allows it. Templates never
// open; other elements open when they can have children.
class TemplateListSource : public ItemDataSource {
public:
    // The element whose children are listed; "" lists nothing.
    void setXmlBase(const QString& uuid) { _root = uuid; }
    const QString& xmlBase() const { return _root; }

    int numberOfChildrenOfItem(const void* item) const override;
    void* childOfItem(int index, const void* item) const override;
    void* parentOfItem(const void* item) const override;
    QVariant objectValueForColumn(const QString& column, const void* item) const override;
    bool setObjectValueForColumn(const QVariant& value, const QString& column, void* item) override;

    static XmlBase* element(const void* item) { return static_cast<XmlBase*>(const_cast<void*>(item)); }

private:
    XmlBase* root() const;
    bool isExpandable(const XmlBase* element) const;

    QString _root;
};
