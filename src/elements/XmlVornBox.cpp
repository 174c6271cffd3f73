#include "elements/XmlVornBox.h"

#include "elements/XmlWebContent.h"
#include "model/core/DocumentBase.h"
#include "model/site/XmlAlbum.h"
#include "platform/ExceptionFrame.h"
#include "platform/Log.h"
#include "platform/PreviewView.h"
#include "platform/Strings.h"
#include "platform/graphics/BezierPath.h"
#include "platform/graphics/GraphicsContext.h"
#include "platform/text/LayoutManager.h"
#include "platform/text/StyledText.h"
#include "platform/text/TextContainer.h"
#include "templates/XmlStyleSheet.h"
#include "templates/XmlWebFont.h"

#include <QUrl>

#include <cmath>

namespace {

// The text container's extent: wide and high enough never to run out of room.
constexpr qreal unbounded = 1000000.0;

// The size of a movie that was never measured.
constexpr float unmeasuredMovie = 100.0f;

// Distance between the placeholder's hatching lines.
constexpr float hatchStep = 20.0f;

const QString& foreground()
{
    static const QString layer = QStringLiteral("Foreground");
    return layer;
}

QString trueOrFalse(bool flag)
{
    return flag ? QStringLiteral("true") : QStringLiteral("false");
}

// Text for a single-quoted script string: backslash, quote and line breaks
// escaped, and "</" broken so that it cannot end the script element.
QString scriptString(const QString& text)
{
    QString escaped = XmlBase::javascriptEscape(text.isNull() ? QStringLiteral("") : text);
    escaped.replace(QStringLiteral("</"), QStringLiteral("<\\/"));
    return escaped;
}

// The scale word of a Flash movie.
QString scaleWord(int scale)
{
    switch (scale) {
    case 1:
        return QStringLiteral("noborder");
    case 2:
        return QStringLiteral("exactfit");
    default:
        return QStringLiteral("Default");
    }
}

// The addresses of the plug-ins a preview page names.
const char* const quickTimeCabinet = "http://www.apple.com/qtactivex/qtplugin.cab";
const char* const quickTimeDownload = "http://www.apple.com/quicktime/download/";
const char* const flashCabinet = "http://download.macromedia.com/pub/shockwave/cabs/flash/swflash.cab";
const char* const flashDownload = "http://www.macromedia.com/go/getflashplayer";

} // namespace

XmlVornBox::XmlVornBox(Key key)
    : XmlWebText(key)
{
    _visible = 1;
    _visibleInSlideshow = 0;
    setHaveContent(true);
}

XmlVornBox::~XmlVornBox()
{
    // The snippet part may be held elsewhere; it must not point back here.
    if (_htmlSnippet)
        _htmlSnippet->setParent(nullptr);
}

std::shared_ptr<XmlVornBox> XmlVornBox::create()
{
    return make<XmlVornBox>();
}

// --- Identity ----------------------------------------------------------------------------------

QString XmlVornBox::elementName() const
{
    return QStringLiteral("cssVornBox");
}

QString XmlVornBox::name() const
{
    return QStringLiteral("Vorn Box");
}

QString XmlVornBox::fullname() const
{
    return _fullname.isNull() ? name() : _fullname;
}

void XmlVornBox::setFullname(const QString& fullname)
{
    lq::modelFrame(this, "setFullname:", [&] {
        _fullname = fullname.isNull() ? QStringLiteral("") : fullname;
        docChanged();
    });
}

QString XmlVornBox::uniquename() const
{
    return QStringLiteral("x") + QString::number(_vornSeqNum);
}

bool XmlVornBox::enabled()
{
    return true;
}

// --- Stored form -------------------------------------------------------------------------------

void XmlVornBox::setAttributeTo(const QString& key, const QString& value)
{
    lq::modelFrame(this, "setAttribute:to:", [&] {
        const int number = lq::intValue(value);
        if (key == u"type")
            setType(number);
        else if (key == u"vornSeqNum")
            setVornSeqNum(number);
        else if (key == u"scrollbars")
            setScrollbars(number != 0);
        else if (key == u"autostart")
            setAutostart(number != 0);
        else if (key == u"moviecontroller")
            setMoviecontroller(number != 0);
        else if (key == u"loopmovie")
            setLoopmovie(number != 0);
        else if (key == u"scale")
            setScale(number);
        else if (key == u"externalType")
            setExternalType(number);
        else if (key == u"newWindow")
            setNewWindow(number != 0);
        else if (key == u"hiddenQT")
            setHiddenQT(number);
        else if (key == u"wraps")
            setWrapsText(number != 0);
        else if (key == u"externalHTML")
            setExternalHTML(value);
        else if (key == u"fullname")
            setFullname(value);
        else if (key == u"clickLinkTo")
            setClickLinkTo(value);
        else if (key == u"rollOverImage")
            setRollOverImage(value);
        else if (key == u"zlocation")
            setZlocation(value);
        else if (key == u"qtSize")
            setQTSize(stringToSize(value));
        else if (key == u"baseSize")
            setBaseSize(stringToSize(value));
        else
            XmlWebText::setAttributeTo(key, value);
    });
}

