#pragma once

#include "pipeline/XmlRun.h"
#include "platform/Geometry.h"

// The step that writes a bitmap of the style sheet for Windows Internet
// Explorer: a background image drawn into a picture of a fixed size.
class XmlCreateWinIEBitmap final : public XmlRun {
public:
    explicit XmlCreateWinIEBitmap(Key key);

    static std::shared_ptr<XmlCreateWinIEBitmap> create();
    static XmlCreateWinIEBitmap* cast(XmlBase* object) { return dynamic_cast<XmlCreateWinIEBitmap*>(object); }

    QString elementName() const override;
    // "image", "filename", "size", "type", "x" and "y"; the rest goes to the base.
    void setAttributeTo(const QString& key, const QString& value) override;

    const QString& image() const { return _image; }
    const QString& imageFilename() const { return _imageFilename; }
    const lq::Size& imageSize() const { return _imageSize; }
    int imageType() const { return _imageType; }
    int xoffset() const { return _xoffset; }
    int yoffset() const { return _yoffset; }

    // The background image, when it is still there, writes the bitmap; answers false.
    bool run() override;
    // "<status>  create win ie bitmap:<image UUID>" and a line feed; "" when
    // the image is gone or the parent is no processor.
    QString statusMessage() override;

private:
    QString _image = QStringLiteral("");
    QString _imageFilename = QStringLiteral("");
    lq::Size _imageSize;
    int _imageType = 0;
    int _xoffset = 0;
    int _yoffset = 0;
};
