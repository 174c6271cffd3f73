#include "elements/XmlWebPhotoAlbum.h"

#include "templates/XmlPictureFrame.h"
#include "elements/XmlSlideshow.h"
#include "model/core/DocumentBase.h"
#include "model/site/XmlAlbum.h"
#include "model/site/XmlCaption.h"
#include "model/site/XmlGroup.h"
#include "model/site/XmlHomePage.h"
#include "model/site/XmlPayPalCommon.h"
#include "model/site/XmlPayPalData.h"
#include "model/site/XmlPhoto.h"
#include "model/site/XmlSite.h"
#include "platform/Exception.h"
#include "platform/ExceptionFrame.h"
#include "platform/Image.h"
#include "platform/Log.h"
#include "platform/Resources.h"
#include "platform/Workspace.h"
#include "platform/graphics/GraphicsContext.h"
#include "platform/text/LayoutManager.h"
#include "platform/text/StyledText.h"
#include "platform/text/TextContainer.h"
#include "templates/XmlStyleSheet.h"
#include "templates/XmlWebFont.h"

#include <QFile>
#include <QImage>
#include <QPainter>
#include <QUrl>

#include <algorithm>
#include <cmath>
#include <typeinfo>

namespace {

// The strip at the right and the bottom that a drop shadow takes.
constexpr int shadowStrip = 8;

// A caption's container is as tall as any caption can be.
constexpr qreal unbounded = 1000000.0;

const QString defaultPayPalText = QStringLiteral("{DESCRIPTION}\n${PRICE}\n");
const QString defaultCollage = QStringLiteral("3,600,200,0,2|{{0, 0}, {199, 200}}|{{201, 0}, {198, 200}}|{{401, 0}, {199, 200}}");

float toFloat(int value)
{
    return static_cast<float>(value);
}

int truncated(float value)
{
    return lq::truncatedPixel(value);
}

// The collage picker's layouts, by photos x 3 + style.
const char* const collageLayouts[27] = {
    "", "", "",
    "0,100 | 0,100 | 0,1,0,1 ",
    "0,100 | 0,100 | 0,1,0,1 ",
    "0,100 | 0,100 | 0,1,0,1 ",
    "0,50,100 | 0,100 | 0,1,0,1 | 1,2,0,1",
    "0,100 | 0,50,100 | 0,1,0,1 | 0,1,1,2",
    "0,66.6,100 | 0,100 | 0,1,0,1 | 1,2,0,1",
    "0,33.3,66.6,100 | 0,100 | 0,1,0,1 | 1,2,0,1 | 2,3,0,1",
    "0,50,100 | 0,50,100 | 0,1,0,2 | 1,2,0,1 | 1,2,1,2",
    "0,50,75,100 | 0,100 | 0,1,0,1 | 1,2,0,1 | 2,3,0,1",
    "0,25,50,75,100 | 0,100 | 0,1,0,1 | 1,2,0,1 | 2,3,0,1 | 3,4,0,1",
    "0,50,75,100 | 0,50,100 | 0,1,0,2 | 1,2,0,1 | 2,3,0,1 | 1,3,1,2",
    "0,50,75,100 | 0,50,100 | 0,1,0,2 | 1,2,0,1 | 2,3,0,2 | 1,2,1,2",
    "0,50,75,100 | 0,50,100 | 0,1,0,2 | 1,2,0,1 | 2,3,0,1 | 1,2,1,2 | 2,3,1,2 ",
    "0,25,50,75,100 | 0,50,100 | 0,1,0,2 | 1,2,0,2 | 2,3,0,2 | 3,4,0,1 | 3,4,1,2 ",
    "0,50,75,100 | 0,33.3,66.6,100 | 0,1,0,3 | 1,2,0,3 | 2,3,0,1 | 2,3,1,2 | 2,3,2,3 ",
    "0,50,75,100 | 0,33.3,50,66.6,100 | 0,1,0,4 | 1,2,0,2 | 1,2,2,4 | 2,3,0,1 | 2,3,1,3 | 2,3,3,4 ",
    "0,25,75,100 | 0,33.3,50,66.6,100 | 0,1,0,2 | 0,1,2,4 | 1,2,0,4 | 2,3,0,1 | 2,3,1,3 | 2,3,3,4 ",
    "0,25,50,75,100 | 0,50,100 | 0,1,0,2 | 1,2,0,1 | 1,2,1,2 | 2,3,0,1 | 2,3,1,2 | 3,4,0,2 ",
    "0,50,75,100 | 0,33.3,66.6,100 | 0,1,0,3 | 1,2,0,1 | 1,2,1,2 | 1,2,2,3 | 2,3,0,1 | 2,3,1,2 | 2,3,2,3",
    "0,25,75,100 | 0,33.3,66.6,100 | 0,1,0,1 | 0,1,1,2 | 0,1,2,3 | 1,2,0,3 | 2,3,0,1 | 2,3,1,2 | 2,3,2,3",
    "0,40,60,80,100 | 0,33.3,50,66.6,100 | 0,1,0,4 | 1,3,0,2 | 1,2,2,4 | 2,3,2,4 | 3,4,0,1 | 3,4,1,3 | 3,4,3,4",
    "0,25,50,75,100 | 0,50,100 | 0,1,0,1 | 0,1,1,2 | 1,2,0,1 | 1,2,1,2 | 2,3,0,1 | 2,3,1,2 | 3,4,0,1 | 3,4,1,2",
    "0,33,66,100 | 0,33,50,66,100 | 0,1,0,1 | 0,1,1,3 | 0,1,3,4 | 1,2,0,2 | 1,2,2,4 | 2,3,0,1 | 2,3,1,3 | 2,3,3,4",
    "0,33,50,66,100 | 0,33,66,100 | 0,1,0,1 | 1,3,0,1 | 3,4,0,1 | 0,2,1,2 | 2,4,1,2 | 0,1,2,3 | 1,3,2,3 | 3,4,2,3",
};

XmlPhoto* photoAt(const XmlBaseList& photos, int index)
{
    if (index < 0 || index >= photos.size())
        return nullptr;
    return XmlPhoto::cast(photos.at(index).get());
}

// Clears the selected floating photo while it lives, so that the geometry
// is the box's own (the collage box in mode 2), and puts it back.
class WithoutSelection {
public:
    explicit WithoutSelection(int& current)
        : _current(current)
        , _saved(current)
    {
        _current = -1;
    }
    ~WithoutSelection() { _current = _saved; }
    WithoutSelection(const WithoutSelection&) = delete;
    WithoutSelection& operator=(const WithoutSelection&) = delete;

private:
    int& _current;
    int _saved;
};

bool isExactlyAlbum(XmlBase* page)
{
    return page && typeid(*page) == typeid(XmlAlbum);
}

bool isExactlyGroup(XmlBase* page)
{
    return page && typeid(*page) == typeid(XmlGroup);
}

} // namespace

// --- Hot rectangles ------------------------------------------------------------------------------

QString XmlWebPhotoAlbum::HotArea::toString() const
{
    QString data = type + QLatin1Char('|') + QString::number(index);
    if (!range.isEmpty())
        data += QLatin1Char('|') + range;
    return data;
}

XmlWebPhotoAlbum::HotArea XmlWebPhotoAlbum::HotArea::fromString(const QString& data)
{
    const QStringList parts = data.split(QLatin1Char('|'));
    HotArea area;
    area.type = parts.value(0);
    area.index = parts.value(1).toInt();
    area.range = parts.value(2);
    return area;
}

// --- Element protocol ------------------------------------------------------------------------------

XmlWebPhotoAlbum::XmlWebPhotoAlbum(Key key)
    : XmlWebText(key)
{
    _absolute = true;
    _widthFixed = false;
    _heightFixed = false;
    _visibleInSlideshow = 0;
    _frame = XmlPictureFrame::create();
    _frame->setParent(this);
    _buttonImage = XmlCSSBackground::create();
    _buttonImage->setParent(this);
    _buttonImage->setElementOverride(QStringLiteral("buttonImage"));
    // Only the stored string and its parts: no document to mark yet.
    _collageString = defaultCollage;
    _collageRects = _collageString.split(QLatin1Char('|'));
}

XmlWebPhotoAlbum::~XmlWebPhotoAlbum()
{
    // The owned parts may outlive the album in other hands; they must not point back at it.
    _frame->setParent(nullptr);
    _buttonImage->setParent(nullptr);
    for (XmlBase* part : { _thumbnailText.get(), _slideshowText.get(), _buttonHTML.get() }) {
        if (part)
            part->setParent(nullptr);
    }
}

std::shared_ptr<XmlWebPhotoAlbum> XmlWebPhotoAlbum::create()
{
    return make<XmlWebPhotoAlbum>();
}

QString XmlWebPhotoAlbum::elementName() const
{
    return QStringLiteral("cssPhotoAlbum");
}

QString XmlWebPhotoAlbum::uniquename() const
{
    return QStringLiteral("album");
}

bool XmlWebPhotoAlbum::enabled()
{
    return true;
}

bool XmlWebPhotoAlbum::canDoubleClick()
{
    return false;
}

void XmlWebPhotoAlbum::appendAttributes(QString& xml)
{
    lq::modelFrame(this, "appendAttributes:", [&] {
        // The box's own geometry is written, not that of a selected floating photo.
        _currentPhoto = -1;
        XmlWebText::appendAttributes(xml);
        calcPhotoAlbum();
        xml += QString::asprintf(" taspect=\"%d\"", _thumbAspect);
        xml += QString::asprintf(" twidth=\"%d\" theight=\"%d\"", _thumbWidth, _thumbHeight);
        xml += QString::asprintf(" cols=\"%d\" rows=\"%d\"", _numCols, _numRows);
        xml += QString::asprintf(" hspace=\"%d\" vspace=\"%d\"", _spaceColumns, _spaceRows);
        xml += QString::asprintf(" showcaptions=\"%d\"", int(_showCaptions));
        xml += QString::asprintf(" showtooltips=\"%d\"", int(_showToolTips));
        xml += QString::asprintf(" click=\"%d\"", _clickOp);
        xml += QString::asprintf(" cabove=\"%d\"", int(_captionsAbove));
        xml += QString::asprintf(" cspace=\"%d\"", int(_captionSpace));
        xml += QString::asprintf(" after=\"%d\"", _afterDescription);
        xml += QString::asprintf(" asf=\"%d\"", _autoCropFreestyle);
        if (_fs_hasCollage)
            xml += QStringLiteral(" collage=\"") + escape(_collageString) + QLatin1Char('"');
        if (_afterDescription == 2)
            xml += QStringLiteral(" floating=\"") + escape(floatingString()) + QLatin1Char('"');
        xml += QString::asprintf(" carttype=\"%d\" buttontype=\"%d\"", _cartType, _buttonType);
        xml += QString::asprintf(" buttonwidth=\"%d\" buttonheight=\"%d\"", _buttonWidth, _buttonHeight);
        xml += QString::asprintf(" thumbcaption=\"%d\" slidecaption=\"%d\"", _thumbnailCaption, _slideshowCaption);
        xml += QString::asprintf(" thumbbutton=\"%d\" slidebutton=\"%d\"", _thumbnailButton, _slideshowButton);
    });
}

