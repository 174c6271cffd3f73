#pragma once

#include <QPointer>
#include <QScrollArea>

class RulerView;

// The scroll view that hosts the layout canvas: in layout mode with a
// horizontal and a vertical ruler in the "Grummets" unit, in preview mode
// without. The document view (subView) is sized by the view itself (the
// canvas fits its frame to the page and to the visible area); whenever the
// visible area changes size, a document view that can refit itself does.
class MyScrollView : public QScrollArea {
    Q_OBJECT
public:
    explicit MyScrollView(QWidget* parent = nullptr);
    ~MyScrollView() override;

    // Turns both rulers on, measuring in "Grummets" (points while that unit
    // is not registered).
    void enableRulers();
    bool hasRulers() const { return _hasRulers; }
    RulerView* horizontalRulerView() const { return _hasRulers ? _horizontalRuler : nullptr; }
    RulerView* verticalRulerView() const { return _hasRulers ? _verticalRuler : nullptr; }

    // Makes the view the document view (taking it from the scroll view that
    // showed it before) at the size of the visible area, and hands it the
    // rulers (none without rulers).
    void setSubview(QWidget* view);
    QWidget* subView() const { return _subView; }

    static constexpr int rulerThickness = 18;

protected:
    // The visible area changed size (the window, or a scroller came or went):
    // the rulers follow and the document view refits itself.
    bool viewportEvent(QEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;

private:
    void tile();
    void placeRulers();

    QPointer<QWidget> _subView;
    RulerView* _horizontalRuler = nullptr;
    RulerView* _verticalRuler = nullptr;
    bool _hasRulers = false;
};
