#pragma once

#include "elements/ElementHelpers.h"
#include "elements/XmlWebMenu.h"
#include "elements/XmlWebText.h"
#include "platform/graphics/GraphicsImage.h"

#include <QScopedValueRollback>
#include <QStringList>

#include <functional>
#include <memory>

class XmlPhoto;
class XmlPictureFrame;
class XmlWebPhotoAlbum;
namespace lq {
class LayoutManager;
class StyledText;
class TextContainer;
}

// The slideshow of a page template (the template's element named
// "Slideshow"): the photos of the current album page one at a time inside a
// picture box, with previous / next / index / play (or before-after)
// controls above and a caption band below.
//
// Styles: 0 slideshow with the controls laid out automatically in one row,
// 1 slideshow with a stored rectangle per control, 2 and 3 the same for the
// before/after comparison, whose photos come in pairs. With the
// application's before/after preference off, 2 reads as 0 and 3 as 1.
//
// Control indexes (into the "controls" list, and the selected control):
// 0 previous, 1 next, 2 index link, 3 play or before/after, 4 caption area,
// 5 picture box. In styles 1 and 3 a control selected on the canvas is what
// the box geometry accessors (top, left, width, height) read and move.
//
// On the layout canvas the element previews itself: it cross-dissolves the
// slides on a 0.1-second tick that an AnimationClock delivers (the main run
// loop unless another clock is set). In a build it writes its CSS and its
// share of the page (script set-up in the head script, its background,
// controls, captions and viewers in their layers, initialisation after the
// page, image steps last); the site script runs the show in the browser.
//
// The picture frame is an owned part written after the box's own part; the
// control font is a child font named "control"; the caption uses the
// element's own font.
class XmlSlideshow final : public XmlWebText {
public:
    // Delivers the preview's ticks. Tests give the element a clock they
    // advance by hand.
    class AnimationClock {
    public:
        virtual ~AnimationClock() = default;
        // Runs the call once after the delay, filed under the target.
        virtual void performAfter(const void* target, double seconds, std::function<void()> call) = 0;
        // Drops the target's waiting calls.
        virtual void cancel(const void* target) = 0;
    };

    explicit XmlSlideshow(Key key);
    ~XmlSlideshow() override;

    static std::shared_ptr<XmlSlideshow> create();
    static XmlSlideshow* cast(XmlBase* object) { return dynamic_cast<XmlSlideshow*>(object); }

    QString elementName() const override;
    QString uniquename() const override { return QStringLiteral("ssbkgnd"); }
    bool enabled() override;
    // "cssPictureFrame" reads into the element's own frame.
    XmlBasePtr createChildFromTag(const QString& tag) override;
    // Numbers take the text's integer value, flags its low byte; "controls"
    // through setControlString, "clines" through setCaptionLines; the rest
    // goes to the text element.
    void setAttributeTo(const QString& key, const QString& value) override;
    // Ends the control selection, writes the box (its own geometry), then
    // allowBkgnd style showCaptions showPrevNext showIndex showBkgndBox
    // nextLabel prevLabel indexLabel showPlayControls playLabel stopLabel
    // showBeforeAfterControls beforeLabel afterLabel seconds autoStart fade
    // topAlign, controls (styles 1 and 3 only), loop, thumbRollovers
    // slideRollovers reverseThumbs randomOrder. "clines" is never written.
    void appendAttributes(QString& xml) override;
    // The box's own part, then the picture frame.
    QString writeXmlVorns() override;
    // Gives the element its control font (a copy of its own font, whose own
    // font is then centred) when it has none, and plain caption type.
    void postload() override;
    // The picture frame, then the text element's parts.
    XmlBaseList ownedParts() const override;