void XmlWebPhotoAlbum::setAttributeTo(const QString& key, const QString& value)
{
    lq::modelFrame(this, "setAttribute:to:", [&] {
        _currentPhoto = -1;
        const int number = value.toInt();
        // The flags take the value's low byte.
        const bool flag = (number & 0xff) != 0;
        if (key == u"twidth")
            setThumbWidth(number);
        else if (key == u"theight")
            setThumbHeight(number);
        else if (key == u"cols")
            setCols(number);
        else if (key == u"rows")
            setRows(number);
        else if (key == u"hspace")
            setSpaceColumns(number);
        else if (key == u"vspace")
            setSpaceRows(number);
        else if (key == u"showcaptions")
            setShowCaptions(flag);
        else if (key == u"showtooltips")
            setShowToolTips(flag);
        else if (key == u"click")
            setClickOp(number);
        else if (key == u"taspect")
            setThumbAspect(number);
        else if (key == u"cabove")
            setCaptionsAbove(flag);
        else if (key == u"cspace")
            setCaptionSpace(number);
        else if (key == u"after")
            setAfterDescription(number);
        else if (key == u"collage") {
            setHasCollage(1);
            setCollageString(value);
        } else if (key == u"floating")
            setFloatingString(value);
        else if (key == u"asf")
            setAutoCropFreestyle(number);
        else if (key == u"carttype")
            setCartType(number);
        else if (key == u"buttontype")
            setButtonType(number);
        else if (key == u"buttonwidth")
            setButtonWidth(number);
        else if (key == u"buttonheight")
            setButtonHeight(number);
        else if (key == u"thumbcaption")
            setThumbnailCaption(number);
        else if (key == u"thumbbutton")
            setThumbnailButton(number);
        else if (key == u"slidecaption")
            setSlideshowCaption(number);
        else if (key == u"slidebutton")
            setSlideshowButton(number);
        else
            XmlWebText::setAttributeTo(key, value);
    });
}

XmlBasePtr XmlWebPhotoAlbum::createChildFromTag(const QString& tag)
{
    return lq::modelFrame(this, "createChildFromTag:", [&]() -> XmlBasePtr {
        // The reader fills the album's own parts; the box takes no such
        // child, so none is attached a second time.
        if (tag == u"cssPictureFrame")
            return _frame;
        if (tag == u"thumbnailText")
            return thumbnailText()->sharedFromThis();
        if (tag == u"slideshowText")
            return slideshowText()->sharedFromThis();
        if (tag == u"buttonHTML")
            return buttonHTML()->sharedFromThis();
        if (tag == u"buttonImage")
            return _buttonImage;
        return XmlWebText::createChildFromTag(tag);
    });
}

QString XmlWebPhotoAlbum::writeXmlVorns()
{
    return lq::modelFrame(this, "writeXmlVorns", [&] {
        QString xml = XmlWebText::writeXmlVorns();
        if (xml.isNull())
            xml = QStringLiteral("");
        _frame->writeXmlInString(xml);
        thumbnailText()->writeXmlInString(xml);
        slideshowText()->writeXmlInString(xml);
        buttonHTML()->writeXmlInString(xml);
        _buttonImage->writeXmlInString(xml);
        return xml;
    });
}

void XmlWebPhotoAlbum::postload()
{
    lq::modelFrame(this, "postload", [&] {
        _frame->postload();
        XmlWebText::postload();
    });
}

// --- Settings --------------------------------------------------------------------------------------

void XmlWebPhotoAlbum::setInt(int& field, int value)
{
    field = value;
    docChanged();
}

void XmlWebPhotoAlbum::setFlag(bool& field, bool value)
{
    field = value;
    docChanged();
}

void XmlWebPhotoAlbum::setThumbWidth(int width) { lq::modelFrame(this, "setThumbWidth:", [&] { setInt(_thumbWidth, width); }); }
void XmlWebPhotoAlbum::setThumbHeight(int height) { lq::modelFrame(this, "setThumbHeight:", [&] { setInt(_thumbHeight, height); }); }
void XmlWebPhotoAlbum::setThumbAspect(int aspect) { lq::modelFrame(this, "setThumbAspect:", [&] { setInt(_thumbAspect, aspect); }); }
void XmlWebPhotoAlbum::setCols(int cols) { lq::modelFrame(this, "setCols:", [&] { setInt(_numCols, cols); }); }
void XmlWebPhotoAlbum::setRows(int rows) { lq::modelFrame(this, "setRows:", [&] { setInt(_numRows, rows); }); }
void XmlWebPhotoAlbum::setSpaceColumns(int space) { lq::modelFrame(this, "setSpaceColumns:", [&] { setInt(_spaceColumns, space); }); }
void XmlWebPhotoAlbum::setSpaceRows(int space) { lq::modelFrame(this, "setSpaceRows:", [&] { setInt(_spaceRows, space); }); }
void XmlWebPhotoAlbum::setShowCaptions(bool show) { lq::modelFrame(this, "setShowCaptions:", [&] { setFlag(_showCaptions, show); }); }
void XmlWebPhotoAlbum::setShowToolTips(bool show) { lq::modelFrame(this, "setShowToolTips:", [&] { setFlag(_showToolTips, show); }); }
void XmlWebPhotoAlbum::setClickOp(int op) { lq::modelFrame(this, "setClickOp:", [&] { setInt(_clickOp, op); }); }
void XmlWebPhotoAlbum::setCaptionsAbove(bool above) { lq::modelFrame(this, "setCaptionsAbove:", [&] { setFlag(_captionsAbove, above); }); }
void XmlWebPhotoAlbum::setAfterDescription(int mode) { lq::modelFrame(this, "setAfterDescription:", [&] { setInt(_afterDescription, mode); }); }
void XmlWebPhotoAlbum::setAutoCropFreestyle(int crop) { lq::modelFrame(this, "setAutoCropFreestyle:", [&] { setInt(_autoCropFreestyle, crop); }); }
void XmlWebPhotoAlbum::setHasCollage(int has) { lq::modelFrame(this, "setHasCollage:", [&] { setInt(_fs_hasCollage, has); }); }
void XmlWebPhotoAlbum::setCartType(int type) { lq::modelFrame(this, "setCartType:", [&] { setInt(_cartType, type); }); }
void XmlWebPhotoAlbum::setButtonType(int type) { lq::modelFrame(this, "setButtonType:", [&] { setInt(_buttonType, type); }); }
void XmlWebPhotoAlbum::setButtonWidth(int width) { lq::modelFrame(this, "setButtonWidth:", [&] { setInt(_buttonWidth, width); }); }
void XmlWebPhotoAlbum::setButtonHeight(int height) { lq::modelFrame(this, "setButtonHeight:", [&] { setInt(_buttonHeight, height); }); }
void XmlWebPhotoAlbum::setThumbnailCaption(int on) { lq::modelFrame(this, "setThumbnailCaption:", [&] { setInt(_thumbnailCaption, on); }); }
void XmlWebPhotoAlbum::setThumbnailButton(int on) { lq::modelFrame(this, "setThumbnailButton:", [&] { setInt(_thumbnailButton, on); }); }
void XmlWebPhotoAlbum::setSlideshowCaption(int on) { lq::modelFrame(this, "setSlideshowCaption:", [&] { setInt(_slideshowCaption, on); }); }
void XmlWebPhotoAlbum::setSlideshowButton(int on) { lq::modelFrame(this, "setSlideshowButton:", [&] { setInt(_slideshowButton, on); }); }

void XmlWebPhotoAlbum::setCaptionSpace(int space)
{
    lq::modelFrame(this, "setCaptionSpace:", [&] {
        // A signed byte, as stored.
        _captionSpace = static_cast<qint8>(space);
        docChanged();
    });
}

// --- Owned parts -------------------------------------------------------------------------------------

XmlBase* XmlWebPhotoAlbum::textPart(std::shared_ptr<XmlBase>& part, const char* tag, const QString& content)
{
    if (!part) {
        part = XmlBase::create();
        part->setElementOverride(QLatin1String(tag));
        part->setParent(this);
        part->setHaveContent(true);
        // Text read from a file takes the place of the default.
        if (!content.isEmpty())
            part->setDefaultContent(content);
    }
    return part.get();
}

XmlBase* XmlWebPhotoAlbum::thumbnailText()
{
    return textPart(_thumbnailText, "thumbnailText", defaultPayPalText);
}

XmlBase* XmlWebPhotoAlbum::slideshowText()
{
    return textPart(_slideshowText, "slideshowText", defaultPayPalText);
}

XmlBase* XmlWebPhotoAlbum::buttonHTML()
{
    return textPart(_buttonHTML, "buttonHTML", QString());
}

void XmlWebPhotoAlbum::setDefaultThumbnailText()
{
    lq::modelFrame(this, "setDefaultThumbnailText", [&] { thumbnailText()->setContent(defaultPayPalText); });
}

void XmlWebPhotoAlbum::setDefaultSlideshowText()
{
    lq::modelFrame(this, "setDefaultSlideshowText", [&] { slideshowText()->setContent(defaultPayPalText); });
}

