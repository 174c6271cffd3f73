#include "model/XmlTheme.h"

#include "model/DocumentBase.h"
#include "platform/ExceptionFrame.h"
#include "templates/XmlStyleSheet.h"

XmlTheme::XmlTheme(Key key)
    : XmlBase(key)
{
    _have_children = true;
    setHaveContent(true);
}

std::shared_ptr<XmlTheme> XmlTheme::create()
{
    return make<XmlTheme>();
}

QString XmlTheme::elementName() const
{
    return QStringLiteral("theme");
}

bool XmlTheme::canYouBeMyParent(XmlBase* child)
{
    return lq::modelFrame(this, "canYouBeMyParent:", [&] {
        return XmlStyleSheet::cast(child) != nullptr;
    });
}

DocumentBase* XmlTheme::myDocument()
{
    return _myDocument;
}

void XmlTheme::docChanged()
{
    lq::modelFrame(this, "docChanged", [&] {
        if (_myDocument)
            _myDocument->updateChangeCount(DocumentBase::ChangeDone);
    });
}

void XmlTheme::falseAlarm(bool suppress)
{
    lq::modelFrame(this, "falseAlarm:", [&] {
        if (_myDocument)
            _myDocument->falseAlarm(suppress);
    });
}
