#include "model/core/HeldBackstore.h"

#include "model/core/XmlBase.h"

HeldBackstore::HeldBackstore(XmlBase& element)
    : _element(element)
{
    _element.loadBackstore(nullptr);
}

HeldBackstore::~HeldBackstore()
{
    _element.releaseBackstore(nullptr);
}
