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

// Gives a variable a value while the object lives and puts the old one back.
template <class T>
class ScopedValue {
public:
    ScopedValue(T& variable, T value)
        : _variable(variable)
        , _saved(variable)
    {
        _variable = std::move(value);
    }
    ~ScopedValue() { _variable = std::move(_saved); }
    ScopedValue(const ScopedValue&) = delete;
    ScopedValue& operator=(const ScopedValue&) = delete;

private:
    T& _variable;
    T _saved;
};

} // namespace elements
