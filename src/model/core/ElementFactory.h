#pragma once

#include "model/core/XmlBase.h"

#include <QString>

#include <initializer_list>

// The element factory: the element name of every class that can stand in a
// document file, a theme, a script or the pasteboard, and the class that
// makes it (XmlBase::createChildFromTag asks it).
namespace lq {

// What the factory calls to make an element of one class.
using ElementMaker = XmlBasePtr (*)();
struct FactoryTag {
    const char* tag;
    ElementMaker make;
};

// A new element of the class registered under the tag, or nothing.
XmlBasePtr factoryCreateChildFromTag(const QString& tag);

// Adds element names to the factory. Each layer registers the names of its
// own classes at start-up (lq::registerFileElements ...
// lq::registerScriptSteps, all of them lq::registerDocumentElements). A name
// the factory knows keeps its class.
void addFactoryTags(std::initializer_list<FactoryTag> tags);

// The maker of a factory entry for the class T.
template <class T>
XmlBasePtr makeElement()
{
    return T::create();
}

} // namespace lq
