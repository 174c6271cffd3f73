#pragma once

#include "model/core/XmlBase.h"

// The site-wide PayPal settings, kept once by the home page: the seller's
// account address, the currency and the weight unit. The texts are kept as
// the user typed them; unset ones are nothing (a null string).
class XmlPayPalCommon : public XmlBase {
public:
    explicit XmlPayPalCommon(Key key);

    static std::shared_ptr<XmlPayPalCommon> create();
    static XmlPayPalCommon* cast(XmlBase* object) { return dynamic_cast<XmlPayPalCommon*>(object); }

    QString elementName() const override;
    // "paypaladdress", "currency", "weightunit"; the rest goes to the base.
    void setAttributeTo(const QString& key, const QString& value) override;
    // The base's, then all three, unset texts as empty attributes.
    void appendAttributes(QString& xml) override;

    const QString& paypaladdress() const { return _paypaladdress; }
    void setPaypaladdress(const QString& address);
    // The three-letter code, stored as given.
    const QString& currency() const { return _currency; }
    void setCurrency(const QString& currency);
    // 0 pounds, any other value kilograms.
    int weightunit() const { return _weightunit; }
    void setWeightunit(int weightunit);

    // The tag of the stored code in the currency menu (0 "USD" to 17 "CHF");
    // 0 for an unset, empty or unknown code (compared case-sensitively).
    int currencyTag() const;
    // Stores the code of the tag; a tag outside 0 to 17 stores "USD".
    void setCurrencyTag(int tag);
    // The currency codes in the order of their tags.
    static const QStringList& currencyCodes();
    // The address PayPal's payment forms post to.
    static QString paymentEndpoint() { return QStringLiteral("https://www.paypal.com/cgi-bin/webscr"); }

private:
    QString _paypaladdress;
    QString _currency;
    int _weightunit = 0;
};
