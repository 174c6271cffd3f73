#pragma once

#include "ui/layout/AlignmentGuides.h"
#include "ui/layout/HotRectangleTable.h"
#include "platform/Colour.h"
#include "platform/Geometry.h"
#include "ui/widgets/PressTracker.h"
#include "ui/widgets/RulerView.h"

#include <QPointer>
#include <QWidget>

#include <array>
#include <memory>
#include <optional>
#include <vector>

class LayoutController;
class MyDocument;
class MyLabel;
class QAbstractButton;
class XmlBoxModel;
class XmlCSS;
class XmlStyleSheet;
namespace lq {
class LayoutManager;
class PreviewView;
class StyledText;
class TextContainer;
}

// The free-form canvas of the layout and preview tabs. It shows the current
// page with its template exactly as the template and its elements draw
// themselves (into the current graphics context), with the designer's aids
// on top: page boundary lines with tags naming the elements at the page's
// edges, an optional grid, the selection frame with its grab handles and the
// alignment guides.
//
// The page is placed in the canvas at an offset (centred when the template
// says so); every coordinate the canvas hands to the model or gets from it
// (element rectangles, hot rectangles, the selection) is a page coordinate.
//
// In layout mode a press selects the element under the pointer, a press on
// the element already selected drags it, a press on one of its grab handles
// resizes it, the arrow keys nudge it (with Option: size it) and Tab and
// Backtab step through the page's selectable elements; a Control-click opens
// the content under the pointer for editing. A drag updates the element live
// without marking the document changed and commits its rectangle once, at the
// release, through the controller; a press without movement commits nothing.
// Alignment guides show the selection in line with the other elements and
// hold it there while the pointer stays within 10 units across the guide.
//
// In test (preview) mode it draws no aids, shows live views for the Vorn
// Boxes that need one, and turns pointer movement and presses over the
// page elements' hot rectangles into their hover and click calls. In layout
// mode live views take no clicks.
//
// The layout controller moves it between the scroll view with rulers
// (layout mode) and the one without (preview mode); it never fits itself on
// its own: fitMe runs when the controller or the scroll view ask for it.
class QZLayoutView : public QWidget {
    Q_OBJECT
public:
    QZLayoutView(LayoutController& controller, MyDocument& document, QWidget* parent = nullptr);
    ~QZLayoutView() override;

    // --- Grid ---------------------------------------------------------------------------
    // Every setter stores the value and redraws the whole canvas.
    int gridX() const { return _gridX; }
    void setGridX(int spacing);
    int gridY() const { return _gridY; }
    void setGridY(int spacing);
    // Never in test mode.
    bool showGrid() const { return !_testMode && _showGrid; }
    void setShowGrid(bool show);
    const lq::Colour& gridColor() const { return _gridColor; }
    void setGridColor(const lq::Colour& colour);
    float gridAlpha() const { return _gridAlpha; }
    void setGridAlpha(float alpha);
    bool snapGrid() const { return _snapGrid; }
    void setSnapGrid(bool snap) { _snapGrid = snap; }

    // --- Guides (actions of the layout tab's controls) -------------------------------------
    void setGuideColor(const lq::Colour& colour);
    const lq::Colour& guideColor() const { return _guideColor; }
    void enableEdge(QAbstractButton* sender);
    void enableCenter(QAbstractButton* sender);
    void enablePageBoundaries(QAbstractButton* sender);
    bool edgeGuidesEnabled() const { return _enableEdgeGuides; }
    bool centerGuidesEnabled() const { return _enableCenterGuides; }
    bool pageBoundariesEnabled() const { return _enablePageBoundaries; }

