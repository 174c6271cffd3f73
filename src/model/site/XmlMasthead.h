#pragma once

#include "model/core/XmlBase.h"

// The site's masthead text, as stored rich text, and the address the
// masthead links to.
class XmlMasthead final : public XmlBase {
public:
    explicit XmlMasthead(Key key);

    static std::shared_ptr<XmlMasthead> create();
    static XmlMasthead* cast(XmlBase* object) { return dynamic_cast<XmlMasthead*>(object); }

    QString elementName() const override;
    // "linkto" is read through urlunescape.
    void setAttributeTo(const QString& key, const QString& value) override;
    // The base's, then linkto="..." through urlescape.
    void appendAttributes(QString& xml) override;

    const QString& linkTo() const { return _linkTo; }
    void setLinkTo(const QString& link);

private:
    QString _linkTo = QStringLiteral("");
};
