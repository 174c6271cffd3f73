#include "imaging/XmlDrawLetterBox.h"

XmlDrawLetterBox::XmlDrawLetterBox(Key key)
    : XmlDrawObject(key)
{
}

std::shared_ptr<XmlDrawLetterBox> XmlDrawLetterBox::create()
{
    return make<XmlDrawLetterBox>();
}

QString XmlDrawLetterBox::elementName() const
{
    return QStringLiteral("IWletterbox");
}