void XmlWebPhotoAlbum::setDefaultButtonHTML()
{
    lq::modelFrame(this, "setDefaultButtonHTML", [&] {
        if (_cartType != 1 && _cartType != 2)
            return;
        const bool buyNow = _cartType == 1;
        QString form = QStringLiteral("<form target=\"paypal\" action=\"") + XmlPayPalCommon::paymentEndpoint()
            + QStringLiteral("\" method=\"post\">\n");
        form += buyNow ? QStringLiteral("<div style=\"display: block; width: 86px; position: relative; margin: 0 auto;\">\n")
                       : QStringLiteral("<div style=\"display: block; width: 96px; position: relative; margin: 0 auto;\">\n");
        form += QStringLiteral("<input type=\"image\" src=\"bitmaps/") + (buyNow ? QStringLiteral("buynow.png") : QStringLiteral("addtocart.png"))
            + QStringLiteral("\" border=\"0\" name=\"submit\" alt=\"PayPal - The safer, easier way to pay online!\">\n");
        form += QStringLiteral("</div>\n");
        if (buyNow) {
            form += QStringLiteral("<input type=\"hidden\" name=\"cmd\" value=\"_xclick\">\n");
        } else {
            form += QStringLiteral("<input type=\"hidden\" name=\"add\" value=\"1\">\n");
            form += QStringLiteral("<input type=\"hidden\" name=\"cmd\" value=\"_cart\">\n");
        }
        form += QStringLiteral("<input type=\"hidden\" name=\"business\" value=\"{ACCOUNT}\">\n");
        form += QStringLiteral("<input type=\"hidden\" name=\"item_name\" value=\"{DESCRIPTION}\">\n");
        form += QStringLiteral("<input type=\"hidden\" name=\"amount\" value=\"{PRICE}\">\n");
        form += QStringLiteral("<input type=\"hidden\" name=\"currency_code\" value=\"{CURRENCY}\">\n");
        form += buyNow ? QStringLiteral("<input type=\"hidden\" name=\"bn\" value=\"PP-BuyNowBF\">\n")
                       : QStringLiteral("<input type=\"hidden\" name=\"bn\" value=\"PP-ShopCartBF\">\n");
        form += QStringLiteral("{MORE}");
        form += QStringLiteral("</form>\n");
        buttonHTML()->setContent(form);
    });
}

// --- Collage -------------------------------------------------------------------------------------------

void XmlWebPhotoAlbum::setCollageString(const QString& collage)
{
    lq::modelFrame(this, "setCollageString:", [&] {
        _collageString = collage;
        _collageRects = collage.split(QLatin1Char('|'));
        const QStringList header = _collageRects.value(0).split(QLatin1Char(','));
        _fs_numberPhotos = header.value(0).trimmed().toInt();
        _fs_width = header.value(1).trimmed().toInt();
        _fs_height = header.value(2).trimmed().toInt();
        _fs_allowPhotos = header.size() > 5 ? header.value(5).trimmed().toInt() : 0;
        docChanged();
    });
}

lq::Rect XmlWebPhotoAlbum::collageRect(int cell) const
{
    if (cell < 0 || cell + 1 >= _collageRects.size())
        return {};
    return lq::Rect::fromString(_collageRects.at(cell + 1));
}

QString XmlWebPhotoAlbum::collageLayout(int photos, int style)
{
    if (photos < 0 || photos > 8 || style < 0 || style > 2)
        return QString();
    return QString::fromLatin1(collageLayouts[photos * 3 + style]);
}

QStringList XmlWebPhotoAlbum::collagePreviewCells(const QString& layout, int width, int height, int spacing)
{
    return lq::classFrame("XmlWebPhotoAlbum +collagePreviewCells", [&] {
        QStringList cells;
        const QStringList parts = layout.split(QLatin1Char('|'));
        if (parts.size() < 2)
            return cells;
        const auto lines = [](const QString& part) {
            std::vector<double> values;
            for (const QString& value : part.split(QLatin1Char(',')))
                values.push_back(value.trimmed().toDouble());
            return values;
        };
        const std::vector<double> xs = lines(parts.at(0));
        const std::vector<double> ys = lines(parts.at(1));
        const double w = width + spacing;
        const double h = height + spacing;
        const auto at = [](const std::vector<double>& values, int index) {
            return index >= 0 && index < static_cast<int>(values.size()) ? values[static_cast<std::size_t>(index)] : 0.0;
        };
        for (qsizetype i = 2; i < parts.size(); ++i) {
            const QStringList fields = parts.at(i).split(QLatin1Char(','));
            if (fields.size() != 4)
                continue;
            const int c0 = fields.at(0).trimmed().toInt();
            const int c1 = fields.at(1).trimmed().toInt();
            const int r0 = fields.at(2).trimmed().toInt();
            const int r1 = fields.at(3).trimmed().toInt();
            const double x = std::ceil(at(xs, c0) * w / 100.0);
            const double right = std::min(std::ceil(at(xs, c1) * w / 100.0), w);
            const double y = std::ceil(at(ys, r0) * h / 100.0);
            const double bottom = std::min(std::ceil(at(ys, r1) * h / 100.0), h);
            cells.append(rectToString(lq::Rect(static_cast<float>(x), static_cast<float>(y),
                                               static_cast<float>(right - x - spacing),
                                               static_cast<float>(bottom - y - spacing))));
        }
        return cells;
    });
}

QString XmlWebPhotoAlbum::collageStringFor(int photos, int width, int height, int style, int spacing, int allowPhotos)
{
    QStringList parts;
    parts.append(QString::asprintf("%d,%d,%d,%d,%d,%d", photos, width, height, style, spacing, allowPhotos));
    parts.append(collagePreviewCells(collageLayout(photos, style), width, height, spacing));
    return parts.join(QLatin1Char('|'));
}

// --- Floating photos -------------------------------------------------------------------------------------

QString XmlWebPhotoAlbum::floatingString() const
{
    return _floatingRects.join(QLatin1Char('|'));
}

void XmlWebPhotoAlbum::setFloatingString(const QString& floating)
{
    // An album without floating photos writes an empty list: it reads back
    // as no rectangle, not as one empty rectangle.
    _floatingRects = floating.isEmpty() ? QStringList() : floating.split(QLatin1Char('|'));
}

lq::Rect XmlWebPhotoAlbum::floatingRect(int index) const
{
    if (index < 0 || index >= _floatingRects.size())
        return {};
    return lq::Rect::fromString(_floatingRects.at(index));
}

void XmlWebPhotoAlbum::setFloatingRectForIndex(const lq::Rect& rect, int index)
{
    lq::modelFrame(this, "setFloatingRect:forIndex:", [&] {
        if (index < 0 || index >= _floatingRects.size())
            return;
        _floatingRects[index] = rectToString(rect);
        docChanged();
    });
}

void XmlWebPhotoAlbum::addFloatingRect(const lq::Rect& rect)
{
    lq::modelFrame(this, "addFloatingRect:", [&] {
        _floatingRects.append(rectToString(rect));
        docChanged();
    });
}

void XmlWebPhotoAlbum::removeFloatingRect()
{
    if (!_floatingRects.isEmpty())
        _floatingRects.removeLast();
}

void XmlWebPhotoAlbum::setNumFloatingRects(int count)
{
    lq::modelFrame(this, "setNumFloatingRects:", [&] {
        while (numFloatingRects() < count)
            addFloatingRect(calcRawRect(numFloatingRects()));
        while (numFloatingRects() > std::max(count, 0))
            removeFloatingRect();
    });
}

lq::Rect XmlWebPhotoAlbum::calcRawRect(int index)
{
    return lq::Rect(toFloat((index % 6) * 100 + 100), toFloat((index / 6) * 100 + 100), toFloat(_thumbWidth),
                    toFloat(_thumbHeight));
}

lq::Rect XmlWebPhotoAlbum::calcRawAfterRectTop(int index, int top)
{
    return lq::modelFrame(this, "calcRawAfterRect:top:", [&] {
        calcPhotoAlbum();
        const int row = _numCols > 0 ? index / _numCols : 0;
        const int column = _numCols > 0 ? index % _numCols : 0;
        return lq::Rect(toFloat(left2() + (_photoWidth + _spaceColumns) * column),
                        toFloat((_photoHeight + _spaceRows) * row + top), toFloat(_thumbWidth), toFloat(_thumbHeight));
    });
}

// --- Derived settings ----------------------------------------------------------------------------------------

XmlBaseList XmlWebPhotoAlbum::currentPhotos() const
{
    const std::shared_ptr<XmlAlbum> page = getCurrentAlbum();
    return page ? page->photoObjects() : XmlBaseList();
}

bool XmlWebPhotoAlbum::baseVisibility()
{
    return lq::modelFrame(this, "baseVisibility", [&] {
        if (currentPhotos().isEmpty())
            return false;
        return XmlWebText::baseVisibility();
    });
}

bool XmlWebPhotoAlbum::visible()
{
    return lq::modelFrame(this, "visible", [&] {
        if (currentPhotos().isEmpty())
            return false;
        return XmlWebText::visible();
    });
}

void XmlWebPhotoAlbum::setVisibleInSlideshow(bool)
{
    // The album never shows on a slideshow page.
    _visibleInSlideshow = 0;
    docChanged();
}

bool XmlWebPhotoAlbum::firstLine()
{
    return _cartType != 0 ? false : XmlWebText::firstLine();
}

QString XmlWebPhotoAlbum::thumbSizeString() const
{
    const QString kind = _thumbAspect == 0   ? QStringLiteral("Same Size")
                         : _thumbAspect == 1 ? QStringLiteral("Same Aspect")
                                             : QStringLiteral("Centered Thumbnail");
    return QString::asprintf("%d x %d\n", _thumbWidth, _thumbHeight) + kind;
}

XmlSlideshow* XmlWebPhotoAlbum::slideshow() const
{
    XmlStyleSheet* sheet = XmlStyleSheet::cast(parent());
    if (!sheet)
        return nullptr;
    return XmlSlideshow::cast(sheet->getElementWithName(QStringLiteral("Slideshow")).get());
}

bool XmlWebPhotoAlbum::beforeAfter() const
{
    return lq::modelFrame(this, "beforeAfter", [&] {
        if (_clickOp != 0 && _clickOp != 4)
            return false;
        XmlSlideshow* show = slideshow();
        return show && show->style() != 0 && show->style() != 1;
    });
}

bool XmlWebPhotoAlbum::thumbrollovers() const
{
    return beforeAfter() && slideshow()->thumbRollovers();
}

