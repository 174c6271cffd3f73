#pragma once

#include "model/site/XmlPhoto.h"

// A photo with link, tool-tip, click and resize settings. It is read,
// written and copied like any photo; the four settings are stored and
// written back only.
class XmlWidgetPhoto final : public XmlPhoto {
public:
    explicit XmlWidgetPhoto(Key key);

    static std::shared_ptr<XmlWidgetPhoto> create();
    static XmlWidgetPhoto* cast(XmlBase* object) { return dynamic_cast<XmlWidgetPhoto*>(object); }
    // As XmlPhoto::createFromFile, making a widget photo.
    static std::shared_ptr<XmlWidgetPhoto> createFromFile(const QString& path);

    QString elementName() const override;
    // "resize", "click", "link" and "tooltip"; the rest goes to the photo.
    void setAttributeTo(const QString& key, const QString& value) override;
    // The photo's, then resize, click, link and tooltip.
    void appendAttributes(QString& xml) override;

    // Each setter is a change.
    bool dontResize() const { return _dontResize; }
    void setDontResize(bool dontResize);
    bool clickImage() const { return _clickImage; }
    void setClickImage(bool clickImage);
    const QString& link() const { return _link; }
    void setLink(const QString& link);
    const QString& toolTip() const { return _toolTip; }
    void setToolTip(const QString& toolTip);

private:
    bool _dontResize = false;
    bool _clickImage = false;
    QString _link = QStringLiteral("");
    QString _toolTip = QStringLiteral("");
};