    // --- Modes and selection -------------------------------------------------------------
    // Entering test mode drops the selection first.
    void setTestMode(bool testMode);
    bool testMode() const { return _testMode; }
    bool handlesOn() const { return _handlesOn || !_currentSelectedObject.isEmpty(); }
    void setHandlesOn(bool on) { _handlesOn = on; }
    // Selects the element (nothing: the page itself) and tells the
    // controller; answers the element when it is a box, else nothing.
    XmlBoxModel* setCurrentSelectedObject(XmlCSS* object);
    std::shared_ptr<XmlCSS> currentSelectedObject() const;
    // Selects the selection again: its rectangle and permissions are read anew.
    void setObjectMoved();
    const lq::Rect& bodyRect() const { return _bodyRect; }
    void setBodyRect(const lq::Rect& rect) { _bodyRect = rect; }
    // What the selection allows; read anew from the element whenever it is selected.
    void setCanHorzSize(bool can) { _canHorzSize = can; }
    void setCanVertSize(bool can) { _canVertSize = can; }
    // The selection's guide rectangle; the zero rectangle without one.
    lq::Rect guideRect();
    // The grab handle (0 to 7) under the page point, or -1: the corners
    // when the selection sizes both ways, then the middles of the sides it
    // sizes in.
    int grabberHitTest(const lq::Point& point) const;
    // Whether a drag (a move or a resize) is under way.
    bool isDragging() const { return _drag.has_value(); }

    // --- Alignment guides ---------------------------------------------------------------------------
    // Loads the other elements' guide rectangles (rectangle strings), without
    // the selection's own.
    void setObjectRectsIgnoringRect(const QStringList& rects, const lq::Rect& ignored);
    // Finds the guides of the element's guide rectangle (none without an
    // element or in test mode) and shows its rectangle in the read-out.
    void calcGuidelines(XmlCSS* object);
    const AlignmentGuides& guides() const { return _guides; }

    // --- Drawing and redisplay ---------------------------------------------------------------
    // The whole canvas redraws, whatever the rectangle.
    void redisplayRect(const lq::Rect& rect);
    // The selection frame and its handles redraw.
    void redisplayObject();
    lq::Rect refreshRect() const;
    // The template's extent; the zero rectangle without one.
    lq::Rect imageBounds();
    // The current page's template after the live views were brought in step
    // with it; nothing for a page that is an external link.
    std::shared_ptr<XmlStyleSheet> stylesheet();
    // Makes and drops live views as the template and the mode ask, before
    // the canvas is next drawn.
    void updateBrowserViews() { stylesheet(); }
    lq::Rect grabberRect(int handle) const { return _grabber[static_cast<std::size_t>(handle)]; }
    void calcGrabHandles();
    // Where the page's origin lies in the canvas, as last drawn.
    QPoint pageOffset() const { return _pageOffset; }
    // A point of the canvas widget in page coordinates.
    lq::Point pagePoint(const QPointF& widgetPoint) const;

    // --- Live views of the Vorn Boxes -----------------------------------------------------------
    lq::PreviewView* getWidgetView(int vornSeqNum) const;
    void clearBrowserViews();
    int numberOfBrowserViews() const { return static_cast<int>(_browserViews.size()); }

    // --- Frame and rulers ---------------------------------------------------------------------
    // The frame becomes the larger of the page and the visible area.
    void fitMe();
    void recalcFrameInView() { fitMe(); }
    // The selection's rectangle is read again, then the frame refits.
    void selectedObjectRefresh();
    void setHorzRulerView(RulerView* ruler) { _horzRuler = ruler; }
    void setVertRulerView(RulerView* ruler) { _vertRuler = ruler; }
    RulerView* horzRulerView() const { return _horzRuler; }
    // Moves the rulers' marker lines to the rectangle (a rectangle string);
    // the zero rectangle takes them away. Nothing without both rulers.
    void doRulerLines(const QString& rect);

    // --- Hot rectangles ---------------------------------------------------------------------------
    void addTrackingDataForObjectDataRect(const QString& uuid, const QString& data, const lq::Rect& rect);
    void clearTrackingDataForObject(const QString& uuid);
    void clearTrackingData();
    const HotRectangleTable& trackingData() const { return _trackingData; }

    // --- Coordinate read-out -----------------------------------------------------------------------
    QWidget* cordView() const { return _cordView; }
    // "X: <x> Y: <y>\nW: <w> H: <h>" of the rectangle last shown.
    QString readOut() const;
    // Shown while Option (Alt) is held outside test mode; modifier changes
    // during a drag come here too.
    void flagsChanged(Qt::KeyboardModifiers modifiers);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    // Tab and Backtab step through the page's elements instead of leaving the canvas.
    bool focusNextPrevChild(bool next) override;

private:
    struct BrowserView {
        int vorn = 0;
        std::unique_ptr<lq::PreviewView> view;
    };