    // --- Stored settings; every setter marks the document changed -----------------
    // The stored style, folded to 0 or 1 while the before/after preference is off.
    int style() const;
    void setStyle(int style);
    // 1 while the template's photo album sells photos, else the stored value.
    int showCaptions();
    void setShowCaptions(int show);
    bool showPrevNextControls() const { return _showPrevNextControls; }
    void setShowPrevNextControls(bool show);
    const QString& nextLabel() const { return _nextLabel; }
    void setNextLabel(const QString& label);
    const QString& prevLabel() const { return _prevLabel; }
    void setPrevLabel(const QString& label);
    bool showPlayControls() const { return _showPlayControls; }
    void setShowPlayControls(bool show);
    const QString& playLabel() const { return _playLabel; }
    void setPlayLabel(const QString& label);
    const QString& stopLabel() const { return _stopLabel; }
    void setStopLabel(const QString& label);
    bool showBeforeAfterControls() const { return _showBeforeAfterControls; }
    void setShowBeforeAfterControls(bool show);
    const QString& beforeLabel() const { return _beforeLabel; }
    void setBeforeLabel(const QString& label);
    const QString& afterLabel() const { return _afterLabel; }
    void setAfterLabel(const QString& label);
    bool thumbRollovers() const { return _thumbRollovers; }
    void setThumbRollovers(bool on);
    bool slideRollovers() const { return _slideRollovers; }
    void setSlideRollovers(bool on);
    bool reverseThumbs() const { return _reverseThumbs; }
    void setReverseThumbs(bool on);
    bool randomOrder() const { return _randomOrder; }
    void setRandomOrder(bool on);
    bool showIndexLabel() const { return _showIndexLabel; }
    void setShowIndexLabel(bool show);
    const QString& indexLabel() const { return _indexLabel; }
    void setIndexLabel(const QString& label);
    int seconds() const { return _seconds; }
    void setSeconds(int seconds);
    bool autoStart() const { return _autoStart; }
    void setAutoStart(bool on);
    bool fade() const { return _fade; }
    void setFade(bool on);
    bool showBkgndBox() const { return _showBkgndBox; }
    void setShowBkgndBox(bool show);
    bool allowBkgndImage() const { return _allowBkgndImage; }
    void setAllowBkgndImage(bool allow);
    bool topAlignPic() const { return _topAlignPic; }
    void setTopAlignPic(bool on);
    bool loopSlideshow() const { return _loopSlideshow; }
    void setLoopSlideshow(bool on);
    // 1 to 6 lines; other values are clamped.
    int captionLines() const { return _captionLines; }
    void setCaptionLines(int lines);
    const std::shared_ptr<XmlPictureFrame>& frame() const { return _frame; }

    // The slideshow's visibility is decided by visible alone: both flags
    // are set on whatever is asked, without a change notice.
    void setVisible(bool visible) override;
    void setVisibleInSlideshow(bool visible) override;

    // --- Box geometry: the element's box, or the selected control's rectangle ---
    int top() const override;
    void setTop(int top) override;
    int left() const override;
    void setLeft(int left) override;
    int width() const override;
    void setWidth(int width) override;
    int height() const override;
    void setHeight(int height) override;
    int currentControl() const { return _currentControl; }

    // --- Controls -------------------------------------------------------------------
    // The stored rectangle, or the zero rectangle past the list.
    lq::Rect controlRect(int index) const;
    // Stores it when the index is inside the list; no change notice.
    void setControlRectForIndex(const lq::Rect& rect, int index);
    // The rectangles as "{{x, y}, {w, h}}" texts joined by "|".
    QString controlString() const;
    // Replaces the list; no change notice.
    void setControlString(const QString& text);
    // The child font named "control", or nothing.
    std::shared_ptr<XmlWebFont> controlFont() const;
    // The automatic layout of styles 0 and 2: one row of controls along the
    // top of the inner area, the caption band along its bottom, the picture
    // box between them.
    void calcControlObjects();

    // --- Album, photos and captions ---------------------------------------------------
    // The template's photo album element, or nothing.
    XmlWebPhotoAlbum* photoAlbum() const;
    // The album element's: 0 / "#" without one.
    int firstPictureInSlideshow();
    QString indexLink();
    // The photo's place in the picture box (P) and its frame's (F).
    void calcPhotoRectFrameRectThumbRect(XmlPhoto* photo, lq::Rect& frameRect, lq::Rect& thumbRect);
    // The caption the slideshow shows for the photo: with a shop, the
    // caption (when the album puts it there) and the PayPal lines of a photo
    // for sale; else the photo's caption.
    QString captionForPhoto(XmlPhoto* photo);
    // The caption of the current slide; "" when captions are off.
    QString textCaption();
    // The text with the PayPal placeholders of the photo and the site filled
    // in by the template's photo album; unchanged without one.
    QString textSubberPhoto(const QString& text, XmlPhoto* photo);

