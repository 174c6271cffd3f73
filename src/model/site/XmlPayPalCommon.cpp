#include "model/site/XmlPayPalCommon.h"

#include "platform/Escaping.h"
#include "platform/ExceptionFrame.h"
#include "platform/Strings.h"

using namespace lq::literals;

XmlPayPalCommon::XmlPayPalCommon(Key key)
    : XmlBase(key)
{
}

std::shared_ptr<XmlPayPalCommon> XmlPayPalCommon::create()
{
    return make<XmlPayPalCommon>();
}

QString XmlPayPalCommon::elementName() const
{
    return QStringLiteral("QZpaypalcommon");
}

void XmlPayPalCommon::setAttributeTo(const QString& key, const QString& value)
{
    lq::modelFrame(this, "setAttribute:to:", [&] {
        if (key == u"paypaladdress"_sv)
            setPaypaladdress(value);
        else if (key == u"currency"_sv)
            setCurrency(value);
        else if (key == u"weightunit"_sv)
            setWeightunit(lq::intValue(value));
        else
            XmlBase::setAttributeTo(key, value);
    });
}

void XmlPayPalCommon::appendAttributes(QString& xml)
{
    lq::modelFrame(this, "appendAttributes:", [&] {
        XmlBase::appendAttributes(xml);
        // An unset text escapes to nothing, which is written as an empty attribute.
        xml += QStringLiteral(" paypaladdress=\"%1\"").arg(lq::escape(_paypaladdress));
        xml += QStringLiteral(" currency=\"%1\"").arg(lq::escape(_currency));
        xml += QStringLiteral(" weightunit=\"%1\"").arg(_weightunit);
    });
}

void XmlPayPalCommon::setPaypaladdress(const QString& address)
{
    setStored(_paypaladdress, address, "setPaypaladdress:");
}

void XmlPayPalCommon::setCurrency(const QString& currency)
{
    setStored(_currency, currency, "setCurrency:");
}

void XmlPayPalCommon::setWeightunit(int weightunit)
{
    setStored(_weightunit, weightunit, "setWeightunit:");
}

const QStringList& XmlPayPalCommon::currencyCodes()
{
    static const QStringList codes {
        QStringLiteral("USD"), QStringLiteral("AUD"), QStringLiteral("GBP"), QStringLiteral("CAD"),
        QStringLiteral("CZK"), QStringLiteral("DKK"), QStringLiteral("EUR"), QStringLiteral("HKD"),
        QStringLiteral("HUF"), QStringLiteral("ILS"), QStringLiteral("JPY"), QStringLiteral("MXN"),
        QStringLiteral("NZD"), QStringLiteral("NOK"), QStringLiteral("PLN"), QStringLiteral("SGD"),
        QStringLiteral("SEK"), QStringLiteral("CHF"),
    };
    return codes;
}

int XmlPayPalCommon::currencyTag() const
{
    return lq::modelFrame(this, "currencyTag", [&] {
        const QStringList& codes = currencyCodes();
        for (int tag = 1; tag < codes.size(); ++tag) {
            if (_currency == codes.at(tag))
                return tag;
        }
        return 0;
    });
}

void XmlPayPalCommon::setCurrencyTag(int tag)
{
    lq::modelFrame(this, "setCurrencyTag:", [&] {
        const QStringList& codes = currencyCodes();
        setCurrency(tag >= 0 && tag < codes.size() ? codes.at(tag) : codes.first());
    });
}
