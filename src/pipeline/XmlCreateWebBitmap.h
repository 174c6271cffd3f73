#pragma once

#include "pipeline/XmlRun.h"

// The step that copies a background image into the generated site.
class XmlCreateWebBitmap final : public XmlRun {
public:
    explicit XmlCreateWebBitmap(Key key);

    static std::shared_ptr<XmlCreateWebBitmap> create();
    static XmlCreateWebBitmap* cast(XmlBase* object) { return dynamic_cast<XmlCreateWebBitmap*>(object); }

    QString elementName() const override;
    // "image"; the rest goes to the base.
    void setAttributeTo(const QString& key, const QString& value) override;

    const QString& imageuuid() const { return _imageuuid; }

    // The background image, when it is still there, copies its file; answers false.
    bool run() override;
    // "<status>  create web bitmap:<image UUID>" and a line feed; "" when the
    // image is gone or the parent is no processor.
    QString statusMessage() override;

private:
    QString _imageuuid = QStringLiteral("");
};
