#pragma once

#include "model/imaging/XmlDraw.h"
#include "platform/Colour.h"

#include <QSizeF>

namespace lq {
class LayoutManager;
class StyledText;
}

// A line of text laid over a photo; the text is the element's content. The
// placement (0 to 9; 0 is no watermark) decides where and how often it is
// drawn within the frame, the rectangle last given to boundingRect. The
// font is Helvetica Bold at the text size, or, with a variable size, at
// (frame width + frame height) / variableSizeText; the colour carries the
// opacity.
class XmlWatermark final : public XmlDraw {
public:
    explicit XmlWatermark(Key key);

    static std::shared_ptr<XmlWatermark> create();
    static XmlWatermark* cast(XmlBase* object) { return dynamic_cast<XmlWatermark*>(object); }

    QString elementName() const override;
    void setAttributeTo(const QString& key, const QString& value) override;
    void appendAttributes(QString& xml) override;

    // Placement 0 and text size 24, without marking the document changed;
    // the text and the colour stay.
    void reset();

    int placement() const { return _placement; }
    void setPlacement(int placement);
    float textSize() const { return _textSize; }
    void setTextSize(float size);
    const lq::Colour& textColor() const { return _textColor; }
    void setTextColor(const lq::Colour& colour);
    // 0: the text size holds; otherwise the divisor of the frame's width plus
    // height. Never stored, never a change.
    int variableSizeText() const { return _variableSizeText; }
    void setVariableSizeText(int divisor) { _variableSizeText = divisor; }

    const lq::Colour& textColorWithoutAlpha() const { return _textColor; }
    // Red, green and blue of the colour with the current alpha.
    void setTextColorWithoutAlpha(const lq::Colour& colour);
    float textAlpha() const { return _textColor.a; }
    void setTextAlpha(float alpha);

    // Remembers the rectangle as the frame and answers it grown by how far
    // the text reaches outside it (placements 6 to 9).
    lq::Rect boundingRect(const lq::Rect& rect) override;
    const lq::Rect& frame() const { return savedBounds; }
    // The font size the text is drawn at in the current frame.
    float drawingTextSize() const;
    void draw() override;

    // The layout manager shared by all watermarks, with one container of
    // 1.0e6 x 1.0e6 points.
    static lq::LayoutManager& make_text_layout();

private:
    // Lays the text out at the size for the placement; answers the text box
    // (an empty size when nothing is laid out). The storage stays attached.
    QSizeF layOutText(float size, const std::shared_ptr<lq::StyledText>& storage, bool* any);

    int _variableSizeText = 0;
    int _placement = 0;
    float _textSize = 24.0f;
    lq::Colour _textColor = lq::Colour(0, 0, 0, 0.5f);
    lq::Rect savedBounds;
};
