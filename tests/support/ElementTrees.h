#pragma once

// Looking at element trees in tests.
#include "model/core/XmlBase.h"

#include <QStringList>

// The names of the element's children, in order.
inline QStringList childNames(const XmlBase& element)
{
    QStringList names;
    for (const XmlBasePtr& child : element.children())
        names.append(child->name());
    return names;
}
