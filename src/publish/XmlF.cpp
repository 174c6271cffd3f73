#include "publish/XmlF.h"

#include "platform/Escaping.h"
#include "platform/ExceptionFrame.h"

XmlF::XmlF(Key key)
    : XmlD(key)
{
}

std::shared_ptr<XmlF> XmlF::create()
{
    return make<XmlF>();
}

QString XmlF::elementName() const
{
    return QStringLiteral("QZF");
}

void XmlF::setAttributeTo(const QString& key, const QString& value)
{
    lq::modelFrame(this, "setAttribute:to:", [&] {
        if (key == QStringLiteral("md5"))
            setMd5(value);
        else
            XmlD::setAttributeTo(key, value);
    });
}

void XmlF::appendAttributes(QString& xml)
{
    lq::modelFrame(this, "appendAttributes:", [&] {
        XmlD::appendAttributes(xml);
        // Digests are hexadecimal text; escaped all the same, since a tree
        // file may have been written by anyone.
        xml += QStringLiteral(" md5=\"") + lq::escape(_md5) + QLatin1Char('"');
    });
}