bool XmlWebPhotoAlbum::reverseThumbrollovers()
{
    return beforeAfter() && slideshow()->reverseThumbs();
}

int XmlWebPhotoAlbum::firstPictureInSlideshow() const
{
    if (_afterDescription == 2 && _fs_hasCollage && _fs_allowPhotos == 0)
        return _fs_numberPhotos;
    return 0;
}

QString XmlWebPhotoAlbum::indexLink()
{
    return lq::modelFrame(this, "indexLink", [&] {
        const std::shared_ptr<XmlAlbum> page = getCurrentAlbum();
        if (!page)
            return QStringLiteral("#");
        if (_clickOp == 4 && isExactlyGroup(page->parent()))
            return XmlGroup::cast(page->parent())->externalLink();
        return page->externalLink();
    });
}

// --- Thumbnail counts ------------------------------------------------------------------------------------

int XmlWebPhotoAlbum::numberOfThumbnails(const XmlBaseList& photos) const
{
    const int count = static_cast<int>(photos.size());
    if (!beforeAfter())
        return count;
    return thumbrollovers() ? count / 3 : count / 2;
}

int XmlWebPhotoAlbum::photoIndexForThumbnail(int index) const
{
    if (!beforeAfter())
        return index;
    return thumbrollovers() ? index * 3 : index * 2;
}

int XmlWebPhotoAlbum::shownThumbnails(int count) const
{
    if (_numRows == 0 && _numCols == 0)
        return 0;
    if (_numRows != 0)
        return std::min(count, _numRows * _numCols);
    return count;
}

int XmlWebPhotoAlbum::collageThumbnails(int count) const
{
    return _fs_hasCollage ? std::clamp(_fs_numberPhotos, 0, std::max(count, 0)) : 0;
}

int XmlWebPhotoAlbum::floatingEnd(int count) const
{
    return std::min(count, collageThumbnails(count) + numFloatingRects());
}

int XmlWebPhotoAlbum::cellCount(int count) const
{
    return _afterDescription == 2 ? floatingEnd(count) : shownThumbnails(count);
}

// --- Geometry --------------------------------------------------------------------------------------------

int XmlWebPhotoAlbum::frameExtraWidth() const
{
    return _frame->pl() + _frame->pr() + _frame->bl() + _frame->br() + (_frame->dropShadow() ? shadowStrip : 0);
}

int XmlWebPhotoAlbum::frameExtraHeight() const
{
    return _frame->pt() + _frame->pb() + _frame->bt() + _frame->bb() + (_frame->dropShadow() ? shadowStrip : 0);
}

int XmlWebPhotoAlbum::boxExtraWidth() const
{
    return _bl + _pl + _pr + _br + (_dropShadow ? shadowStrip : 0);
}

int XmlWebPhotoAlbum::boxExtraHeight() const
{
    return _bt + _pt + _pb + _bb + (_dropShadow ? shadowStrip : 0);
}

void XmlWebPhotoAlbum::calcPhotoAlbum() const
{
    _photoWidth = _thumbWidth + frameExtraWidth();
    _photoHeight = _thumbHeight + frameExtraHeight();
}

int XmlWebPhotoAlbum::internalWidth() const
{
    return lq::modelFrame(this, "internalWidth", [&] {
        calcPhotoAlbum();
        return (_photoWidth + _spaceColumns) * _numCols - _spaceColumns;
    });
}

int XmlWebPhotoAlbum::internalHeight() const
{
    return lq::modelFrame(this, "internalHeight", [&] {
        calcPhotoAlbum();
        if (_numCols == 0)
            return 0;
        const std::shared_ptr<XmlAlbum> page = getCurrentAlbum();
        if (!page)
            return 0;
        const int count = numberOfThumbnails(page->photoObjects());
        int usedRows = (count - 1) / _numCols + 1;
        if (_numRows != 0)
            usedRows = std::min(usedRows, _numRows);
        int total = (_photoHeight + _spaceRows) * usedRows - _spaceRows;
        if (captionsOrCart()) {
            for (int row = 0; row < usedRows; ++row) {
                const int extra = heightForCaptionRow(row) + _captionSpace;
                if (extra > 0)
                    total += extra;
            }
        }
        return total;
    });
}

int XmlWebPhotoAlbum::top() const
{
    return floatingSelected() ? truncated(floatingRect(_currentPhoto).y()) : _top;
}

int XmlWebPhotoAlbum::left() const
{
    return floatingSelected() ? truncated(floatingRect(_currentPhoto).x()) : _left;
}

int XmlWebPhotoAlbum::width() const
{
    return lq::modelFrame(this, "width", [&] {
        if (_afterDescription == 2) {
            if (_currentPhoto != -1)
                return truncated(floatingRect(_currentPhoto).width());
            return _fs_width + boxExtraWidth();
        }
        if (_numRows == 0 && _numCols == 0)
            return 0;
        return internalWidth() + boxExtraWidth();
    });
}

int XmlWebPhotoAlbum::height() const
{
    return lq::modelFrame(this, "height", [&] {
        if (_afterDescription == 2) {
            if (_currentPhoto != -1)
                return truncated(floatingRect(_currentPhoto).height());
            return _fs_height + boxExtraHeight();
        }
        if (_numRows == 0 && _numCols == 0)
            return 0;
        return internalHeight() + boxExtraHeight();
    });
}

bool XmlWebPhotoAlbum::editSelectedFloating(const std::function<void(lq::Rect&)>& edit)
{
    if (!floatingSelected())
        return false;
    lq::Rect rect = floatingRect(_currentPhoto);
    edit(rect);
    setFloatingRectForIndex(rect, _currentPhoto);
    return true;
}

void XmlWebPhotoAlbum::setTop(int top)
{
    lq::modelFrame(this, "setTop:", [&] {
        // In mode 1 the page layout places the grid.
        if (!editSelectedFloating([&](lq::Rect& rect) { rect.origin.y = toFloat(top); }) && _afterDescription != 1)
            XmlWebText::setTop(top);
    });
}

void XmlWebPhotoAlbum::setLeft(int left)
{
    lq::modelFrame(this, "setLeft:", [&] {
        if (!editSelectedFloating([&](lq::Rect& rect) { rect.origin.x = toFloat(left); }))
            XmlWebText::setLeft(left);
    });
}

void XmlWebPhotoAlbum::setWidth(int width)
{
    lq::modelFrame(this, "setWidth:", [&] {
        if (!editSelectedFloating([&](lq::Rect& rect) { rect.size.width = toFloat(width); }))
            XmlWebText::setWidth(width);
    });
}

void XmlWebPhotoAlbum::setHeight(int height)
{
    lq::modelFrame(this, "setHeight:", [&] {
        if (!editSelectedFloating([&](lq::Rect& rect) { rect.size.height = toFloat(height); }))
            XmlWebText::setHeight(height);
    });
}

bool XmlWebPhotoAlbum::heightFixed() const
{
    return floatingSelected() ? true : XmlWebText::heightFixed();
}

bool XmlWebPhotoAlbum::widthFixed() const
{
    return floatingSelected() ? true : XmlWebText::widthFixed();
}

int XmlWebPhotoAlbum::calcTop() const
{
    return lq::modelFrame(this, "calcTop", [&] {
        if (_afterDescription == 1)
            return _afterTop;
        return absolute() ? top() : XmlWebText::calcTop();
    });
}

int XmlWebPhotoAlbum::calcLeft() const
{
    return lq::modelFrame(this, "calcLeft", [&] { return absolute() ? left() : XmlWebText::calcLeft(); });
}

int XmlWebPhotoAlbum::calcWidth() const
{
    return lq::modelFrame(this, "calcWidth", [&] { return width(); });
}

int XmlWebPhotoAlbum::calcHeight() const
{
    return lq::modelFrame(this, "calcHeight", [&] { return height(); });
}

void XmlWebPhotoAlbum::setObjectRect(const lq::Rect& rect)
{
    lq::modelFrame(this, "setObjectRect:", [&] {
        if (floatingSelected()) {
            setFloatingRectForIndex(lq::Rect(toFloat(truncated(rect.x())), toFloat(truncated(rect.y())),
                                             toFloat(truncated(rect.width())), toFloat(truncated(rect.height()))),
                                    _currentPhoto);
            return;
        }
        setLeft(truncated(rect.x()));
        setTop(truncated(rect.y()));
    });
}

