#include "templates/XmlStyleSheet.h"

#include "platform/ExceptionFrame.h"
#include "templates/XmlBoxModel.h"
#include "templates/XmlWebFont.h"

XmlStyleSheet::XmlStyleSheet(Key key)
    : XmlCSSBackground(key)
{
    _have_children = true;
}

std::shared_ptr<XmlStyleSheet> XmlStyleSheet::create()
{
    return make<XmlStyleSheet>();
}

QString XmlStyleSheet::elementName() const
{
    return QStringLiteral("cssStyleSheet");
}

bool XmlStyleSheet::canYouBeMyParent(XmlBase* child)
{
    return lq::modelFrame(this, "canYouBeMyParent:", [&] {
        return XmlBoxModel::cast(child) != nullptr || XmlWebFont::cast(child) != nullptr;
    });
}

XmlBasePtr XmlStyleSheet::getElementWithName(const QString& name) const
{
    return lq::modelFrame(this, "getElementWithName:", [&]() -> XmlBasePtr {
        for (const XmlBasePtr& child : children()) {
            if (child->name() == name)
                return child;
        }
        return nullptr;
    });
}