void XmlVornBox::appendAttributes(QString& xml)
{
    lq::modelFrame(this, "appendAttributes:", [&] {
        XmlWebText::appendAttributes(xml);
        const auto text = [&](const char* attribute, const QString& value) {
            xml += QLatin1Char(' ') + QLatin1String(attribute) + QStringLiteral("=\"") + value + QLatin1Char('"');
        };
        const auto number = [&](const char* attribute, int value) { text(attribute, QString::number(value)); };
        number("vornSeqNum", _vornSeqNum);
        number("type", _type);
        text("externalHTML", escape(_externalHTML));
        text("fullname", escape(fullname()));
        number("scrollbars", _scrollbars ? 1 : 0);
        number("autostart", _autostart ? 1 : 0);
        number("moviecontroller", _moviecontroller ? 1 : 0);
        number("loopmovie", _loopmovie ? 1 : 0);
        number("scale", _scale);
        number("externalType", _externalType);
        text("clickLinkTo", escape(_clickLinkTo));
        text("rollOverImage", escape(_rollOverImage));
        number("newWindow", _newWindow ? 1 : 0);
        text("qtSize", sizeToString(_qtSize));
        number("hiddenQT", _hiddenQT);
        text("baseSize", sizeToString(_baseSize));
        text("zlocation", zlocation());
        number("wraps", _wrapsText ? 1 : 0);
    });
}

XmlBasePtr XmlVornBox::createChildFromTag(const QString& tag)
{
    return lq::modelFrame(this, "createChildFromTag:", [&]() -> XmlBasePtr {
        if (tag == u"htmlSnippet")
            return htmlSnippet();
        return XmlWebText::createChildFromTag(tag);
    });
}

QString XmlVornBox::writeXmlVorns()
{
    return lq::modelFrame(this, "writeXmlVorns", [&] {
        return XmlWebText::writeXmlVorns() + htmlSnippet()->createXml();
    });
}

const XmlBasePtr& XmlVornBox::htmlSnippet()
{
    if (!_htmlSnippet) {
        _htmlSnippet = XmlBase::create();
        _htmlSnippet->setParent(this);
        _htmlSnippet->setHaveContent(true);
        _htmlSnippet->setElementOverride(QStringLiteral("htmlSnippet"));
    }
    return _htmlSnippet;
}

// --- Settings ----------------------------------------------------------------------------------

void XmlVornBox::setStringField(QString& field, const QString& value)
{
    field = value.isNull() ? QStringLiteral("") : value;
    docChanged();
}

void XmlVornBox::setIntField(int& field, int value)
{
    field = value;
    docChanged();
}

void XmlVornBox::setBoolField(bool& field, bool value)
{
    field = value;
    docChanged();
}

void XmlVornBox::setType(int type)
{
    lq::modelFrame(this, "setType:", [&] { setIntField(_type, type); });
}

void XmlVornBox::setExternalType(int type)
{
    lq::modelFrame(this, "setExternalType:", [&] { setIntField(_externalType, type); });
}

void XmlVornBox::setVornSeqNum(int number)
{
    lq::modelFrame(this, "setVornSeqNum:", [&] { setIntField(_vornSeqNum, number); });
}

void XmlVornBox::setExternalHTML(const QString& item)
{
    lq::modelFrame(this, "setExternalHTML:", [&] { setStringField(_externalHTML, item); });
}

void XmlVornBox::setScrollbars(bool scrollbars)
{
    lq::modelFrame(this, "setScrollbars:", [&] { setBoolField(_scrollbars, scrollbars); });
}

void XmlVornBox::setAutostart(bool autostart)
{
    lq::modelFrame(this, "setAutostart:", [&] { setBoolField(_autostart, autostart); });
}

void XmlVornBox::setMoviecontroller(bool controller)
{
    lq::modelFrame(this, "setMoviecontroller:", [&] { setBoolField(_moviecontroller, controller); });
}

void XmlVornBox::setLoopmovie(bool loop)
{
    lq::modelFrame(this, "setLoopmovie:", [&] { setBoolField(_loopmovie, loop); });
}

void XmlVornBox::setScale(int scale)
{
    lq::modelFrame(this, "setScale:", [&] {
        _scale = static_cast<signed char>(scale);
        docChanged();
    });
}

void XmlVornBox::setClickLinkTo(const QString& link)
{
    lq::modelFrame(this, "setClickLinkTo:", [&] { setStringField(_clickLinkTo, link); });
}

void XmlVornBox::setRollOverImage(const QString& image)
{
    lq::modelFrame(this, "setRollOverImage:", [&] { setStringField(_rollOverImage, image); });
}