void XmlWebPhotoAlbum::calcPhotoObjectsPindexIndexTotalRectFrameRectThumbRectCaptionRect(
    const XmlBaseList& photos, int pindex, int index, lq::Rect& totalRect, lq::Rect& frameRect, lq::Rect& thumbRect,
    lq::Rect& captionRect)
{
    const lq::Rect fallback(0, 0, toFloat(_thumbWidth), toFloat(_thumbHeight));
    XmlPhoto* photo = photoAt(photos, pindex);
    if (!photo || pindex < 0) {
        thumbRect = frameRect = captionRect = fallback;
        return;
    }
    try {
        calcPhotoAlbum();
        const bool captions = captionsOrCart();
        const float frameLeft = toFloat(_frame->pl() + _frame->bl());
        const float frameTop = toFloat(_frame->pt() + _frame->bt());
        const float shadow = _frame->dropShadow() ? toFloat(shadowStrip) : 0;
        const auto growByFrame = [&](const lq::Rect& rect) {
            return lq::Rect(rect.x() - frameLeft, rect.y() - frameTop,
                            rect.width() + toFloat(_frame->bl() + _frame->pl() + _frame->pr() + _frame->br()) + shadow,
                            rect.height() + toFloat(_frame->bt() + _frame->pt() + _frame->pb() + _frame->bb()) + shadow);
        };
        const lq::Size thumbSize(toFloat(_thumbWidth), toFloat(_thumbHeight));
        const auto placeCaption = [&](lq::Rect& caption, const lq::Rect& frame) {
            if (!captions)
                return;
            if (_showCaptions && _captionsAbove)
                caption.origin.y = frame.y() - toFloat(_captionSpace) - caption.height();
            else
                caption.origin.y = toFloat(truncated(frame.y() + frame.height())) + toFloat(_captionSpace);
        };

        if (_afterDescription == 2) {
            const int collage = _fs_hasCollage ? _fs_numberPhotos : 0;
            if (index < collage) {
                frameRect = collageRect(index).offset(toFloat(left2() + _bl + _pl), toFloat(top2() + _bt + _pt));
                thumbRect = frameRect;
                captionRect = lq::Rect(frameRect.x(), frameRect.y(), frameRect.width(), 0);
                totalRect = frameRect;
                return;
            }
            thumbRect = floatingRect(index - collage);
            if (!_autoCropFreestyle)
                thumbRect = photo->aspectThumbRectForSize(thumbRect, thumbRect.size);
            frameRect = growByFrame(thumbRect);
            captionRect = lq::Rect(frameRect.x(), 0, frameRect.width(), toFloat(heightForCaption(index)));
            placeCaption(captionRect, frameRect);
        } else {
            const int row = _numCols > 0 ? index / _numCols : 0;
            const int column = _numCols > 0 ? index % _numCols : index;
            const float cellLeft = toFloat(internalLeft() + (_photoWidth + _spaceColumns) * column);
            const float cellTop = toFloat(internalTop() + (_photoHeight + _spaceRows) * row);
            thumbRect = lq::Rect(cellLeft + frameLeft, cellTop + frameTop, thumbSize.width, thumbSize.height);
            if (_thumbAspect == 0) {
                frameRect = thumbRect;
            } else if (_thumbAspect == 1) {
                thumbRect = photo->aspectThumbRectForSize(thumbRect, thumbSize);
                frameRect = thumbRect;
            } else if (_thumbAspect == 2) {
                frameRect = thumbRect;
                thumbRect = photo->aspectThumbRectForSize(thumbRect, thumbSize);
            }
            frameRect = growByFrame(frameRect);
            if (captions) {
                for (int r = 0; r < row; ++r) {
                    const int down = heightForCaptionRow(r) + _captionSpace;
                    if (down > 0) {
                        frameRect = frameRect.offset(0, toFloat(down));
                        thumbRect = thumbRect.offset(0, toFloat(down));
                    }
                }
            }
            captionRect = lq::Rect(cellLeft, 0, toFloat(_photoWidth), toFloat(heightForCaption(index)));
            if (captions && _showCaptions && _captionsAbove) {
                const int down = heightForCaptionRow(row) + _captionSpace;
                frameRect = frameRect.offset(0, toFloat(down));
                thumbRect = thumbRect.offset(0, toFloat(down));
            }
            placeCaption(captionRect, frameRect);
        }
        totalRect = captions ? frameRect.united(captionRect) : frameRect;
    } catch (const lq::Exception&) {
        thumbRect = frameRect = captionRect = fallback;
    }
}

XmlWebPhotoAlbum::Cell XmlWebPhotoAlbum::cellRects(const XmlBaseList& photos, int pindex, int index)
{
    Cell cell;
    calcPhotoObjectsPindexIndexTotalRectFrameRectThumbRectCaptionRect(photos, pindex, index, cell.total, cell.frame, cell.thumb,
                                                                     cell.caption);
    return cell;
}

int XmlWebPhotoAlbum::heightForCaption(int index) const
{
    if (!captionsOrCart())
        return 0;
    const int pindex = photoIndexForThumbnail(index);
    if (pindex < 0 || pindex >= static_cast<int>(_contentsArray.size()))
        return 0;
    return _contentsArray[static_cast<std::size_t>(pindex)]->usedHeight();
}

int XmlWebPhotoAlbum::heightForCaptionRow(int row) const
{
    if (!captionsOrCart())
        return 0;
    const int count = numberOfThumbnails(currentPhotos());
    int tallest = 0;
    for (int cell = _numCols * row; cell < std::min(_numCols * (row + 1), count); ++cell)
        tallest = std::max(tallest, heightForCaption(cell));
    return tallest;
}

lq::Rect XmlWebPhotoAlbum::guideRect()
{
    return lq::modelFrame(this, "guideRect", [&] {
        if (floatingSelected()) {
            const std::shared_ptr<XmlAlbum> page = getCurrentAlbum();
            if (page) {
                const XmlBaseList photos = page->photoObjects();
                const int index = _currentPhoto + (_fs_hasCollage ? _fs_numberPhotos : 0);
                const auto [total, frameRect, thumb, caption] = cellRects(photos, photoIndexForThumbnail(index), index);
                return frameRect;
            }
        }
        return objectRect();
    });
}

QStringList XmlWebPhotoAlbum::freestyleRects(bool totals)
{
    QStringList rects;
    const std::shared_ptr<XmlAlbum> page = getCurrentAlbum();
    if (!page)
        return rects;
    if (_fs_hasCollage)
        rects.append(rectToString(lq::Rect(toFloat(left2()), toFloat(top2()), toFloat(_fs_width + boxExtraWidth()),
                                           toFloat(_fs_height + boxExtraHeight()))));
    const XmlBaseList photos = page->photoObjects();
    const int count = numberOfThumbnails(photos);
    for (int i = collageThumbnails(count); i < floatingEnd(count); ++i) {
        const Cell cell = cellRects(photos, photoIndexForThumbnail(i), i);
        rects.append(rectToString(totals ? cell.total : cell.frame));
    }
    return rects;
}

QStringList XmlWebPhotoAlbum::guideRectArray()
{
    return lq::modelFrame(this, "guideRectArray", [&] {
        if (_afterDescription != 2)
            return QStringList{ rectToString(objectRect()) };
        return freestyleRects(false);
    });
}

QStringList XmlWebPhotoAlbum::objectRectArray()
{
    return lq::modelFrame(this, "objectRectArray", [&] {
        if (_afterDescription != 2)
            return QStringList{ rectToString(objectRect()) };
        return freestyleRects(true);
    });
}

// --- Caption layout and hot rectangles ----------------------------------------------------------------------

void XmlWebPhotoAlbum::relayoutFlags(XmlBase* page, int flags)
{
    // The layout runs while the canvas draws: a failure here is logged with
    // the album's XML and goes no further.
    try {
        if (flags != 0)
            return;
        layoutCaptions(page);
    } catch (const lq::Exception& failure) {
        lq::log(QStringLiteral("photoalbum error: ") + failure.name() + QStringLiteral(": ") + failure.reason());
        lq::log(createXml());
    }
}

void XmlWebPhotoAlbum::layoutCaptions(XmlBase* given)
{
    std::shared_ptr<XmlAlbum> remembered;
    XmlBase* page = given;
    if (!page) {
        remembered = getCurrentAlbum();
        page = remembered.get();
        if (!page)
            return;
    }
    XmlAlbum* album = XmlAlbum::cast(page);
    if (!album)
        return;
    setCurrentAlbum(page);

    const QStringList captions = album->photoCaptions();
    const XmlBaseList photos = album->photoObjects();
    calcPhotoAlbum();
    DocumentBase* document = myDocument();
    if (document)
        document->clearTrackingDataForObject(UUID());

    if (captionsOrCart()) {
        const auto count = static_cast<std::size_t>(captions.size());
        while (_contentsArray.size() < count)
            _contentsArray.push_back(std::make_shared<CaptionText>());
        while (_contentsArray.size() > count)
            _contentsArray.pop_back();

        const std::shared_ptr<XmlWebFont> record = font();
        setNormalFont(record->createFont());
        int traits = record->underline() ? 4 : 0;
        if (record->italic())
            traits += 1;
        if (record->bold())
            traits += 2;
        const lq::TextAlignment alignment = record->textAlignment();
        const bool ba = beforeAfter();
        const bool rollovers = thumbrollovers();

        for (qsizetype i = 0; i < captions.size(); ++i) {
            CaptionText& caption = *_contentsArray[static_cast<std::size_t>(i)];
            XmlPhoto* photo = photoAt(photos, static_cast<int>(i));
            clearLinks();
            QString text;
            if (_cartType == 0) {
                text = captions.at(i);
            } else {
                if (_thumbnailCaption)
                    text = captions.at(i);
                if (photo && photo->canBePurchased()) {
                    for (const QString& line : thumbnailText()->content().split(QLatin1Char('\n')))
                        text += QStringLiteral("<p>") + textSubberPhoto(line, photo) + QStringLiteral("</p>");
                }
            }
            caption.textStorage()->setText(getAttributedStringWithAlignmentAttr(text, alignment, traits));

            const int pindex = static_cast<int>(i);
            const int index = rollovers ? pindex / 3 : ba ? pindex / 2 : pindex;
            const auto [total, frameRect, thumb, captionRect] = cellRects(photos, pindex, index);
            const qreal width = _afterDescription == 2 ? captionRect.width() : _photoWidth;
            caption.textContainer()->setContainerSize(QSizeF(width, unbounded));
            lq::LayoutManager& manager = caption.layoutManager();
            manager.glyphRangeForTextContainer(caption.textContainer().get());

            if (!document)
                continue;
            for (const QString& link : links()) {
                lq::Range rest = lq::Range::fromString(link);
                while (rest.length > 0) {
                    lq::Range actual;
                    const lq::Range glyphs = manager.glyphRangeForCharacterRange(rest, &actual);
                    const QRectF bounds = manager.boundingRectForGlyphRange(glyphs, caption.textContainer().get());
                    const lq::Rect area = lq::Rect(bounds).offset(captionRect.x(), captionRect.y());
                    document->addTrackingDataForObjectDataRect(UUID(), HotArea{ QStringLiteral("caption"), pindex, link }.toString(),
                                                               area);
                    if (actual.length == 0 || actual.end() >= rest.end())
                        break;
                    rest = lq::Range{ quint32(actual.end()), quint32(rest.end() - actual.end()) };
                }
            }
        }
    }

    if (!document)
        return;
    const int count = cellCount(numberOfThumbnails(photos));
    const int op = isExactlyGroup(page) ? 3 : _clickOp;
    if (!visible() || op == 2)
        return;
    for (int i = 0; i < count; ++i) {
        const auto [total, frameRect, thumb, caption] = cellRects(photos, photoIndexForThumbnail(i), i);
        document->addTrackingDataForObjectDataRect(UUID(), HotArea{ QStringLiteral("photo"), i, QString() }.toString(), thumb);
    }
}

void XmlWebPhotoAlbum::cleanup()
{
    lq::modelFrame(this, "cleanup", [&] {
        _contentsArray.clear();
        XmlWebText::cleanup();
    });
}

