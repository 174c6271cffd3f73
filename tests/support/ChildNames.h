#pragma once
// The names of an element's children, in order: what a test compares a
// tree with.
#include "model/core/XmlBase.h"

#include <QStringList>

inline QStringList childNames(const XmlBase& parent)
{
    QStringList names;
    for (const XmlBasePtr& child : parent.children())
        names.append(child->name());
    return names;
}