void XmlVornBox::setNewWindow(bool newWindow)
{
    lq::modelFrame(this, "setNewWindow:", [&] { setBoolField(_newWindow, newWindow); });
}

void XmlVornBox::setHiddenQT(int hidden)
{
    lq::modelFrame(this, "setHiddenQT:", [&] { setIntField(_hiddenQT, hidden); });
}

void XmlVornBox::setWrapsText(bool wraps)
{
    lq::modelFrame(this, "setWrapsText:", [&] { setBoolField(_wrapsText, wraps); });
}

QString XmlVornBox::zlocation() const
{
    return _type == 3 ? _zlocation : foreground();
}

void XmlVornBox::setZlocation(const QString& layer)
{
    lq::modelFrame(this, "setZlocation:", [&] {
        if (_type == 3)
            setStringField(_zlocation, layer);
    });
}

int XmlVornBox::getCorrectPass() const
{
    const QString layer = zlocation();
    if (layer == u"Background")
        return 2;
    if (layer == u"Middle")
        return 9;
    return 16;
}

int XmlVornBox::bkgnd() const
{
    return _type == 3 ? 5 : XmlWebText::bkgnd();
}

int XmlVornBox::transparentBkgnd() const
{
    return _type == 3 ? 1 : XmlWebText::transparentBkgnd();
}

// --- Geometry ----------------------------------------------------------------------------------

float XmlVornBox::movieWidth() const
{
    if (_qtSize.width == 0)
        return unmeasuredMovie;
    return _qtSize.width;
}

float XmlVornBox::movieHeight() const
{
    if (_qtSize.width == 0 && _qtSize.height == 0)
        return unmeasuredMovie;
    return _qtSize.height;
}

bool XmlVornBox::heightFixed() const
{
    return isQuickTime() ? false : XmlWebText::heightFixed();
}

bool XmlVornBox::widthFixed() const
{
    return isQuickTime() ? false : XmlWebText::widthFixed();
}

int XmlVornBox::width() const
{
    if (!isQuickTime())
        return XmlWebText::width();
    // Summed in single precision in this order, then cut to whole pixels.
    float sum = movieWidth();
    sum += float(_bl);
    sum += float(_pl);
    sum += float(_pr);
    sum += float(_br);
    return lq::truncatedPixel(sum);
}

int XmlVornBox::height() const
{
    if (!isQuickTime())
        return XmlWebText::height();
    float sum = movieHeight();
    sum += float(_bt);
    sum += float(_pt);
    sum += float(_bb);
    sum += float(_pb);
    return lq::truncatedPixel(sum);
}

int XmlVornBox::calcWidth() const
{
    return isQuickTime() ? width() : XmlWebText::calcWidth();
}

int XmlVornBox::calcHeight() const
{
    return isQuickTime() ? height() : XmlWebText::calcHeight();
}

int XmlVornBox::internalHeight() const
{
    return isQuickTime() ? lq::truncatedPixel(_qtSize.height) : XmlWebText::internalHeight();
}

// --- Fonts -------------------------------------------------------------------------------------

std::shared_ptr<XmlWebFont> XmlVornBox::contentRecord(int type)
{
    XmlStyleSheet* sheet = XmlStyleSheet::cast(_parent);
    if (!sheet)
        return nullptr;
    const XmlBasePtr element = sheet->getElementWithName(QStringLiteral("Content"));
    XmlWebContent* content = XmlWebContent::cast(element.get());
    if (!content)
        return nullptr;
    switch (type) {
    case 1:
        return content->heading();
    case 2:
        return content->subheading();
    case 3:
        return content->caption();
    default:
        return content->font();
    }
}

std::shared_ptr<XmlWebFont> XmlVornBox::font()
{
    return lq::modelFrame(this, "font", [&] { return contentRecord(0); });
}

std::shared_ptr<XmlWebFont> XmlVornBox::heading()
{
    return lq::modelFrame(this, "heading", [&] { return contentRecord(1); });
}

std::shared_ptr<XmlWebFont> XmlVornBox::subheading()
{
    return lq::modelFrame(this, "subheading", [&] { return contentRecord(2); });
}

std::shared_ptr<XmlWebFont> XmlVornBox::caption()
{
    return lq::modelFrame(this, "caption", [&] { return contentRecord(3); });
}

// --- Text --------------------------------------------------------------------------------------

void XmlVornBox::createTextLayoutStuff()
{
    if (_contents)
        return;
    _contents = std::make_shared<lq::StyledText>();
    _lm = std::make_unique<lq::LayoutManager>();
    _lm->setTextStorage(_contents);
    _tc = std::make_shared<lq::TextContainer>(QSizeF(unbounded, unbounded));
    _tc->setLineFragmentPadding(0);
    _lm->addTextContainer(_tc);
}

