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

void XmlPayPalData::store(QString& field, const QString& value)
{
    field = value.isEmpty() ? QString() : value;
    docChanged();
}

void XmlPayPalData::setItemid(const QString& value)
{
    lq::modelFrame(this, "setItemid:", [&] { store(_itemid, value); });
}

void XmlPayPalData::setItemname(const QString& value)
{
    lq::modelFrame(this, "setItemname:", [&] { store(_itemname, value); });
}

void XmlPayPalData::setPrice(const QString& value)
{
    lq::modelFrame(this, "setPrice:", [&] { store(_price, value); });
}

void XmlPayPalData::setWeight(const QString& value)
{
    lq::modelFrame(this, "setWeight:", [&] { store(_weight, value); });
}

void XmlPayPalData::setShipping(const QString& value)
{
    lq::modelFrame(this, "setShipping:", [&] { store(_shipping, value); });
}

void XmlPayPalData::setSalestax(const QString& value)
{
    lq::modelFrame(this, "setSalestax:", [&] { store(_salestax, value); });
}
