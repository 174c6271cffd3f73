#include "model/theme/XmlLegacyTheme.h"

#include "platform/ExceptionFrame.h"
#include "templates/XmlStyleSheet.h"

XmlLegacyTheme::XmlLegacyTheme(Key key)
    : XmlBase(key)
{
    _have_children = true;
    setHaveContent(true);
}

std::shared_ptr<XmlLegacyTheme> XmlLegacyTheme::create()
{
    return make<XmlLegacyTheme>();
}

QString XmlLegacyTheme::elementName() const
{
    return QStringLiteral("theme");
}

bool XmlLegacyTheme::canYouBeMyParent(XmlBase* child)
{
    return lq::modelFrame(this, "canYouBeMyParent:", [&] {
        return XmlStyleSheet::cast(child) != nullptr;
    });
}