void XmlVornBox::setUpParagraphAlignmentTag(const QString& attributes, lq::TextAlignment alignment,
                                            const QString& tag)
{
    lq::modelFrame(this, "setUpParagraph:alignment:tag:", [&] {
        pstyle = lq::ParagraphStyle::defaultStyle();
        pstyle.tabStops = lqTabStops();
        pstyle.paragraphSpacing = 0;
        const auto take = [&](const std::shared_ptr<XmlWebFont>& record, const std::optional<lq::Font>& concrete,
                              int kind) {
            // Without a content box there is no record: no line spacing.
            pstyle.lineSpacing = record ? std::trunc(double(record->lineSpacing())) : 0;
            currentFont = concrete;
            currentWebFont = record;
            paragraphType = kind;
        };
        if (tag == u"p")
            take(font(), normalFont, 0);
        else if (tag == u"h1" || tag == u"h3")
            take(heading(), headingFont, 1);
        else if (tag == u"h2")
            take(subheading(), subheadingFont, 2);
        else if (tag == u"h4")
            take(caption(), captionFont, 3);
        alignParagraph(attributes, alignment);
    });
}

void XmlVornBox::relayoutFlags(XmlBase* page, int flags)
{
    try {
        if (requiresView()) {
            DocumentBase* document = myDocument();
            if (lq::PreviewView* view = document ? document->getWidgetView(_vornSeqNum) : nullptr) {
                const lq::Rect outer = objectRect();
                view->setFrame(lq::Rect(outer.x() + float(_bl + _pl), outer.y() + float(_bt + _pt),
                                        outer.width() - float(_bl + _pl + _br + _pr),
                                        outer.height() - float(_bt + _pt + _bb + _pb)));
            }
            return;
        }
        if (_type != 1 || flags != 0)
            return;
        std::shared_ptr<XmlAlbum> remembered;
        if (!page) {
            remembered = getCurrentAlbum();
            page = remembered.get();
            if (!page)
                return;
        }
        setCurrentAlbum(page);

        createTextLayoutStuff();
        _tc->setContainerSize(QSizeF(internalRect().width(), unbounded));
        const auto concrete = [](const std::shared_ptr<XmlWebFont>& record) -> std::optional<lq::Font> {
            if (!record)
                return std::nullopt;
            return record->createFont();
        };
        normalFont = concrete(font());
        headingFont = concrete(heading());
        subheadingFont = concrete(subheading());
        captionFont = concrete(caption());

        clearLinks();
        _contents->setText(getAttributedStringWithAlignmentAttr(content(), lq::TextAlignment::Left, 0));
        _lm->glyphRangeForTextContainer(_tc.get());

        DocumentBase* document = myDocument();
        if (!document)
            return;
        document->clearTrackingDataForObject(UUID());
        const lq::Point origin = internalRect().origin;
        for (const QString& rangeText : links()) {
            lq::Range remaining = lq::Range::fromString(rangeText);
            // One rectangle per pass, until the glyphs found cover the range.
            while (remaining.length > 0) {
                lq::Range covered;
                const lq::Range glyphs = _lm->glyphRangeForCharacterRange(remaining, &covered);
                if (glyphs.length == 0 || covered.length == 0)
                    break;
                const QRectF area = _lm->boundingRectForGlyphRange(glyphs, _tc.get());
                document->addTrackingDataForObjectDataRect(UUID(), rangeText,
                                                           lq::Rect(area).offset(origin.x, origin.y));
                if (covered.end() >= remaining.end())
                    break;
                remaining = lq::Range { quint32(covered.end()), quint32(remaining.end() - covered.end()) };
            }
        }
    } catch (const lq::Exception& failure) {
        lq::log(QStringLiteral("widget error: %1: %2").arg(failure.name(), failure.reason()));
        lq::log(createXml());
    }
}

// --- Previews ----------------------------------------------------------------------------------

bool XmlVornBox::requiresView()
{
    return lq::modelFrame(this, "requiresView", [&] {
        XmlStyleSheet* sheet = XmlStyleSheet::cast(_parent);
        if (!sheet || !sheet->showVornViews())
            return false;
        // No Flash player exists here: a Flash box keeps its placeholder, as
        // every box does whose kind of view cannot be shown on this machine.
        if (_type == 0 && _externalType == 1)
            return lq::PreviewView::canShow(lq::PreviewView::Kind::Movie);
        if ((_type == 0 && _externalType == 3) || _type == 2)
            return lq::PreviewView::canShow(lq::PreviewView::Kind::Web);
        return false;
    });
}

QString XmlVornBox::movieFile()
{
    return rootDir() + QStringLiteral("/files/") + _externalHTML;
}

void XmlVornBox::loadMovieIntoView(lq::PreviewView& view, bool hideAsStored)
{
    const std::optional<lq::Movie> movie = lq::Movie::open(movieFile());
    if (!movie)
        return;
    view.setMovie(*movie);
    view.setShowsController(_moviecontroller);
    view.setLoops(false);
    if (hideAsStored && _hiddenQT != 0)
        view.setHidden(true);
    if (_autostart)
        view.play();
    lq::Size size = view.naturalSize();
    if (!_moviecontroller)
        size.height -= lq::PreviewView::controllerHeight;
    setQTSize(size);
}

