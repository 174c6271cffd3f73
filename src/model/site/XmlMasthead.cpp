#include "model/site/XmlMasthead.h"

#include "platform/Escaping.h"
#include "platform/ExceptionFrame.h"
#include "platform/Strings.h"

using namespace lq::literals;

XmlMasthead::XmlMasthead(Key key)
    : XmlBase(key)
{
    setHaveContent(true);
}

std::shared_ptr<XmlMasthead> XmlMasthead::create()
{
    return make<XmlMasthead>();
}

QString XmlMasthead::elementName() const
{
    return QStringLiteral("QZmasthead");
}

void XmlMasthead::setAttributeTo(const QString& key, const QString& value)
{
    lq::modelFrame(this, "setAttribute:to:", [&] {
        if (key == u"linkto"_sv)
            setLinkTo(lq::urlUnescape(value));
        else
            XmlBase::setAttributeTo(key, value);
    });
}

void XmlMasthead::appendAttributes(QString& xml)
{
    lq::modelFrame(this, "appendAttributes:", [&] {
        XmlBase::appendAttributes(xml);
        xml += QLatin1String(" linkto=\"");
        xml += lq::urlEscape(_linkTo);
        xml += QLatin1Char('"');
    });
}

void XmlMasthead::setLinkTo(const QString& link)
{
    setStored(_linkTo, link, "setLinkTo:");
}
