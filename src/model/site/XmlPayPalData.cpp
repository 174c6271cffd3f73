#include "model/site/XmlPayPalData.h"

#include "platform/Escaping.h"
#include "platform/ExceptionFrame.h"
#include "platform/Strings.h"

using namespace lq::literals;

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
        if (key == u"itemid"_sv)
            setItemid(value);
        else if (key == u"itemname"_sv)
            setItemname(value);
        else if (key == u"price"_sv)
            setPrice(value);
        else if (key == u"weight"_sv)
            setWeight(value);
        else if (key == u"shipping"_sv)
            setShipping(value);
        else if (key == u"salestax"_sv)
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
                xml += QStringLiteral(" %1=\"%2\"").arg(QLatin1String(key), lq::escape(*value));
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
