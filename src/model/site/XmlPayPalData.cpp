#include "model/site/XmlPayPalData.h"

#include "platform/ExceptionFrame.h"

XmlPayPalData::XmlPayPalData(Key key)
    : XmlBase(key)
{
}

std::shared_ptr<XmlPayPalData> XmlPayPalData::create()
{
    return make<XmlPayPalData>();
}

QString XmlPayPalData::elementName() const
{
    return QStringLiteral("QZpaypal");
}

void XmlPayPalData::setAttributeTo(const QString& key, const QString& value)
{
    lq::modelFrame(this, "setAttribute:to:", [&] {
        if (key == u"itemid")
            setItemid(value);
        else if (key == u"itemname")
            setItemname(value);
        else if (key == u"price")
            setPrice(value);
        else if (key == u"weight")
            setWeight(value);
        else if (key == u"shipping")
            setShipping(value);
        else if (key == u"salestax")
            setSalestax(value);
        else
            XmlBase::setAttributeTo(key, value);
    });
}

void XmlPayPalData::appendAttributes(QString& xml)
{
    lq::modelFrame(this, "appendAttributes:", [&] {
        XmlBase::appendAttributes(xml);
        const std::pair<const char*, const QString*> fields[] = {
            { "itemid", &_itemid },
            { "itemname", &_itemname },
            { "price", &_price },
            { "weight", &_weight },
            { "shipping", &_shipping },
            { "salestax", &_salestax },
        };
        for (const auto& [key, value] : fields) {
            if (!value->isNull())
                xml += QStringLiteral(" %1=\"%2\"").arg(QLatin1String(key), escape(*value));
        }
    });
}

namespace {
// An empty value is stored as no value.
QString nothingIfEmpty(const QString& value)
{
    return value.isEmpty() ? QString() : value;
}
} // namespace

void XmlPayPalData::setItemid(const QString& value)
{
    setStored(_itemid, nothingIfEmpty(value), "setItemid:");
}

void XmlPayPalData::setItemname(const QString& value)
{
    setStored(_itemname, nothingIfEmpty(value), "setItemname:");
}

void XmlPayPalData::setPrice(const QString& value)
{
    setStored(_price, nothingIfEmpty(value), "setPrice:");
}

void XmlPayPalData::setWeight(const QString& value)
{
    setStored(_weight, nothingIfEmpty(value), "setWeight:");
}

void XmlPayPalData::setShipping(const QString& value)
{
    setStored(_shipping, nothingIfEmpty(value), "setShipping:");
}

void XmlPayPalData::setSalestax(const QString& value)
{
    setStored(_salestax, nothingIfEmpty(value), "setSalestax:");
}
