#pragma once

#include "platform/Geometry.h"

#include <QString>

#include <QStringList>

class XmlBase;
class XmlWebPhotoAlbum;

// The stored settings of a slideshow (XmlSlideshow describes its styles and
// controls), a value the element holds and reads and writes with the text
// element's attributes: its style, which controls show and their labels, the
// timing and order of the slides, the caption lines and the stored rectangle
// of each control. Every setter but the control rectangles' marks the
// element's document changed; the style and the captions also answer for the
// element's template and the application's preferences.
class SlideshowSettings {
public:
    // The settings of the element, which outlives them.
    explicit SlideshowSettings(XmlBase& element);
    SlideshowSettings(const SlideshowSettings&) = delete;
    SlideshowSettings& operator=(const SlideshowSettings&) = delete;

    // Numbers take the text's integer value, flags its low byte; "controls"
    // through setControlString, "clines" through setCaptionLines. False for
    // a key that is no setting of the slideshow.
    bool setAttributeTo(const QString& key, const QString& value);
    // allowBkgnd style showCaptions showPrevNext showIndex showBkgndBox
    // nextLabel prevLabel indexLabel showPlayControls playLabel stopLabel
    // showBeforeAfterControls beforeLabel afterLabel seconds autoStart fade
    // topAlign, controls (styles 1 and 3 only), loop, thumbRollovers
    // slideRollovers reverseThumbs randomOrder. "clines" is never written.
    void appendAttributes(QString& xml);

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

    // --- The controls' stored rectangles, by control index -------------------------
    // The stored rectangle, or the zero rectangle past the list.
    lq::Rect controlRect(int index) const;
    // Stores it when the index is inside the list; no change notice.
    void setControlRectForIndex(const lq::Rect& rect, int index);
    // The rectangles as "{{x, y}, {w, h}}" texts joined by "|".
    QString controlString() const;
    // Replaces the list; no change notice.
    void setControlString(const QString& text);
    // Replaces the list with the rectangles' texts; no change notice.
    void setControlRects(const QStringList& rects);

    // The template's photo album element, or nothing.
    XmlWebPhotoAlbum* photoAlbum() const;

private:
    int foldedStyle() const;
    // Stores the value and tells the element's document of the change,
    // inside the frame of the setter's operation.
    template <class Field, class Value>
    void setStored(Field& field, Value&& value, const char* operation);

    XmlBase& _element;
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
    QStringList _controlRects;
    int _captionLines = 1;
};
