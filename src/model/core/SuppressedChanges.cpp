#include "model/core/SuppressedChanges.h"

#include "model/core/DocumentBase.h"
#include "model/core/XmlBase.h"

SuppressedChanges::SuppressedChanges(XmlBase& element)
    : _element(&element)
{
    _element->falseAlarm(true);
}

SuppressedChanges::SuppressedChanges(DocumentBase* document)
    : _document(document)
{
    if (_document)
        _document->falseAlarm(true);
}

SuppressedChanges::~SuppressedChanges()
{
    if (_element)
        _element->falseAlarm(false);
    else if (_document)
        _document->falseAlarm(false);
}
