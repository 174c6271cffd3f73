#pragma once

#include "model/core/XmlBase.h"

// The PayPal item of one photo: identifier, name, price, weight, shipping and
// sales tax, each kept as the user typed it, or nothing (a null string) when
// unset. Only the fields that are set are written.
class XmlPayPalData final : public XmlBase {
public:
    explicit XmlPayPalData(Key key);

    static std::shared_ptr<XmlPayPalData> create();
    static XmlPayPalData* cast(XmlBase* object) { return dynamic_cast<XmlPayPalData*>(object); }

    QString elementName() const override;
    // "itemid", "itemname", "price", "weight", "shipping", "salestax"; the rest goes to the base.
    void setAttributeTo(const QString& key, const QString& value) override;
    // The base's, then the fields that are set, in the order of the accessors below.
    void appendAttributes(QString& xml) override;

    // Each setter stores nothing for the empty text, else the text, and is a change.
    const QString& itemid() const { return _itemid; }
    void setItemid(const QString& value);
    const QString& itemname() const { return _itemname; }
    void setItemname(const QString& value);
    const QString& price() const { return _price; }
    void setPrice(const QString& value);
    const QString& weight() const { return _weight; }
    void setWeight(const QString& value);
    const QString& shipping() const { return _shipping; }
    void setShipping(const QString& value);
    const QString& salestax() const { return _salestax; }
    void setSalestax(const QString& value);

    // True when both the price and the item name are set.
    bool canBePurchased() const { return !_price.isNull() && !_itemname.isNull(); }

private:
    QString _itemid;
    QString _itemname;
    QString _price;
    QString _weight;
    QString _shipping;
    QString _salestax;
};