// --- Canvas -----------------------------------------------------------------------------------------------------

void XmlWebPhotoAlbum::drawObject()
{
    lq::modelFrame(this, "drawObject", [&] {
        const std::shared_ptr<XmlAlbum> page = getCurrentAlbum();
        if (!page)
            return;
        if (_afterDescription == 2) {
            if (!_fs_hasCollage)
                return;
            const WithoutSelection collageBox(_currentPhoto);
            XmlWebText::drawObject(objectRect());
            return;
        }
        if (shownThumbnails(numberOfThumbnails(page->photoObjects())) != 0)
            XmlWebText::drawObject(objectRect());
    });
}

void XmlWebPhotoAlbum::drawText()
{
    lq::modelFrame(this, "drawText", [&] {
        const std::shared_ptr<XmlAlbum> page = getCurrentAlbum();
        if (!page)
            return;
        lq::GraphicsContext* context = lq::GraphicsContext::current();
        const XmlBaseList photos = page->photoObjects();
        const int count = cellCount(numberOfThumbnails(photos));
        const int collage = _afterDescription == 2 && _fs_hasCollage ? _fs_numberPhotos : 0;

        QList<ThumbnailResize> resizing;
        for (int i = 0; i < count; ++i) {
            const int pindex = photoIndexForThumbnail(i);
            XmlPhoto* photo = photoAt(photos, pindex);
            if (!photo)
                continue;
            const auto [total, frameRect, thumb, caption] = cellRects(photos, pindex, i);
            if (isExactlyGroup(page.get()))
                photo->forceRedraw();
            const bool inCollage = i < collage;
            if (const std::optional<lq::Size> size =
                    photo->drawThumbNailAtFrameFrameRect(thumb, inCollage ? nullptr : _frame.get(), frameRect))
                resizing.append({ photo->UUID(), *size });
        }
        if (!resizing.isEmpty()) {
            if (DocumentBase* document = myDocument())
                document->resizeThumbnails(resizing);
        }

        if (!captionsOrCart() || !context)
            return;
        QImage button;
        if ((_cartType == 1 || _cartType == 2) && _thumbnailButton) {
            const QString name = _cartType == 1 ? QStringLiteral("buynow.png") : QStringLiteral("addtocart.png");
            button = QImage(lq::resourcePath(QStringLiteral("styles/") + name));
        }
        for (int i = collage; i < count; ++i) {
            const int pindex = photoIndexForThumbnail(i);
            if (pindex >= static_cast<int>(_contentsArray.size()))
                continue;
            const auto [total, frameRect, thumb, captionRect] = cellRects(photos, pindex, i);
            CaptionText& caption = *_contentsArray[static_cast<std::size_t>(pindex)];
            const lq::Range glyphs = caption.layoutManager().glyphRangeForTextContainer(caption.textContainer().get());
            if (glyphs.length > 0)
                caption.layoutManager().drawGlyphsForGlyphRange(glyphs, captionRect.origin.toQPointF(), &context->painter());
            XmlPhoto* photo = photoAt(photos, pindex);
            if (!button.isNull() && photo && photo->canBePurchased()) {
                const QPointF at(captionRect.x() + (captionRect.width() - button.width()) * 0.5,
                                 captionRect.y() + captionRect.height());
                context->painter().drawImage(at, button);
            }
        }
    });
}

XmlCSSPtr XmlWebPhotoAlbum::objectAtPoint(const lq::Point& point)
{
    return lq::modelFrame(this, "objectAtPoint:", [&]() -> XmlCSSPtr {
        if (!visible())
            return nullptr;
        const auto self = std::static_pointer_cast<XmlCSS>(sharedFromThis());
        if (_afterDescription != 2)
            return objectRect().contains(point) ? self : nullptr;
        const std::shared_ptr<XmlAlbum> page = getCurrentAlbum();
        if (!page)
            return nullptr;
        const XmlBaseList photos = page->photoObjects();
        const int count = numberOfThumbnails(photos);
        const int first = collageThumbnails(count);
        // The photo drawn last is on top.
        for (int i = floatingEnd(count) - 1; i >= first; --i) {
            const auto [total, frameRect, thumb, caption] = cellRects(photos, photoIndexForThumbnail(i), i);
            if (thumb.contains(point)) {
                _currentPhoto = i - first;
                return self;
            }
        }
        _currentPhoto = -1;
        if (_fs_hasCollage && objectRect().contains(point))
            return self;
        return nullptr;
    });
}

bool XmlWebPhotoAlbum::hasNextSelectableObjectInside(bool backwards)
{
    return lq::modelFrame(this, "hasNextSelectableObjectInside:", [&] {
        if (_afterDescription != 2)
            return false;
        const std::shared_ptr<XmlAlbum> page = getCurrentAlbum();
        if (!page)
            return false;
        const int count = numberOfThumbnails(page->photoObjects());
        const int first = collageThumbnails(count);
        const int end = floatingEnd(count);
        if (first >= end)
            return false;
        const int current = first + _currentPhoto;
        if (!backwards) {
            if (current + 1 < end) {
                _currentPhoto = current + 1 - first;
                return true;
            }
        } else if (_currentPhoto != -1 && current > first) {
            _currentPhoto = current - 1 - first;
            return true;
        }
        _currentPhoto = -1;
        return false;
    });
}

std::shared_ptr<XmlPhoto> XmlWebPhotoAlbum::photoForEditingAtPoint(const lq::Point& point)
{
    return lq::modelFrame(this, "objectForEditingAtPoint:", [&]() -> std::shared_ptr<XmlPhoto> {
        if (!visible())
            return nullptr;
        const std::shared_ptr<XmlAlbum> page = getCurrentAlbum();
        if (!page)
            return nullptr;
        const XmlBaseList photos = page->photoObjects();
        const int count = cellCount(numberOfThumbnails(photos));
        for (int i = 0; i < count; ++i) {
            const int pindex = photoIndexForThumbnail(i);
            const auto [total, frameRect, thumb, caption] = cellRects(photos, pindex, i);
            if (thumb.contains(point)) {
                XmlPhoto* photo = photoAt(photos, pindex);
                return photo ? std::static_pointer_cast<XmlPhoto>(photo->sharedFromThis()) : nullptr;
            }
        }
        return nullptr;
    });
}

XmlBasePtr XmlWebPhotoAlbum::objectForEditingAtPoint(const lq::Point& point)
{
    return photoForEditingAtPoint(point);
}

void XmlWebPhotoAlbum::openLink(const QString& link)
{
    DocumentBase* document = myDocument();
    if (document) {
        for (const XmlBasePtr& item : document->webItems()) {
            XmlWebItem* page = XmlWebItem::cast(item.get());
            if (page && page->externalLink() == link) {
                document->selectWebPageIndex(XmlAlbum::cast(page), -1);
                return;
            }
        }
    }
    const QUrl url(link);
    if (url.isValid())
        lq::openURL(url);
}

void XmlWebPhotoAlbum::mouseClick(const QString& data)
{
    lq::modelFrame(this, "mouseClick:", [&] {
        const HotArea area = HotArea::fromString(data);
        DocumentBase* document = myDocument();
        const std::shared_ptr<XmlAlbum> page = getCurrentAlbum();
        if (area.type == u"photo") {
            if (!page || !document)
                return;
            const int i = area.index;
            if (isExactlyAlbum(page.get()) && i >= firstPictureInSlideshow() && typeid(*this) == typeid(XmlWebPhotoAlbum)) {
                XmlPhoto* photo = XmlPhoto::cast(page->childAtIndex(i).get());
                if (_clickOp == 0 || _clickOp == 4) {
                    document->selectWebPageIndex(page.get(), i);
                } else if (_clickOp == 1 && photo) {
                    lq::openURL(QUrl::fromLocalFile(rootDir() + QStringLiteral("/pictures/image")
                                                    + QString::number(photo->imageSeqNumber()) + QStringLiteral(".jpg")));
                } else if (_clickOp == 3 && photo && photo->caption()) {
                    openLink(photo->caption()->href());
                }
            } else if (isExactlyGroup(page.get())) {
                const XmlBaseList items = page->webItems();
                if (i >= 0 && i < items.size()) {
                    if (XmlAlbum* target = XmlAlbum::cast(items.at(i).get()))
                        document->selectWebPageIndex(target, -1);
                }
            }
        } else if (area.type == u"caption") {
            if (area.index < 0 || area.index >= static_cast<int>(_contentsArray.size()))
                return;
            const lq::StyledText& text = *_contentsArray[static_cast<std::size_t>(area.index)]->textStorage();
            const lq::Range range = lq::Range::fromString(area.range);
            if (range.location >= text.length())
                return;
            const QString link = text.attributesAt(range.location).value(lq::TextKey::linkLocation).toString();
            if (!link.isEmpty())
                openLink(link);
        }
    });
}

// --- Page HTML -----------------------------------------------------------------------------------------------------

