#pragma once

#include "imaging/XmlDraw.h"

// A photo's editable picture: the picture, its callouts and its watermark,
// and the settings of the colour filters the picture can be drawn through.
class XmlCanvas : public XmlDraw {
public:
    explicit XmlCanvas(Key key);

    static std::shared_ptr<XmlCanvas> create();
    static XmlCanvas* cast(XmlBase* object) { return dynamic_cast<XmlCanvas*>(object); }

    QString elementName() const override;
    void setAttributeTo(const QString& key, const QString& value) override;
    void appendAttributes(QString& xml) override;
    bool canYouBeMyParent(XmlBase* child) override;

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
    bool _useFilter = false;
    double _highboost = 0.5;
    double _brightness = 0.0;
    double _contrast = 0.0;
    double _saturation = 0.0;
};
