#pragma once

// A region that a layout manager lays text into: a size, and a line
// fragment padding kept free at both ends of every line. Subclasses shape
// the region by answering, for each line, where it goes
// (lineFragmentRectForProposedRect): a line may be narrowed, moved right or
// pushed down past obstacles.

#include <QObject>
#include <QPointF>
#include <QPointer>
#include <QRectF>
#include <QSizeF>

namespace lq {

class LayoutManager;

class TextContainer {
public:
    explicit TextContainer(QSizeF size = QSizeF(1.0e7, 1.0e7));
    virtual ~TextContainer();

    TextContainer(const TextContainer&) = delete;
    TextContainer& operator=(const TextContainer&) = delete;

    QSizeF containerSize() const { return _size; }
    void setContainerSize(QSizeF size);
    // Default 5 pixels.
    qreal lineFragmentPadding() const { return _lineFragmentPadding; }
    void setLineFragmentPadding(qreal padding);

    // The layout manager the container belongs to, or null. The manager sets
    // it as it takes the container in and lets it go (addTextContainer,
    // removeTextContainer); a container joins a manager only through those.
    LayoutManager* layoutManager() const { return _layoutManager; }
    void setLayoutManager(LayoutManager* manager) { _layoutManager = manager; }

    // The text view that edits the text laid into the container (a
    // TextView, attached with its attachTextContainer), or null: the text
    // is being edited in place while there is one.
    QObject* textView() const { return _textView; }
    // Set by the text view as it attaches to the container and lets it go.
    void setTextView(QObject* view) { _textView = view; }

    // True when every line is the full width of the container.
    virtual bool isSimpleRectangularTextContainer() const;

    // The rectangle of the line that the layout proposes: the proposed one
    // has the line's top (y) and height, and the container's width. The
    // answer may be narrower, start further right or lie further down (never
    // higher); an empty answer means the container holds no more lines.
    // `remainingRect`, when given, receives the part of the proposed band
    // still free to the right of the answer (empty here).
    virtual QRectF lineFragmentRectForProposedRect(const QRectF& proposedRect, QRectF* remainingRect) const;

    // True when the point (container coordinates) lies in the text region.
    virtual bool containsPoint(QPointF point) const;

protected:
    // Subclasses call this when their shape changes: the text is laid out
    // again before it is next measured or drawn.
    void invalidateLayout();

private:
    QSizeF _size;
    qreal _lineFragmentPadding = 5.0;
    LayoutManager* _layoutManager = nullptr;
    QPointer<QObject> _textView;
};

} // namespace lq
