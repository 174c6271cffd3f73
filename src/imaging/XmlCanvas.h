#pragma once

#include "imaging/XmlDraw.h"

#include <memory>

class XmlImage;

// A photo's editable picture: the picture, its callouts and its watermark,
// and the settings of the colour filters the picture can be drawn through.
//
// The picture is an owned part, not a child: it is written inside the
// canvas's element and read back into the same picture element.
class XmlCanvas final : public XmlDraw {
public:
    explicit XmlCanvas(Key key);
    ~XmlCanvas() override;

    static std::shared_ptr<XmlCanvas> create();
    static XmlCanvas* cast(XmlBase* object) { return dynamic_cast<XmlCanvas*>(object); }

    QString elementName() const override;
    void setAttributeTo(const QString& key, const QString& value) override;
    void appendAttributes(QString& xml) override;
    bool canYouBeMyParent(XmlBase* child) override;
    // The picture's element.
    QString writeXmlVorns() override;
    // "IWimage" is the canvas's own picture, filled in place.
    XmlBasePtr createChildFromTag(const QString& tag) override;
    // The picture first, then the children.
    void postload() override;

    // --- The picture ------------------------------------------------------------
    // Never nothing.
    const std::shared_ptr<XmlImage>& image() const { return _image; }
    // Takes the new picture as the canvas's part (a change); the old one is
    // detached. Nothing is refused: a canvas always has a picture.
    void setImage(const std::shared_ptr<XmlImage>& image);

    // --- Colour filters -------------------------------------------------------
    // The setters only store: they never mark the document changed.
    //
    // Sharpening amount; 0 sharpens nothing.
    double highboost() const { return _highboost; }
    void setHighboost(double highboost) { _highboost = highboost; }
    // The colour changes; all three 0 leave the colours alone.
    double brightness() const { return _brightness; }
    void setBrightness(double brightness) { _brightness = brightness; }
    double contrast() const { return _contrast; }
    void setContrast(double contrast) { _contrast = contrast; }
    double saturation() const { return _saturation; }
    void setSaturation(double saturation) { _saturation = saturation; }
    // Whether the picture is drawn through the filters.
    bool useFilter() const { return _useFilter; }
    void setUseFilter(bool use) { _useFilter = use; }

private:
    std::shared_ptr<XmlImage> _image;
    bool _useFilter = false;
    double _highboost = 0.5;
    double _brightness = 0.0;
    double _contrast = 0.0;
    double _saturation = 0.0;
};
