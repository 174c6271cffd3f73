#pragma once

#include "publish/XmlD.h"

// A file of a digest tree, with the MD5 digest of its content.
class XmlF final : public XmlD {
public:
    explicit XmlF(Key key);

    static std::shared_ptr<XmlF> create();
    static XmlF* cast(XmlBase* object) { return dynamic_cast<XmlF*>(object); }

    QString elementName() const override;

    const QString& md5() const { return _md5; }
    void setMd5(const QString& md5) { _md5 = md5; }

    void setAttributeTo(const QString& key, const QString& value) override;
    void appendAttributes(QString& xml) override;

private:
    QString _md5;
};