std::unique_ptr<lq::PreviewView> XmlVornBox::createView()
{
    return lq::modelFrame(this, "createView", [&]() -> std::unique_ptr<lq::PreviewView> {
        if (!requiresView())
            return nullptr;
        if (isQuickTime()) {
            std::unique_ptr<lq::PreviewView> view = lq::PreviewView::make(lq::PreviewView::Kind::Movie, internalRect());
            loadMovieIntoView(*view, true);
            return view;
        }
        std::unique_ptr<lq::PreviewView> view = lq::PreviewView::make(lq::PreviewView::Kind::Web, internalRect());
        view->setDrawsBackground(false);
        view->loadHTMLString(htmlString());
        return view;
    });
}

void XmlVornBox::updateVorn()
{
    lq::modelFrame(this, "updateVorn", [&] {
        if (!isQuickTime())
            return;
        // A view of this class measures without showing anything.
        lq::PreviewView view(lq::PreviewView::Kind::Movie, internalRect());
        loadMovieIntoView(view, true);
    });
}

void XmlVornBox::reloadPage()
{
    lq::modelFrame(this, "reloadPage", [&] {
        if (!requiresView())
            return;
        DocumentBase* document = myDocument();
        lq::PreviewView* view = document ? document->getWidgetView(_vornSeqNum) : nullptr;
        if (!view)
            return;
        if (isQuickTime())
            loadMovieIntoView(*view, false);
        else
            view->loadHTMLString(htmlString());
    });
}

void XmlVornBox::appendImage(QString& html, bool forPage)
{
    const bool linked = !_clickLinkTo.isEmpty();
    if (linked) {
        html += QStringLiteral("<a href=\"") + attributeEscape(_clickLinkTo) + QStringLiteral("\" target=\"")
            + (_newWindow ? QStringLiteral("_blank") : QStringLiteral("_self")) + QStringLiteral("\">");
    }
    html += QStringLiteral("<img src=\"") + attributeEscape(_externalHTML) + QLatin1Char('"');
    if (forPage)
        html += QStringLiteral(" alt=\"\" style=\"border: 0px; \"");
    if (!_rollOverImage.isEmpty()) {
        const QString n = QString::number(_vornSeqNum);
        html += QStringLiteral(" id=\"xvornro") + n + QLatin1Char('"');
        html += QStringLiteral(" onload=\"vornro") + n + QStringLiteral(" = new rollOver('xvornro") + n
            + QStringLiteral("', '") + attributeEscape(scriptString(_externalHTML)) + QStringLiteral("', '")
            + attributeEscape(scriptString(_rollOverImage)) + QStringLiteral("')\"");
        html += QStringLiteral(" onmouseout=\"vornro") + n + QStringLiteral(".mouseOut()\"");
        html += QStringLiteral(" onmouseover=\"vornro") + n + QStringLiteral(".mouseOver()\"");
    }
    html += QStringLiteral(" />");
    if (linked)
        html += QStringLiteral("</a>\n");
}

