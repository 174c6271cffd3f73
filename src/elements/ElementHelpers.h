#pragma once

// Small helpers that the sources of the page elements share.

#include "model/core/XmlBase.h"

#include <typeinfo>

namespace elements {

// A whole-pixel length as a float coordinate.
inline float toFloat(int value)
{
    return static_cast<float>(value);
}

// The text of a part ("" without the part).
inline QString contentOf(const XmlBase* part)
{
    return part ? part->content() : QStringLiteral("");
}

// Whether the element is of class T itself, not of a subclass of it (a
// group page is an album page too).
template <class T>
bool isExactly(const XmlBase* element)
{
    return element && typeid(*element) == typeid(T);
}

} // namespace elements
