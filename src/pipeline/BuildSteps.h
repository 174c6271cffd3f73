#pragma once

#include "model/core/XmlBase.h"

#include <QString>

namespace lq {

// The element of the class T registered under the UUID, or nothing (no
// element, or one of another class). Steps hold their objects by UUID, so an
// object deleted before its step runs is simply not found.
template <class T>
T* registered(const QString& uuid)
{
    if (uuid.isEmpty())
        return nullptr;
    const XmlBasePtr found = XmlBase::UUID(uuid);
    return dynamic_cast<T*>(found.get());
}

// An integer attribute of a step: decimal text; anything else counts as 0.
int stepInteger(const QString& value);

} // namespace lq