QString XmlVornBox::htmlString()
{
    return lq::modelFrame(this, "htmlString", [&]() -> QString {
        if (_type == 1 || _type == 3 || (_type == 0 && _externalType == 0))
            return QString();
        const int iw = internalWidth();
        const int ih = internalHeight();
        const QString files = QUrl::fromLocalFile(rootDir() + QStringLiteral("/files/")).toString(QUrl::FullyEncoded);
        QString html;
        html += QStringLiteral("<html>\n<head>\n");
        html += QStringLiteral("<meta http-equiv=\"content-type\" content=\"text/html; charset=UTF-8\">\n");
        html += QStringLiteral("<base href=\"") + attributeEscape(files) + QStringLiteral("\" >\n");
        html += QStringLiteral("<style type=\"text/css\">\n");
        html += QStringLiteral("body { background-color: transparent; overflow: hidden; padding: 0px; margin: 0px;}\n");
        if (XmlStyleSheet* sheet = XmlStyleSheet::cast(_parent)) {
            const XmlBasePtr content = sheet->getElementWithName(QStringLiteral("Content"));
            if (XmlCSS* element = XmlCSS::cast(content.get()))
                element->appendCSS(html);
        }
        html += QStringLiteral("</style>\n");
        html += QStringLiteral("<script language=\"JavaScript\" type=\"text/javascript\">\n"
                               "<!--\n"
                               "function rollOver (ident, normal, over) {\n"
                               "this.ident = ident;\n"
                               "this.normalImage = new Image();\n"
                               "this.normalImage.src = normal;\n"
                               "this.overImage = new Image();\n"
                               "this.overImage.src = over;\n"
                               "this.mouseOver = function () {\n"
                               "var image = document.getElementById(this.ident);\n"
                               "if (image) {\n"
                               "image.src = this.overImage.src;\n"
                               "}\n"
                               "}\n"
                               "this.mouseOut = function () {\n"
                               "var image = document.getElementById(this.ident);\n"
                               "if (image) {\n"
                               "image.src = this.normalImage.src;\n"
                               "}\n"
                               "}\n"
                               "}\n"
                               "// -->\n"
                               "</script>\n"
                               "</head>\n"
                               "<body>\n");
        const QString item = attributeEscape(_externalHTML);
        const QString size = QStringLiteral(" HEIGHT=\"") + QString::number(ih) + QStringLiteral("\" WIDTH=\"")
            + QString::number(iw) + QLatin1Char('"');
        if (_type == 2) {
            html += QStringLiteral("<div class=\"vornhtml\">") + htmlSnippet()->content() + QStringLiteral("</div>");
        } else if (_externalType == 1) {
            const QString autoplay = trueOrFalse(_autostart);
            const QString controller = trueOrFalse(_moviecontroller);
            html += QStringLiteral("<OBJECT CLASSID=\"clsid:02BF25D5-8C17-4B23-BC80-D3488ABDDC6B\" CODEBASE=\"")
                + QLatin1String(quickTimeCabinet) + QLatin1Char('"') + size + QStringLiteral(" >\n");
            html += QStringLiteral("<PARAM NAME=\"src\" VALUE=\"") + item + QStringLiteral("\" />\n");
            html += QStringLiteral("<PARAM NAME=\"AutoPlay\" VALUE=\"") + autoplay + QStringLiteral("\" />\n");
            html += QStringLiteral("<PARAM NAME=\"Controller\" VALUE=\"") + controller + QStringLiteral("\" />\n");
            html += QStringLiteral("<PARAM NAME=\"Loop\" VALUE=\"false\" />\n");
            html += QStringLiteral("<EMBED SRC=\"") + item + QLatin1Char('"') + size
                + QStringLiteral(" TYPE=\"video/quicktime\" PLUGINSPAGE=\"") + QLatin1String(quickTimeDownload)
                + QLatin1Char('"');
            html += QStringLiteral(" AUTOPLAY=\"") + autoplay + QStringLiteral("\" CONTROLLER=\"") + controller
                + QStringLiteral("\" LOOP=\"false\" />\n");
            html += QStringLiteral("</OBJECT>\n");
        } else if (_externalType == 2) {
            const QString loop = trueOrFalse(_loopmovie);
            const QString scale = scaleWord(_scale);
            html += QStringLiteral("<OBJECT classid=\"clsid:D27CDB6E-AE6D-11cf-96B8-444553540000\" codebase=\"")
                + QLatin1String(flashCabinet) + QStringLiteral("#version=6,0,40,0\"") + size + QStringLiteral(" >\n");
            html += QStringLiteral("<PARAM NAME=\"MOVIE\" VALUE=\"") + item + QStringLiteral("\" />\n");
            html += QStringLiteral("<PARAM NAME=\"PLAY\" VALUE=\"true\" />\n");
            html += QStringLiteral("<PARAM NAME=\"LOOP\" VALUE=\"") + loop + QStringLiteral("\" />\n");
            html += QStringLiteral("<PARAM NAME=\"MENU\" VALUE=\"false\" />\n");
            html += QStringLiteral("<PARAM NAME=\"QUALITY\" VALUE=\"Best\" />\n");
            html += QStringLiteral("<PARAM NAME=\"SCALE\" VALUE=\"") + scale + QStringLiteral("\" />\n");
            html += QStringLiteral("<EMBED SRC=\"") + item + QLatin1Char('"') + size;
            html += QStringLiteral(" PLAY=\"true\" LOOP=\"") + loop + QStringLiteral("\" MENU=\"false\" QUALITY=\"Best\"")
                + QStringLiteral(" SCALE=\"") + scale + QLatin1Char('"');
            html += QStringLiteral(" TYPE=\"application/x-shockwave-flash\" PLUGINSPAGE=\"")
                + QLatin1String(flashDownload) + QLatin1Char('"') + QStringLiteral(" />\n");
            html += QStringLiteral("</OBJECT>\n");
        } else if (_externalType == 3) {
            if (!_externalHTML.isEmpty())
                appendImage(html, false);
        }
        html += QStringLiteral("\n</body></html>");
        return html;
    });
}

// --- Canvas ------------------------------------------------------------------------------------

std::vector<XmlVornBox::Line> XmlVornBox::placeholderHatchLines(const lq::Rect& rect)
{
    const float x = rect.x();
    const float y = rect.y();
    const float width = rect.width();
    const float height = rect.height();
    std::vector<Line> lines;
    // Counted in whole steps, so that the distance always grows.
    for (qint64 step = 0;; ++step) {
        const float d = float(double(step) * hatchStep);
        if (!(d < width + height))
            break;
        Line line { lq::Point(x + d, y), lq::Point(x, y + d) };
        if (d > width)
            line.start = lq::Point(x + width, y + d - width);
        if (d > height)
            line.end = lq::Point(x + d - height, y + height);
        lines.push_back(line);
    }
    return lines;
}

