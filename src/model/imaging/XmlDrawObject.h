#pragma once

#include "model/imaging/XmlDraw.h"
#include "platform/Colour.h"
#include "platform/graphics/BezierPath.h"
#include "platform/text/InPlaceTextEditor.h"
#include "platform/text/StyledText.h"

#include <QTransform>

#include <memory>

// The base of the callouts and of the picture: a body rectangle, optional
// anchor and tail points, colours, a line thickness and a styled text, which
// travels as the element's content (RTF in base64).
//
// A stored text that does not decode as RTF is kept as it was read and
// written back unchanged; meanwhile the callout draws and edits an empty
// text, and only an edit of that text replaces the stored one.
class XmlDrawObject : public XmlDraw {
public:
    explicit XmlDrawObject(Key key);
    ~XmlDrawObject() override;

    static std::shared_ptr<XmlDrawObject> create();
    static XmlDrawObject* cast(XmlBase* object) { return dynamic_cast<XmlDrawObject*>(object); }

    QString elementName() const override;
    void setAttributeTo(const QString& key, const QString& value) override;
    void appendAttributes(QString& xml) override;
    // Brings the content text up to date with the styled text before writing.
    QString writeXmlVorns() override;

    // --- The text -------------------------------------------------------------
    // The styled text as RTF in base64 (the stored text as it was read when
    // it could not be decoded and has not been edited since).
    const QString& content() const;
    // Replaces the styled text with the RTF of the base64 text; a change.
    void setContent(const QString& content) override;
    // The styled text; never nothing. Edits reach the stored text when the
    // element is next written or its content asked for.
    const std::shared_ptr<lq::StyledText>& contents() const;
    // Whether the stored text could not be decoded and is kept as it was read.
    bool keepsUndecodedContent() const;
    // Sets Helvetica at the size on the whole text.
    void setDefaultFontSize(int size);

    // --- Kind hooks -----------------------------------------------------------
    virtual bool hasAnchorPoint() const { return false; }
    virtual bool hasTailPoint() const { return false; }
    virtual bool hasTextbox() const { return false; }
    // The body in canvas coordinates; kinds may answer another rectangle
    // than the stored one (the picture answers its crop).
    virtual lq::Rect bodyRect() const;
    // Where the text goes.
    virtual lq::Rect textRect() const { return bodyRect(); }

    // The rectangle written as "bodyrect": bodyRect, unless a subclass stores more.
    virtual lq::Rect storedBodyRect() const { return bodyRect(); }
    // Stores the smallest integral rectangle that contains the given one; an
    // empty one stores the zero rectangle.
    void setBodyRect(const lq::Rect& rect);
    const lq::Point& anchorPoint() const { return _anchorPoint; }
    void setAnchorPoint(const lq::Point& point);
    const lq::Point& tailPoint() const { return _tailPoint; }
    void setTailPoint(const lq::Point& point);

    const lq::Colour& backgroundColor() const { return _backgroundColor; }
    void setBackgroundColor(const lq::Colour& colour);
    const lq::Colour& foregroundColor() const { return _foregroundColor; }
    void setForegroundColor(const lq::Colour& colour);
    // Line width in points.
    float thickness() const { return _thickness; }
    void setThickness(float thickness);

    // The union of the body, the anchor and the tail (of the kinds that
    // have them) and the rectangle.
    lq::Rect boundingRect(const lq::Rect& rect) override;

    // a when both are equal; else a zero rectangle counts for nothing; else
    // the smallest rectangle that contains both.
    static lq::Rect unionRectWithRect(const lq::Rect& a, const lq::Rect& b);
    // The rectangle grown to reach the point; a zero rectangle is not special.
    static lq::Rect unionRectWithPoint(const lq::Rect& r, const lq::Point& p);

    // Draws the text into the text rectangle (kinds with a text box, while no
    // edit is open and the text is not empty); lines wholly below the
    // rectangle are not drawn.
    void DrawTextContents();

    // --- In-place editing -----------------------------------------------------
    // Opens an editing view over the view (kinds with a text box; nothing
    // while an edit is open or when no editing views can be made): the text
    // laid out at canvas size, shown through the transform (canvas to view
    // coordinates) whose scale is given. A scale of 0 raises "Divide By 0".
    void startEditingWithEventInViewWithTransformAndScale(QEvent* event, QObject* view, const QTransform& transform,
                                                          float scale);
    void endEditingInView();
    bool isEditing() const;
    // The open editing view, or nothing.
    lq::InPlaceTextEditor* editor() const { return _editor; }
    // Alignment codes of the text system (0 left, 1 right, 2 centre, 3
    // justified, 4 natural): of the selected paragraphs while an edit is open,
    // else of the whole text.
    void setAlignmentInViewWithTransformAndScale(int alignment, QObject* view, const QTransform& transform, float scale);
    int getAlignmentInViewWithTransformAndScale(QObject* view, const QTransform& transform, float scale);
    // The editing view's text changed: a change of the document; the view is
    // shown again.
    void textDidChange();

protected:
    // Fills the path with the background colour, then strokes it with the
    // foreground colour at the width (nothing without a current context).
    void fillThenStroke(lq::BezierPath& path, float width) const;
    // Strokes the path with the foreground colour at the width.
    void strokeWith(lq::BezierPath& path, float width) const;
    // Adds the head of a pointer at the point, the pointer running at the
    // angle: 10 points long, its sides 20 degrees off the pointer; closed.
    void appendHead(lq::BezierPath& path, const lq::Point& at, float angle) const;

    // Always integral; set directly by kinds that take their body from
    // somewhere else without marking the document changed twice.
    lq::Rect _objectBodyRect;
    lq::Point _anchorPoint;
    lq::Point _tailPoint;
    // The constant pi, as the callout geometry measures its angles.
    float pi;

private:
    // Decodes the content text when it changed since it was last decoded.
    void syncFromContent() const;
    // Encodes the styled text when it changed since it was last encoded.
    void syncToContent() const;

    lq::Colour _backgroundColor = lq::Colour::white();
    lq::Colour _foregroundColor = lq::Colour::black();
    float _thickness = 2.0f;
    mutable std::shared_ptr<lq::StyledText> _contents;
    // The content text the styled text was last decoded from or encoded to,
    // and the styled text's revision then.
    mutable QString _contentsSource;
    mutable quint64 _contentsRevision = 0;
    mutable bool _undecoded = false;
    lq::InPlaceTextEditor* _editor = nullptr;
    // The editing view of an edit opened while the shared one was lent out.
    std::unique_ptr<lq::InPlaceTextEditor> _ownEditor;
};
