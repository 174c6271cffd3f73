#pragma once

#include "templates/XmlCSS.h"

// The background of a page template or of a box: mode, colour and picture.
class XmlCSSBackground : public XmlCSS {
public:
    explicit XmlCSSBackground(Key key);

    static std::shared_ptr<XmlCSSBackground> create();
    static XmlCSSBackground* cast(XmlBase* object) { return dynamic_cast<XmlCSSBackground*>(object); }

    QString elementName() const override;

    // The background colour; the slices of its picture lie on it.
    const lq::Colour& bkgndColor() const { return _bkgndColor; }

protected:
    lq::Colour _bkgndColor = lq::Colour::white();
};