void XmlWebPhotoAlbum::appendHTMLPagePassSheet(QString& html, XmlBase* page, int pass, XmlStyleSheet*)
{
    lq::modelFrame(this, "appendHTML:page:pass:sheet:", [&] {
        if (pass == -1) {
            const std::shared_ptr<XmlWebFont> record = font();
            html += QString::asprintf("fc.addfs(\"pp\", %d, %d, \"p.photo\");\n", record->lineHeight(), record->fontSize());
            return;
        }
        if (pass == 0) {
            if (_clickOp == 5) {
                html += QStringLiteral("<link rel=\"stylesheet\" href=\"lightbox.css\" type=\"text/css\" media=\"screen\" />\n");
                html += QStringLiteral("<script type=\"text/javascript\" src=\"prototype.js\"></script>\n");
                html += QStringLiteral("<script type=\"text/javascript\" src=\"scriptaculous.js?load=effects\"></script>\n");
                html += QStringLiteral("<script type=\"text/javascript\" src=\"lightbox.js\"></script>\n");
            }
            return;
        }
        XmlAlbum* album = XmlAlbum::cast(page);
        if (!album)
            return;
        if (pass == 5) {
            const bool grid = _afterDescription != 2 && (_numCols != 0 || _numRows != 0);
            const bool collage = _afterDescription == 2 && _fs_hasCollage;
            if (grid || collage) {
                // The box itself, whatever floating photo the canvas has selected.
                const WithoutSelection box(_currentPhoto);
                html += htmlDivTagsVornStyle(QStringLiteral("albumbox"), QString());
            }
            return;
        }
        if (pass != 11 && pass != 19)
            return;
        setCurrentAlbum(page);
        const XmlBaseList photos = album->photoObjects();
        const int count = numberOfThumbnails(photos);
        if (pass == 11) {
            if (captionsOrCart() && _contentsArray.size() != static_cast<std::size_t>(photos.size()))
                layoutCaptions(page);
            const QString slidefile = QStringLiteral("slideshow") + QString::number(album->pageSeqNumber()) + QStringLiteral(".html");
            if (_afterDescription != 2) {
                layoutHTMLFromToHtmlPhotoObjectsSlidefileShowCaptionsNoborders(0, shownThumbnails(count), html, photos,
                                                                              slidefile, captionsOrCart(), false);
            } else {
                const int collage = collageThumbnails(count);
                layoutHTMLFromToHtmlPhotoObjectsSlidefileShowCaptionsNoborders(0, collage, html, photos, slidefile, false, true);
                layoutHTMLFromToHtmlPhotoObjectsSlidefileShowCaptionsNoborders(collage, floatingEnd(count), html, photos,
                                                                              slidefile, captionsOrCart(), false);
            }
            return;
        }
        if (_clickOp == 5) {
            for (const char* name : { "blank.gif", "close.gif", "loading.gif", "next.gif", "prev.gif" })
                html += QStringLiteral("<QZcopy dir=\"homepage/bitmaps\" filename=\"") + QLatin1String(name) + QStringLiteral("\" />");
            for (const char* name : { "prototype.js", "scriptaculous.js", "lightbox.js", "effects.js", "lightbox.css" })
                html += QStringLiteral("<QZcopy dir=\"homepage\" filename=\"") + QLatin1String(name) + QStringLiteral("\" />");
        }
        if (_cartType == 1)
            html += QStringLiteral("<QZcopy dir=\"homepage/bitmaps\" filename=\"buynow.png\" />");
        else if (_cartType == 2)
            html += QStringLiteral("<QZcopy dir=\"homepage/bitmaps\" filename=\"addtocart.png\" />");
        if (_afterDescription != 2) {
            processImagesFromToHtmlPhotoObjectsAlbum(0, shownThumbnails(count), html, photos, album->pageSeqNumber());
        } else {
            const int collage = collageThumbnails(count);
            processImagesFromToHtmlPhotoObjectsAlbum(0, collage, html, photos, album->pageSeqNumber());
            processImagesFromToHtmlPhotoObjectsAlbum(collage, floatingEnd(count), html, photos, album->pageSeqNumber());
        }
    });
}

void XmlWebPhotoAlbum::layoutHTMLFromToHtmlPhotoObjectsSlidefileShowCaptionsNoborders(int from, int to, QString& html,
                                                                                      const XmlBaseList& photos,
                                                                                      const QString& slidefile,
                                                                                      bool showCaptions, bool noborders)
{
    lq::modelFrame(this, "layoutHTMLFrom:to:html:photoObjects:slidefile:showCaptions:noborders:", [&] {
        const std::shared_ptr<XmlAlbum> page = getCurrentAlbum();
        const bool groups = beforeAfter();
        const bool rollovers = thumbrollovers();
        const bool floatPhoto = _frame->useFloatPhoto() && !noborders;
        XmlStyleSheet* sheet = XmlStyleSheet::cast(parent());
        for (int i = from; i < to; ++i) {
            const int pindex = photoIndexForThumbnail(i);
            XmlPhoto* photo = photoAt(photos, pindex);
            if (!photo)
                continue;
            XmlPhoto* partner = photo;
            if (rollovers) {
                if (XmlPhoto* third = photoAt(photos, pindex + 2))
                    partner = third;
            }
            const auto [total, frameRect, thumbRect, captionRect] = cellRects(photos, pindex, i);
            const int number = photo->imageSeqNumber();
            const std::shared_ptr<XmlCaption> caption = photo->caption();

            // The opening link.
            QString link;
            if (isExactlyAlbum(page.get()) && i >= firstPictureInSlideshow()) {
                switch (_clickOp) {
                case 0:
                    link = QStringLiteral("<a href=\"") + attributeEscape(slidefile) + QStringLiteral("#") + QString::number(i)
                        + QStringLiteral("\">");
                    break;
                case 1:
                    if (!groups)
                        link = QString::asprintf("<a href=\"pictures/image%d.jpg\" target=\"_blank\">", number);
                    break;
                case 3:
                    if (!groups && caption && caption->href() != u"#")
                        link = QStringLiteral("<a href=\"") + attributeEscape(caption->href()) + QStringLiteral("\" target=\"")
                            + attributeEscape(caption->target()) + QStringLiteral("\">");
                    break;
                case 4:
                    link = QString::asprintf("<a href=\"javascript:ss.goto_slide(%d)\">", i);
                    break;
                case 5:
                    if (!groups) {
                        QString title = caption ? escape(caption->longCaption()) : QString();
                        if (title.isEmpty())
                            title = QStringLiteral(" ");
                        link = QString::asprintf("<a href=\"pictures/image%d.jpg\" rel=\"lightbox[lq]\" title=\"", number) + title
                            + QStringLiteral("\">");
                    }
                    break;
                default:
                    break;
                }
            } else if (isExactlyGroup(page.get())) {
                const XmlBaseList items = page->children();
                if (i < items.size()) {
                    if (XmlWebItem* item = XmlWebItem::cast(items.at(i).get()))
                        link = QStringLiteral("<a href=\"") + attributeEscape(item->externalLink()) + QStringLiteral("\">");
                }
            }
            html += link;

            // The tool tip.
            QString toolTip = QStringLiteral("");
            if (_showToolTips && caption)
                toolTip = QStringLiteral(" title=\"") + escape(firstLine() ? caption->shortCaption() : caption->longCaption())
                    + QLatin1Char('"');
            const QString alt = escape(photo->altText());

            // The rollover text of before-and-after thumbnails.
            QString rollover;
            if (rollovers) {
                const char* extension = floatPhoto ? "png" : "jpg";
                rollover = QString::asprintf(" id=\"thumb%d\" onload=\"thumbrr%d = new rollOver('thumb%d', 'pictures/thumb%d.%s', "
                                             "'pictures/thumb%d.%s')\" onmouseout=\"thumbrr%d.mouseOut()\" "
                                             "onmouseover=\"thumbrr%d.mouseOver()\"",
                                             number, number, number, number, extension, partner->imageSeqNumber(), extension,
                                             number, number);
            }
            const QString close = groups ? rollover + QStringLiteral("/>") : QStringLiteral("/>");

            const int ft = truncated(frameRect.y());
            const int fl = truncated(frameRect.x());
            if (floatPhoto) {
                html += QString::asprintf("<img id=\"thumb%d\" class=\"floatphoto\" src=\"pictures/thumb%d.png\" alt=\"", number, number)
                    + alt + QLatin1Char('"') + toolTip
                    + QString::asprintf(" style=\"top: %dpx; left: %dpx; width: %dpx; height: %dpx;\"", ft, fl,
                                        truncated(frameRect.width()), truncated(frameRect.height()))
                    + close;
            } else {
                const QString cls = noborders ? QStringLiteral("floatphoto") : QStringLiteral("photo");
                QString style = QString::asprintf("top: %dpx; left: %dpx; width: %dpx; height: %dpx;", ft, fl,
                                                  truncated(thumbRect.width()), truncated(thumbRect.height()));
                if (!noborders && _thumbAspect == 2) {
                    const auto clampZero = [](float value) { return std::max(truncated(value), 0); };
                    style += QString::asprintf(" padding: %dpx %dpx %dpx %dpx;",
                                               clampZero(thumbRect.y() - frameRect.y() - toFloat(_frame->bt())),
                                               clampZero(frameRect.maxX() - thumbRect.maxX() - toFloat(_frame->br())),
                                               clampZero(frameRect.maxY() - thumbRect.maxY() - toFloat(_frame->bb())),
                                               clampZero(thumbRect.x() - frameRect.x() - toFloat(_frame->bl())));
                }
                html += QStringLiteral("<img class=\"") + cls + QString::asprintf("\" src=\"pictures/thumb%d.jpg\" alt=\"", number) + alt
                    + QLatin1Char('"') + toolTip + QStringLiteral(" style=\"") + style + QLatin1Char('"') + close;
            }
            if (!link.isEmpty())
                html += QStringLiteral("</a>");
            html += QLatin1Char('\n');

            if (!showCaptions || pindex >= static_cast<int>(_contentsArray.size()))
                continue;
            const bool known = sheet ? sheet->addFontBag(QStringLiteral("pp")) : true;
            const QString opening = known ? QStringLiteral("<p class=\"photo\"") : QStringLiteral("<p id=\"pp\" class=\"photo\"");
            CaptionText& text = *_contentsArray[static_cast<std::size_t>(pindex)];
            appendHTMLFromLayoutManagerPrePostOffset(html, &text.layoutManager(), opening, QStringLiteral("</p>\n"),
                                                     captionRect.origin);
            if ((_cartType == 1 || _cartType == 2) && _thumbnailButton && photo->canBePurchased()) {
                html += QString::asprintf("<div style=\"display: block; position: absolute; top: %dpx; left: %dpx; width: %dpx;\">\n",
                                          truncated(captionRect.maxY()), truncated(captionRect.x()),
                                          truncated(captionRect.width()));
                html += textSubberPhoto(buttonHTML()->content(), photo);
                html += QStringLiteral("</div>\n");
            }
        }
    });
}

