#include "model/XmlSite.h"

#include "model/DocumentBase.h"
#include "model/XmlHomePage.h"
#include "model/XmlTrash.h"
#include "platform/ExceptionFrame.h"

#include <typeinfo>

XmlSite::XmlSite(Key key)
    : XmlBase(key)
{
    _have_children = true;
}

std::shared_ptr<XmlSite> XmlSite::create()
{
    return make<XmlSite>();
}

QString XmlSite::elementName() const
{
    return QStringLiteral("QZsite");
}

bool XmlSite::canYouBeMyParent(XmlBase* child)
{
    return lq::modelFrame(this, "canYouBeMyParent:", [&] {
        return XmlHomePage::cast(child) != nullptr || XmlTrash::cast(child) != nullptr;
    });
}

DocumentBase* XmlSite::myDocument()
{
    return _myDocument;
}

void XmlSite::docChanged()
{
    lq::modelFrame(this, "docChanged", [&] {
        if (_myDocument)
            _myDocument->updateChangeCount(DocumentBase::ChangeDone);
    });
}

void XmlSite::falseAlarm(bool suppress)
{
    lq::modelFrame(this, "falseAlarm:", [&] {
        if (_myDocument)
            _myDocument->falseAlarm(suppress);
    });
}

XmlHomePage* XmlSite::homepage()
{
    for (const XmlBasePtr& child : children()) {
        if (typeid(*child) == typeid(XmlHomePage))
            return static_cast<XmlHomePage*>(child.get());
    }
    return nullptr;
}