void XmlVornBox::drawPlaceholder(const lq::Rect& rect)
{
    lq::GraphicsContext* context = lq::GraphicsContext::current();
    if (context) {
        lq::BezierPath hatching;
        for (const Line& line : placeholderHatchLines(rect)) {
            hatching.moveTo(line.start);
            hatching.lineTo(line.end);
        }
        hatching.setLineWidth(1.0f);
        const lq::GraphicsContext::SavedState saved;
        hatching.setLineDash({ 2, 2 }, 0);
        context->setStrokeColor(lq::Colour(1, 1, 0, 1));
        hatching.stroke();
        hatching.setLineDash({ 2, 2 }, 2);
        context->setStrokeColor(lq::Colour::black());
        hatching.stroke();
    }

    lq::ParagraphStyle paragraph = lq::ParagraphStyle::defaultStyle();
    paragraph.tabStops = lqTabStops();
    paragraph.alignment = lq::TextAlignment::Center;
    lq::TextAttributes attributes;
    attributes.paragraphStyle = paragraph;
    attributes.font = lq::Font::helvetica(13);
    attributes.foregroundColour = lq::Colour::black();
    _contents->setText(lq::StyledText(fullname() + QStringLiteral("\n") + _externalHTML, attributes));
    const lq::Rect inner = internalRect();
    _tc->setContainerSize(QSizeF(inner.width(), unbounded));
    const lq::Range glyphs = _lm->glyphRangeForTextContainer(_tc.get());
    if (glyphs.length == 0 || !context)
        return;
    const int labelHeight = lq::truncatedPixel(_lm->usedRectForTextContainer(_tc.get()).height());
    context->setFillColor(lq::Colour::white());
    context->fillRect(lq::Rect(inner.x(), inner.y(), inner.width(), float(labelHeight)));
    _lm->drawGlyphsForGlyphRange(glyphs, inner.origin.toQPointF(), &context->painter());
}

void XmlVornBox::drawObject(const lq::Rect& rect)
{
    lq::modelFrame(this, "drawObject:", [&] {
        XmlWebText::drawObject(rect);
        createTextLayoutStuff();
        if (_type == 1 || _type == 3)
            return;
        if (requiresView()) {
            DocumentBase* document = myDocument();
            if (lq::PreviewView* view = document ? document->getWidgetView(_vornSeqNum) : nullptr)
                view->setNeedsDisplay();
            return;
        }
        drawPlaceholder(rect);
    });
}

void XmlVornBox::drawText()
{
    lq::modelFrame(this, "drawText", [&] {
        if (_type == 1)
            XmlWebText::drawText();
    });
}

void XmlVornBox::showLinkColour(const QString& data, bool hover, bool clicked)
{
    if (!_contents || !_lm)
        return;
    const lq::Range range = lq::Range::fromString(data);
    if (range.length == 0 || range.end() > _contents->length())
        return;
    if (hover || clicked) {
        const int kind = _contents->attributesAt(range.location).value(lq::TextKey::type).toInt();
        const std::shared_ptr<XmlWebFont> record = contentRecord(kind >= 1 && kind <= 3 ? kind : 0);
        if (record)
            _lm->addTemporaryForegroundColour(clicked ? record->linkClicked() : record->linkHover(), range);
    } else {
        _lm->removeTemporaryForegroundColour(range);
    }
    if (DocumentBase* document = myDocument())
        document->redisplayRect(objectRect());
}

void XmlVornBox::mouseEntered(const QString& data)
{
    lq::modelFrame(this, "mouseEntered:", [&] { showLinkColour(data, true, false); });
}

void XmlVornBox::mouseExited(const QString& data)
{
    lq::modelFrame(this, "mouseExited:", [&] { showLinkColour(data, false, false); });
}

void XmlVornBox::mouseDown(const QString& data)
{
    lq::modelFrame(this, "mouseDown:", [&] { showLinkColour(data, false, true); });
}

void XmlVornBox::mouseClick(const QString& data)
{
    lq::modelFrame(this, "mouseClick:", [&] {
        if (!_contents)
            return;
        const lq::Range range = lq::Range::fromString(data);
        if (range.location >= _contents->length())
            return;
        const QVariant location = _contents->attributesAt(range.location).value(lq::TextKey::linkLocation);
        if (!location.isValid())
            return;
        XmlWebText::mouseClick(location.toString());
    });
}

// --- Template CSS ------------------------------------------------------------------------------