void XmlWebPhotoAlbum::processImagesFromToHtmlPhotoObjectsAlbum(int from, int to, QString& html, const XmlBaseList& photos,
                                                               int)
{
    lq::modelFrame(this, "processImagesFrom:to:html:photoObjects:album:", [&] {
        const bool groups = beforeAfter();
        const bool rollovers = thumbrollovers();
        const int collage = _afterDescription == 2 && _fs_hasCollage ? _fs_numberPhotos : 0;
        for (int i = from; i < to; ++i) {
            const int first = photoIndexForThumbnail(i);
            std::vector<int> group{ first };
            if (groups) {
                group.push_back(first + 1);
                if (rollovers)
                    group.push_back(first + 2);
            }
            for (const int p : group) {
                XmlPhoto* photo = photoAt(photos, p);
                if (!photo)
                    continue;
                auto [total, frameRect, thumbRect, captionRect] = cellRects(photos, first, i);
                html += QStringLiteral("<QZcreateWebImage photo=\"") + photo->UUID() + QStringLiteral("\" thumbSize=\"")
                    + sizeToString(thumbRect.size) + QStringLiteral("\" ");
                if (_clickOp == 1 || _clickOp == 5)
                    html += QStringLiteral("fullSize=\"1\" ");
                if (i >= collage && _frame->useFloatPhoto()) {
                    thumbRect.origin.x -= frameRect.x();
                    thumbRect.origin.y -= frameRect.y();
                    frameRect.origin = lq::Point(0, 0);
                    html += QStringLiteral(" frame=\"") + _frame->UUID() + QStringLiteral("\" frameRect=\"") + rectToString(frameRect)
                        + QStringLiteral("\" thumbRect=\"") + rectToString(thumbRect) + QLatin1Char('"');
                }
                html += QStringLiteral("/>");
            }
        }
    });
}

QString XmlWebPhotoAlbum::textSubberPhoto(const QString& text, XmlPhoto* photo)
{
    return lq::modelFrame(this, "textSubber:photo:", [&] {
        // Every value is the user's text: escaped, an item named 8"x10"
        // cannot end the form's attribute early.
        QString result = text;
        const XmlPayPalData* item = photo ? photo->paypal().get() : nullptr;
        const QString itemname = item ? item->itemname() : QString();
        const QString price = item ? item->price() : QString();
        const QString itemid = item ? item->itemid() : QString();
        const QString weight = item ? item->weight() : QString();
        const QString shipping = item ? item->shipping() : QString();
        const QString salestax = item ? item->salestax() : QString();
        // The site's settings: through the photo, which lives in the site, else the document.
        XmlHomePage* home = photo ? photo->homepage() : nullptr;
        if (!home) {
            DocumentBase* document = myDocument();
            home = document && document->site() ? document->site()->homepage() : nullptr;
        }
        const XmlPayPalCommon* common = home ? home->paypal().get() : nullptr;
        const QString unit = common && common->weightunit() != 0 ? QStringLiteral("kgs") : QStringLiteral("lbs");

        result.replace(QStringLiteral("{DESCRIPTION}"), escape(itemname));
        result.replace(QStringLiteral("{PRICE}"), escape(price));
        result.replace(QStringLiteral("{ID}"), escape(itemid));
        result.replace(QStringLiteral("{WEIGHT}"), escape(weight));
        result.replace(QStringLiteral("{SHIPPING}"), escape(shipping));
        result.replace(QStringLiteral("{SALESTAX}"), escape(salestax));
        if (common) {
            result.replace(QStringLiteral("{ACCOUNT}"), escape(common->paypaladdress()));
            result.replace(QStringLiteral("{CURRENCY}"), escape(common->currency()));
            result.replace(QStringLiteral("{MEASUREMENT}"), unit);
        }
        QString more;
        const auto hidden = [&](const char* name, const QString& field) {
            more += QStringLiteral("<input type=\"hidden\" name=\"") + QLatin1String(name) + QStringLiteral("\" value=\"")
                + escape(field) + QStringLiteral("\">\n");
        };
        if (!itemid.isEmpty())
            hidden("item_number", itemid);
        if (!weight.isEmpty()) {
            hidden("weight", weight);
            hidden("weight_unit", unit);
        }
        if (!shipping.isEmpty())
            hidden("shipping", shipping);
        if (!salestax.isEmpty())
            hidden("tax", salestax);
        result.replace(QStringLiteral("{MORE}"), more);
        return result;
    });
}

// --- Template CSS ------------------------------------------------------------------------------------------------------

void XmlWebPhotoAlbum::appendCSS(QString& css)
{
    lq::modelFrame(this, "appendCSS:", [&] {
        css += QStringLiteral("#albumbox {position: absolute; font-size: 0px; line-height: 0px; display: block; margin: 0px; ");
        appendCSSBackground(css);
        appendCSSBorders(css);
        css += QStringLiteral("}\n");
        css += QStringLiteral("img.photo {display: block; position: absolute; margin: 0px; ");
        _frame->appendCSSBackground(css);
        _frame->appendCSSPadding(css);
        _frame->appendCSSBorders(css);
        css += QStringLiteral("}\n");
        if (captionsOrCart()) {
            const std::shared_ptr<XmlWebFont> record = font();
            css += QStringLiteral("p.photo {display: block; position: absolute; margin: 0px; white-space: nowrap; ");
            record->appendCSSFontParameters(css);
            css += QStringLiteral("}\n");
            css += QStringLiteral("p.photo a {color: ") + colorToCSSString(record->fontColor())
                + QStringLiteral("; text-decoration: underline; }\n");
        }
        css += QStringLiteral("img.floatphoto {display: block; position: absolute; margin: 0px; padding: 0px; border: 0px; }\n");
    });
}

std::pair<int, int> XmlWebPhotoAlbum::framedRange(int count) const
{
    if (_afterDescription == 0 || _afterDescription == 1)
        return { 0, shownThumbnails(count) };
    if (_afterDescription == 2)
        return { collageThumbnails(count), floatingEnd(count) };
    return { 0, 0 };
}

void XmlWebPhotoAlbum::appendCSSWinIESuffix(QString& css, const QString& suffix)
{
    lq::modelFrame(this, "appendCSSWinIE:suffix:", [&] {
        appendCSSWinIEBackgroundTagSuffix(css, QStringLiteral("#albumbox"), suffix);
        _frame->appendCSSWinIEBackgroundTagSuffix(css, QStringLiteral("img.photo"), suffix);
        const std::shared_ptr<XmlAlbum> page = getCurrentAlbum();
        if (!_frame->useFloatPhoto() || !page)
            return;
        const XmlBaseList photos = page->photoObjects();
        const bool rollovers = thumbrollovers();
        const auto rule = [&](XmlPhoto* photo) {
            const int number = photo->imageSeqNumber();
            css += QString::asprintf("img#thumb%d { ", number);
            css += QString::asprintf("filter:progid:DXImageTransform.Microsoft.AlphaImageLoader(enabled='true' "
                                     "sizingMethod='crop', src='pictures/thumb%d.png'); ",
                                     number);
            css += QStringLiteral("}\n");
        };
        const auto [first, end] = framedRange(numberOfThumbnails(photos));
        for (int i = first; i < end; ++i) {
            const int p = photoIndexForThumbnail(i);
            XmlPhoto* photo = photoAt(photos, p);
            if (!photo)
                continue;
            rule(photo);
            if (rollovers) {
                if (XmlPhoto* third = photoAt(photos, p + 2))
                    rule(third);
            }
        }
    });
}

void XmlWebPhotoAlbum::appendJavascriptWinIE(QString& script)
{
    lq::modelFrame(this, "appendJavascriptWinIE:", [&] {
        const std::shared_ptr<XmlAlbum> page = getCurrentAlbum();
        if (!_frame->useFloatPhoto() || !page)
            return;
        const XmlBaseList photos = page->photoObjects();
        const bool rollovers = thumbrollovers();
        const auto [first, end] = framedRange(numberOfThumbnails(photos));
        if (first < end)
            script += QStringLiteral("\nvar imgElement;\n");
        const auto lines = [&](XmlPhoto* photo) {
            script += QString::asprintf("imgElement = document.getElementById('thumb%d');\n", photo->imageSeqNumber());
            script += QStringLiteral("imgElement.src = \"bitmaps/transparent.gif\";\n");
        };
        for (int i = first; i < end; ++i) {
            const int p = photoIndexForThumbnail(i);
            XmlPhoto* photo = photoAt(photos, p);
            if (!photo)
                continue;
            lines(photo);
            if (rollovers) {
                if (XmlPhoto* third = photoAt(photos, p + 2))
                    lines(third);
            }
        }
    });
}

// --- Housekeeping ------------------------------------------------------------------------------------------------------

void XmlWebPhotoAlbum::loadBackstore(void* context)
{
    _frame->loadBackstore(context);
    _buttonImage->loadBackstore(context);
    XmlWebText::loadBackstore(context);
}

void XmlWebPhotoAlbum::releaseBackstore(void* context)
{
    _frame->releaseBackstore(context);
    _buttonImage->releaseBackstore(context);
    XmlWebText::releaseBackstore(context);
}

void XmlWebPhotoAlbum::listOfBitmaps(QStringList& names)
{
    _frame->listOfBitmaps(names);
    _buttonImage->listOfBitmaps(names);
    XmlWebText::listOfBitmaps(names);
}

void XmlWebPhotoAlbum::listOfFilesToCopyAll(QStringList& files, bool all)
{
    _frame->listOfFilesToCopyAll(files, all);
    _buttonImage->listOfFilesToCopyAll(files, all);
    XmlWebText::listOfFilesToCopyAll(files, all);
}

void XmlWebPhotoAlbum::unpackToDirectory(const QString& folder)
{
    _frame->unpackToDirectory(folder);
    _buttonImage->unpackToDirectory(folder);
    XmlWebText::unpackToDirectory(folder);
}

void XmlWebPhotoAlbum::convert1_2Bitmaps()
{
    _frame->convert1_2Bitmaps();
    _buttonImage->convert1_2Bitmaps();
    XmlWebText::convert1_2Bitmaps();
}

void XmlWebPhotoAlbum::changeImageUUID(const QHash<QString, QString>& uuids)
{
    _frame->changeImageUUID(uuids);
    _buttonImage->changeImageUUID(uuids);
    XmlWebText::changeImageUUID(uuids);
}

void XmlWebPhotoAlbum::genCSSBitmap(QString& script)
{
    XmlWebText::genCSSBitmap(script);
    _frame->genCSSBitmap(script);
    _buttonImage->genCSSBitmap(script);
}

void XmlWebPhotoAlbum::genCSSWinIEBitmap(QString& script)
{
    _frame->genCSSWinIEBitmap(script);
    XmlWebText::genCSSWinIEBitmap(script);
}
