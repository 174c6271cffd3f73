#include "model/core/SuppressedChanges.h"

#include "model/core/XmlBase.h"

SuppressedChanges::SuppressedChanges(XmlBase& element)
    : _element(element)
{
    _element.falseAlarm(true);
}

SuppressedChanges::~SuppressedChanges()
{
    _element.falseAlarm(false);
}