    // --- Layout, hit testing and canvas -----------------------------------------------
    bool baseVisibility() override;
    bool visible() override;
    // Prepares the control and caption texts and the click areas, and
    // resets the pair of slides to the photo selected in the editor. A
    // failure is logged with the element's XML and goes no further.
    void relayoutFlags(XmlBase* page, int flags) override;
    XmlCSSPtr objectAtPoint(const lq::Point& point) override;
    // The box, then in styles 1 and 3 the rectangles of the shown controls.
    QStringList objectRectArray();
    QStringList guideRectArray() { return objectRectArray(); }
    bool canDoubleClick() override;
    // "link", "prev", "next" or "play" from a click area.
    void mouseClick(const QString& data) override;
    void drawObject() override;
    void drawText() override;
    void drawText2();

    // --- Editor preview -----------------------------------------------------------------
    void startAnimations() override;
    void stopAnimations() override;
    // The clock of the preview's ticks; nothing restores the run loop's.
    void setAnimationClock(std::shared_ptr<AnimationClock> clock);
    float mixer() const { return _mixer; }
    int slideA() const { return _slideA; }
    int slideB() const { return _slideB; }
    bool playingSlides() const { return _playingSlides; }
    int waitTime() const { return _waitTime; }
    const lq::GraphicsImage& imageA() const { return _imageA; }
    const lq::GraphicsImage& imageB() const { return _imageB; }

    // --- Page output (SlideshowHtml) -------------------------------------------------------
    void appendCSS(QString& css) override;
    void appendCSSWinIESuffix(QString& css, const QString& suffix) override;
    void genCSSBitmap(QString& script) override;
    void genCSSWinIEBitmap(QString& script) override;
    void appendHTMLPagePassSheet(QString& html, XmlBase* page, PagePass pass, XmlStyleSheet* sheet) override;

private:
    friend class SlideshowAnimation;
    friend class SlideshowHtml;
    friend class SlideshowLayout;

    // A text storage with one layout manager and one unbounded container.
    using TextSystem = XmlWebMenu::ItemText;
    enum Control { Previous = 0, Next = 1, IndexLink = 2, Play = 3, Caption = 4, PictureBox = 5 };

    int foldedStyle() const;
    // A control of styles 1 or 3 is selected: the geometry accessors work on it.
    bool controlSelected() const;
    // Runs the accessor on the element's own box for the moment.
    template <class F>
    auto onOwnBox(F&& body) -> decltype(body())
    {
        const QScopedValueRollback<int> ownBox(_currentControl, -1);
        return body();
    }
    // Changes one component of the selected control's rectangle.
    void setSelectedControlComponent(int component, int value);
    TextSystem* controlText(int index) const;
    // The photo at the album child index, or nothing.
    XmlPhoto* photoAt(int index);
    int numberChildren(XmlBase* album) const;
    bool disableImageWell();

    int _style = 0;
    int _showCaptions = 1;
    bool _showPrevNextControls = true;
    QString _nextLabel = QStringLiteral("");
    QString _prevLabel = QStringLiteral("");
    bool _showPlayControls = true;
    QString _playLabel = QStringLiteral("");
    QString _stopLabel = QStringLiteral("");
    bool _showBeforeAfterControls = true;
    QString _beforeLabel = QStringLiteral("Before");
    QString _afterLabel = QStringLiteral("After");
    bool _thumbRollovers = false;
    bool _slideRollovers = false;
    bool _reverseThumbs = false;
    bool _randomOrder = false;
    bool _showIndexLabel = true;
    QString _indexLabel = QStringLiteral("");
    int _seconds = 5;
    bool _autoStart = false;
    bool _fade = false;
    bool _showBkgndBox = true;
    bool _allowBkgndImage = true;
    bool _topAlignPic = false;
    bool _loopSlideshow = true;
    std::shared_ptr<XmlPictureFrame> _frame;
    QStringList _controlRects;
    int _currentControl = -1;
    int _captionLines = 1;
    int _slideA = 0;
    int _slideB = 0;
    float _mixer = 1.0f;
    bool _playingSlides = false;
    int _waitTime = 0;
    lq::GraphicsImage _imageA;
    lq::GraphicsImage _imageB;
    std::unique_ptr<TextSystem> _prev;
    std::unique_ptr<TextSystem> _link;
    std::unique_ptr<TextSystem> _next;
    std::unique_ptr<TextSystem> _play;
    // Processor steps gathered with the head script, written with the steps;
    // null between pages.
    QString createImagesProcess;
    std::shared_ptr<AnimationClock> _clock;
};
