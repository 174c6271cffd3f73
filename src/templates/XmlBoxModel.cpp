#include "templates/XmlBoxModel.h"

#include "platform/ExceptionFrame.h"
#include "templates/XmlWebFont.h"

XmlBoxModel::XmlBoxModel(Key key)
    : XmlCSSBackground(key)
{
    _have_children = true;
}

std::shared_ptr<XmlBoxModel> XmlBoxModel::create()
{
    return make<XmlBoxModel>();
}

QString XmlBoxModel::elementName() const
{
    return QStringLiteral("cssBoxModel");
}

bool XmlBoxModel::canYouBeMyParent(XmlBase* child)
{
    return lq::modelFrame(this, "canYouBeMyParent:", [&] {
        return XmlWebFont::cast(child) != nullptr;
    });
}