void XmlVornBox::appendCSS(QString& css)
{
    lq::modelFrame(this, "appendCSS:", [&] {
        css += QStringLiteral("div#vorn") + QString::number(_vornSeqNum) + QStringLiteral(" {");
        css += QStringLiteral("margin: 0px; display: block; position: absolute; ");
        appendCSSBorders(css);
        appendCSSBackground(css);
        if (_type == 0 && _externalType == 3)
            css += QStringLiteral("overflow: hidden; ");
        if (_type == 3)
            css += QStringLiteral("overflow: hidden; ");
        if (_type == 3 && getCorrectPass() == 16)
            css += QStringLiteral("z-index:100; ");
        css += QStringLiteral("}\n");
    });
}

void XmlVornBox::appendCSSWinIESuffix(QString& css, const QString& suffix)
{
    lq::modelFrame(this, "appendCSSWinIE:suffix:", [&] {
        appendCSSWinIEBackgroundTagSuffix(css, QStringLiteral("div#vorn") + QString::number(_vornSeqNum), suffix);
    });
}

// --- Page HTML ---------------------------------------------------------------------------------

void XmlVornBox::appendHTMLPagePassSheet(QString& html, XmlBase*, int pass, XmlStyleSheet*)
{
    lq::modelFrame(this, "appendHTML:page:pass:sheet:", [&] {
        const int myPass = _type == 3 ? getCorrectPass() : 16;
        if (pass != myPass)
            return;
        const QString n = QString::number(_vornSeqNum);
        const QString id = QStringLiteral("vorn") + n;
        if (_type == 1 || _type == 3) {
            html += htmlDivTagsVornStyle(id, QString());
            if (_type == 3)
                return;
            html += QStringLiteral("<div class=\"content\">");
            if (_lm) {
                const lq::Rect inner = internalRect();
                appendHTMLFromLayoutManagerOffset(html, _lm.get(), inner.origin);
            }
            html += QStringLiteral("</div>\n");
            return;
        }

        const int width = calcWidth() - _bl - _br;
        const int height = calcHeight() - _bt - _bb;
        const QString outer = QString::asprintf("<div id=\"vorn%d\" style=\"top: %dpx; left: %dpx; width: %dpx; height: %dpx;\">",
                                                _vornSeqNum, calcTop(), calcLeft(), width, height);
        const QString padded = QString::asprintf(" style=\"padding: %dpx %dpx %dpx %dpx;\">", _pt, _pr, _pb, _pl);

        if (_type == 2) {
            html += outer + QStringLiteral("<div class=\"vornhtml\"") + padded;
            html += htmlSnippet()->content();
            html += QStringLiteral("</div></div>\n");
            return;
        }

        if (_externalType == 0) {
            html += outer;
            html += QStringLiteral("<iframe id=\"ivorn") + n + QStringLiteral("\" frameborder=\"0\" height=\"")
                + QString::number(height) + QStringLiteral("\" scrolling=\"")
                + (_scrollbars ? QStringLiteral("yes") : QStringLiteral("no")) + QStringLiteral("\" src=\"")
                + attributeEscape(_externalHTML) + QStringLiteral("\" width=\"") + QString::number(width)
                + QStringLiteral("\">This browser does not support iframes</iframe>\n");
            html += QStringLiteral("</div>\n");
            return;
        }

        html += outer + QStringLiteral("<div id=\"xvorn") + n + QStringLiteral("\" class=\"vornhtml\"") + padded;
        const QString script = QStringLiteral("<script language=\"Javascript\" type=\"text/javascript\">\n");
        const QString target = QStringLiteral("'xvorn") + n + QStringLiteral("', '") + scriptString(_externalHTML)
            + QStringLiteral("', '") + QString::number(internalWidth()) + QStringLiteral("', '")
            + QString::number(internalHeight()) + QStringLiteral("', '");
        switch (_externalType) {
        case 1:
            html += QStringLiteral("</div></div>\n") + script;
            html += QStringLiteral("insertQuicktime(") + target + trueOrFalse(_autostart) + QStringLiteral("', '")
                + trueOrFalse(_moviecontroller) + QStringLiteral("', '") + trueOrFalse(_loopmovie)
                + QStringLiteral("', '") + trueOrFalse(_hiddenQT != 0) + QStringLiteral("');\n");
            html += QStringLiteral("</script>\n");
            break;
        case 2:
            html += QStringLiteral("</div></div>\n") + script;
            html += QStringLiteral("insertFlash(") + target + trueOrFalse(_loopmovie) + QStringLiteral("', '")
                + scaleWord(_scale) + QStringLiteral("', '") + colorToCSSString(bkgndColor())
                + QStringLiteral("');\n");
            html += QStringLiteral("</script>\n");
            break;
        case 3:
            if (!_externalHTML.isEmpty())
                appendImage(html, true);
            html += QStringLiteral("</div></div>\n");
            break;
        default:
            // An unknown kind of item: the divisions are still closed.
            html += QStringLiteral("</div></div>\n");
            break;
        }
    });
}