    // A move or resize of the selection, from the press to the release.
    struct Drag {
        int handle = -1;       // the grab handle of a resize; -1 for a move
        lq::Rect start;        // the rectangle at the press
        lq::Point grip;        // the pointer's distance from the rectangle's origin (move) or the handle's anchor (resize)
        QString object;        // the element's UUID
        float stickyX = -1;    // the pointer's coordinate across a guide that holds the element, -1 for none
        float stickyY = -1;
    };

    void bringBrowserViewsInStep(XmlStyleSheet& sheet);
    void letBrowserViewsTakeClicks();

    // --- Drawing (QZLayoutViewDrawing.cpp), one pass at a time ---------------------------------
    // The page's offset in the canvas, and the rulers' origins with it.
    void placePage(XmlStyleSheet& sheet);
    void drawExternalLinkNotice(const lq::Rect& bounds);
    void drawPageBoundaries(XmlStyleSheet& sheet);
    void drawEdgeTag(const QString& label, float edge, bool left);
    void drawGrid(const lq::Rect& rect);
    void drawGrabHandles();
    void drawGuidelines();
    // The rulers' marker lines follow the marked rectangle where the page now lies.
    void markRulers();

    // --- Presses, drags and keys (QZLayoutViewEditing.cpp) ---------------------------------------
    // The press tracker's steps: a press (answers whether a drag begins),
    // each move while pressed (false ends the drag) and the release.
    bool mouseDown(const QPointF& at);
    bool dragStep(const QPointF& at);
    void mouseUp(const QPointF& at);
    // The pointer moving with no button down.
    void mouseMoved(QMouseEvent* event);
    // Answers whether the canvas took the key.
    bool keyDown(QKeyEvent* event);
    // The rectangle in the coordinate read-out.
    void showReadOut(const lq::Rect& rect);
    bool layoutMouseDown(const lq::Point& point);
    bool testMouseDown(const lq::Point& point);
    bool ignoresPointer(const QMouseEvent* event) const;
    void beginDrag(const lq::Point& point, int handle);
    // Answers the pointer as a guide holds it.
    lq::Point moveStep(const Drag& drag, lq::Point point);
    void resizeStep(const Drag& drag, const lq::Point& point);
    void liveUpdate(XmlCSS& object);
    void endDrag();
    void tabToNextObject(bool backward);
    void nudge(XmlCSS& selection, int dx, int dy, bool resize);
    void autoscroll(const QPointF& at);
    void scrollToPageRect(const lq::Rect& rect);

    LayoutController& _controller;
    MyDocument& _document;

    lq::Rect _bodyRect;
    std::array<lq::Rect, 8> _grabber;
    bool _handlesOn = false;
    QString _currentSelectedObject;
    bool _canHorzSize = false;
    bool _canVertSize = false;
    bool _canMove = false;

    int _gridX = 20;
    int _gridY = 20;
    bool _showGrid = false;
    bool _snapGrid = false;
    float _gridAlpha = 0.1f;
    lq::Colour _gridColor = lq::Colour(0, 0, 1);

    HotRectangleTable _trackingData;
    PressTracker _tracker;
    // The modifiers of the last pointer or key event.
    Qt::KeyboardModifiers _modifiers;
    // A press in test mode went to a hot rectangle.
    bool _hotPress = false;
    std::optional<Drag> _drag;
    bool _testMode = false;

    QPointer<RulerView> _horzRuler;
    QPointer<RulerView> _vertRuler;
    // The rectangle the rulers mark, and where their lines are now.
    lq::Rect oldRulerRect;
    std::array<double, 4> _rulerMarks = {-1, -1, -1, -1};
    QWidget* _cordView = nullptr;
    MyLabel* _cordStat = nullptr;

    lq::Colour _guideColor = lq::Colour(0, 0, 1);
    bool _enableCenterGuides = false;
    bool _enableEdgeGuides = false;
    bool _enablePageBoundaries = false;
    AlignmentGuides _guides;

    std::vector<BrowserView> _browserViews;
    QPoint _pageOffset;

    // The text system of the external-link notice.
    std::shared_ptr<lq::StyledText> _contents;
    std::unique_ptr<lq::LayoutManager> _lm;
    std::shared_ptr<lq::TextContainer> _tc;
};
