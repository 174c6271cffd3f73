#pragma once

#include "elements/ElementHelpers.h"
#include "elements/SlideshowSettings.h"
#include "elements/XmlWebMenu.h"
#include "elements/XmlWebText.h"
#include "platform/graphics/GraphicsImage.h"

#include <QScopedValueRollback>
#include <QStringList>

#include <functional>
#include <memory>

class XmlPhoto;
class XmlPictureFrame;
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
// element's own font. The stored settings are a SlideshowSettings value the
// element holds.
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
    // The settings' attributes; the rest goes to the text element.
    void setAttributeTo(const QString& key, const QString& value) override;
    // Ends the control selection, so that the box writes its own geometry,
    // then writes the text element's attributes and the settings.
    void appendAttributes(QString& xml) override;
    // The box's own part, then the picture frame.
    QString writeXmlVorns() override;
    // Gives the element its control font (a copy of its own font, whose own
    // font is then centred) when it has none, and plain caption type.
    void postload() override;
    // The picture frame, then the text element's parts.
    XmlBaseList ownedParts() const override;
    bool isSlideshow() const override { return true; }
    const std::shared_ptr<XmlPictureFrame>& frame() const { return _frame; }

    // --- Stored settings ---------------------------------------------------------------
    SlideshowSettings& settings() { return _settings; }
    const SlideshowSettings& settings() const { return _settings; }
    // The stored style, folded to 0 or 1 while the before/after preference is off.
    int style() const { return _settings.style(); }
    // Whether a before/after page shows the thumbnails' rollovers (the photo album asks).
    bool thumbRollovers() const { return _settings.thumbRollovers(); }
    bool allowBkgndImage() const override { return _settings.allowBkgndImage(); }

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
    // The child font named "control", or nothing.
    std::shared_ptr<XmlWebFont> controlFont() const;
    // The automatic layout of styles 0 and 2: one row of controls along the
    // top of the inner area, the caption band along its bottom, the picture
    // box between them.
    void calcControlObjects();

    // --- Album, photos and captions ---------------------------------------------------
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

    // --- Page output -------------------------------------------------------
    void appendCSS(QString& css) override;
    void appendCSSWinIESuffix(QString& css, const QString& suffix) override;
    void genCSSBitmap(QString& script) override;
    void genCSSWinIEBitmap(QString& script) override;
    void appendHTMLPagePassSheet(QString& html, XmlBase* page, PagePass pass, XmlStyleSheet* sheet) override;

private:
    // A text storage with one layout manager and one unbounded container.
    using TextSystem = XmlWebMenu::ItemText;
    enum Control { Previous = 0, Next = 1, IndexLink = 2, Play = 3, Caption = 4, PictureBox = 5 };

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

    // --- The preview's tick (canvas) ---
    // One tick of the preview; it asks for the next. While the slides play
    // each stays its time before the next follows; the next blends in (at
    // once without a fade).
    void animation();
    // Asks the element's clock for the next tick.
    void scheduleAnimation();
    // Hands the current slide over to A and clears B.
    void handOverSlides();
    void redisplayAll();

    // --- Text on the page (layout) ---
    // The text systems of the caption and of the four controls, once.
    void makeTextSystems();
    void setControlText(TextSystem& system, const QString& label);
    void setCaptionText(const QString& caption);
    // Lays the controls and the caption out for the page (flags 0 only) and
    // registers the controls' click areas; the slides start again.
    void layoutRelayout(XmlBase* page, int flags);

    // --- Page output ---
    // "ss.add_slide(" values of one photo: sequence number, then F.y, F.x, P.w, P.h.
    struct SlideValues {
        int sequence = 0;
        int y = 0;
        int x = 0;
        int w = 0;
        int h = 0;
        lq::Rect photoRect;
    };
    SlideValues slideValues(XmlPhoto* photo);
    // Writes the image step of the photo into the step buffer.
    void addImageStep(XmlPhoto* photo, const lq::Rect& photoRect, int d);
    void appendScriptSetUp(QString& html, XmlBase* page);
    void appendControlsAndCaptions(QString& html, XmlBase* page);

    SlideshowSettings _settings { *this };
    std::shared_ptr<XmlPictureFrame> _frame;
    int _currentControl = -1;
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
