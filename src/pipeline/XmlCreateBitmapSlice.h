#pragma once

#include "pipeline/XmlRun.h"

// The step that writes the top, middle and bottom slices of a sliced
// background image into the generated site.
class XmlCreateBitmapSlice final : public XmlRun {
public:
    explicit XmlCreateBitmapSlice(Key key);

    static std::shared_ptr<XmlCreateBitmapSlice> create();
    static XmlCreateBitmapSlice* cast(XmlBase* object) { return dynamic_cast<XmlCreateBitmapSlice*>(object); }

    QString elementName() const override;
    // "image", "top" and "bottom"; the rest goes to the base.
    void setAttributeTo(const QString& key, const QString& value) override;

    const QString& image() const { return _image; }
    int topSlice() const { return _topSlice; }
    int bottomSlice() const { return _bottomSlice; }

    // The background image, when it is still there, writes its slices; answers false.
    bool run() override;
    // "<status>  create bitmap slice:<image UUID>" and a line feed; "" when
    // the image is gone or the parent is no processor.
    QString statusMessage() override;

private:
    QString _image = QStringLiteral("");
    int _topSlice = 0;
    int _bottomSlice = 0;
};
