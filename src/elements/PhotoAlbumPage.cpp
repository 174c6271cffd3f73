// The photo album's page output: the HTML of each page pass, the steps
// that make the thumbnails, and the template's CSS and its fix-ups for
// Internet Explorer.
#include "elements/PhotoAlbumPage.h"

#include "elements/ElementHelpers.h"
#include "elements/PhotoAlbumLayout.h"
#include "elements/XmlWebPhotoAlbum.h"
#include "model/core/DocumentBase.h"
#include "model/site/XmlAlbum.h"
#include "model/site/XmlCaption.h"
#include "model/site/XmlGroup.h"
#include "model/site/XmlHomePage.h"
#include "model/site/XmlPayPalCommon.h"
#include "model/site/XmlPayPalData.h"
#include "model/site/XmlPhoto.h"
#include "model/site/XmlSite.h"
#include "platform/Escaping.h"
#include "platform/ExceptionFrame.h"
#include "platform/ValueStrings.h"
#include "templates/BoxModelHtml.h"
#include "templates/XmlPictureFrame.h"
#include "templates/XmlStyleSheet.h"
#include "templates/XmlWebFont.h"

#include <QScopedValueRollback>

#include <algorithm>

using elements::isExactly;
using elements::toFloat;

namespace {

// The text with each placeholder (the first of each pair) replaced by its
// value in one pass over the text: a value goes in as it is and is never
// searched for placeholders, so an item named "Poster {MORE}" keeps its
// name. Any other brace stays.
QString substitutedPlaceholders(const QString& text, const std::vector<std::pair<QString, QString>>& values)
{
    QString result;
    qsizetype at = 0;
    for (qsizetype open = text.indexOf(QLatin1Char('{')); open >= 0; open = text.indexOf(QLatin1Char('{'), at)) {
        result += QStringView(text).mid(at, open - at);
        const auto placeholder = std::find_if(values.begin(), values.end(), [&](const std::pair<QString, QString>& value) {
            return QStringView(text).mid(open).startsWith(value.first);
        });
        if (placeholder == values.end()) {
            result += QLatin1Char('{');
            at = open + 1;
        } else {
            result += placeholder->second;
            at = open + placeholder->first.size();
        }
    }
    result += QStringView(text).mid(at);
    return result;
}

} // namespace

// --- Page HTML -----------------------------------------------------------------------------------------------------

void PhotoAlbumPage::appendHTMLPagePassSheet(QString& html, XmlBase* page, PagePass pass, XmlStyleSheet*)
{
    lq::modelFrame(&_album, "appendHTML:page:pass:sheet:", [&] {
        if (pass == PagePass::HeadScript) {
            appendFontCheck(html);
            return;
        }
        if (pass == PagePass::Head) {
            appendLightboxHead(html);
            return;
        }
        XmlAlbum* album = XmlAlbum::cast(page);
        if (!album)
            return;
        if (pass == PagePass::AlbumBox)
            appendAlbumBox(html);
        else if (pass == PagePass::Thumbnails)
            appendThumbnails(html, album);
        else if (pass == PagePass::Steps)
            appendSteps(html, album);
    });
}

void PhotoAlbumPage::appendFontCheck(QString& html)
{
    const std::shared_ptr<XmlWebFont> record = _album.font();
    html += QString::asprintf("fc.addfs(\"pp\", %d, %d, \"p.photo\");\n", record->lineHeight(), record->fontSize());
}

void PhotoAlbumPage::appendLightboxHead(QString& html)
{
    if (_album._clickOp != XmlWebPhotoAlbum::ClickOperation::Lightbox)
        return;
    html += QStringLiteral("<link rel=\"stylesheet\" href=\"lightbox.css\" type=\"text/css\" media=\"screen\">\n");
    html += QStringLiteral("<script type=\"text/javascript\" src=\"prototype.js\"></script>\n");
    html += QStringLiteral("<script type=\"text/javascript\" src=\"scriptaculous.js?load=effects\"></script>\n");
    html += QStringLiteral("<script type=\"text/javascript\" src=\"lightbox.js\"></script>\n");
}

void PhotoAlbumPage::appendAlbumBox(QString& html)
{
    const bool grid = _album._afterDescription != 2 && (_album._numCols != 0 || _album._numRows != 0);
    const bool collage = _album._afterDescription == 2 && _album._fs_hasCollage;
    if (!grid && !collage)
        return;
    // The box itself, whatever floating photo the canvas has selected.
    const QScopedValueRollback<int> box(_album._currentPhoto, -1);
    html += BoxModelHtml(_album).htmlDivTagsVornStyle(QStringLiteral("albumbox"), QString());
}

void PhotoAlbumPage::appendThumbnails(QString& html, XmlAlbum* album)
{
    _album.setCurrentAlbum(album);
    const XmlBaseList photos = album->photoObjects();
    const int count = _album.numberOfThumbnails(photos);
    if (_album.captionsOrCart() && _album._contentsArray.size() != static_cast<std::size_t>(photos.size()))
        PhotoAlbumLayout(_album).layoutCaptions(album);
    const QString slidefile = QStringLiteral("slideshow") + QString::number(album->pageSeqNumber()) + QStringLiteral(".html");
    if (_album._afterDescription != 2) {
        layoutHTMLFromToHtmlPhotoObjectsSlidefileShowCaptionsNoborders(0, _album.shownThumbnails(count), html, photos,
                                                                      slidefile, _album.captionsOrCart(), false);
    } else {
        const int collage = _album.collageThumbnails(count);
        layoutHTMLFromToHtmlPhotoObjectsSlidefileShowCaptionsNoborders(0, collage, html, photos, slidefile, false, true);
        layoutHTMLFromToHtmlPhotoObjectsSlidefileShowCaptionsNoborders(collage, _album.floatingEnd(count), html, photos,
                                                                      slidefile, _album.captionsOrCart(), false);
    }
}

void PhotoAlbumPage::appendSteps(QString& html, XmlAlbum* album)
{
    _album.setCurrentAlbum(album);
    const XmlBaseList photos = album->photoObjects();
    const int count = _album.numberOfThumbnails(photos);
    if (_album._clickOp == XmlWebPhotoAlbum::ClickOperation::Lightbox) {
        for (const char* name : { "blank.gif", "close.gif", "loading.gif", "next.gif", "prev.gif" })
            html += QStringLiteral("<QZcopy dir=\"homepage/bitmaps\" filename=\"") + QLatin1String(name) + QStringLiteral("\" />");
        for (const char* name : { "prototype.js", "scriptaculous.js", "lightbox.js", "effects.js", "lightbox.css" })
            html += QStringLiteral("<QZcopy dir=\"homepage\" filename=\"") + QLatin1String(name) + QStringLiteral("\" />");
    }
    if (_album._cartType == XmlWebPhotoAlbum::CartType::BuyNow)
        html += QStringLiteral("<QZcopy dir=\"homepage/bitmaps\" filename=\"buynow.png\" />");
    else if (_album._cartType == XmlWebPhotoAlbum::CartType::AddToCart)
        html += QStringLiteral("<QZcopy dir=\"homepage/bitmaps\" filename=\"addtocart.png\" />");
    if (_album._afterDescription != 2) {
        processImagesFromToHtmlPhotoObjectsAlbum(0, _album.shownThumbnails(count), html, photos, album->pageSeqNumber());
    } else {
        const int collage = _album.collageThumbnails(count);
        processImagesFromToHtmlPhotoObjectsAlbum(0, collage, html, photos, album->pageSeqNumber());
        processImagesFromToHtmlPhotoObjectsAlbum(collage, _album.floatingEnd(count), html, photos, album->pageSeqNumber());
    }
}

void PhotoAlbumPage::layoutHTMLFromToHtmlPhotoObjectsSlidefileShowCaptionsNoborders(int from, int to, QString& html,
                                                                                      const XmlBaseList& photos,
                                                                                      const QString& slidefile,
                                                                                      bool showCaptions, bool noborders)
{
    lq::modelFrame(&_album, "layoutHTMLFrom:to:html:photoObjects:slidefile:showCaptions:noborders:", [&] {
        const std::shared_ptr<XmlAlbum> page = _album.getCurrentAlbum();
        const bool groups = _album.beforeAfter();
        const bool rollovers = _album.thumbrollovers();
        const bool floatPhoto = _album._frame->useFloatPhoto() && !noborders;
        XmlStyleSheet* sheet = XmlStyleSheet::cast(_album.parent());
        for (int i = from; i < to; ++i) {
            const int pindex = _album.photoIndexForThumbnail(i);
            XmlPhoto* photo = PhotoAlbumLayout::photoAt(photos, pindex);
            if (!photo)
                continue;
            XmlPhoto* partner = photo;
            if (rollovers) {
                if (XmlPhoto* third = PhotoAlbumLayout::photoAt(photos, pindex + 2))
                    partner = third;
            }
            const auto [total, frameRect, thumbRect, captionRect] = PhotoAlbumLayout(_album).cellRects(photos, pindex, i);
            const int number = photo->imageSeqNumber();
            const std::shared_ptr<XmlCaption> caption = photo->caption();

            // The opening link.
            QString link;
            if (isExactly<XmlAlbum>(page.get()) && i >= _album.firstPictureInSlideshow()) {
                switch (_album._clickOp) {
                case XmlWebPhotoAlbum::ClickOperation::SlideshowPage:
                    link = QStringLiteral("<a href=\"") + _album.attributeEscape(slidefile) + QStringLiteral("#") + QString::number(i)
                        + QStringLiteral("\">");
                    break;
                case XmlWebPhotoAlbum::ClickOperation::NewWindow:
                    if (!groups)
                        link = QString::asprintf("<a href=\"pictures/image%d.jpg\" target=\"_blank\">", number);
                    break;
                case XmlWebPhotoAlbum::ClickOperation::CaptionLink:
                    if (!groups && caption && caption->href() != u"#")
                        link = QStringLiteral("<a href=\"") + _album.attributeEscape(caption->href()) + QStringLiteral("\" target=\"")
                            + _album.attributeEscape(caption->target()) + QStringLiteral("\">");
                    break;
                case XmlWebPhotoAlbum::ClickOperation::SlideshowElement:
                    link = QString::asprintf("<a href=\"javascript:ss.goto_slide(%d)\">", i);
                    break;
                case XmlWebPhotoAlbum::ClickOperation::Lightbox:
                    if (!groups) {
                        QString title = caption ? lq::escape(caption->longCaption()) : QString();
                        if (title.isEmpty())
                            title = QStringLiteral(" ");
                        link = QString::asprintf("<a href=\"pictures/image%d.jpg\" rel=\"lightbox[lq]\" title=\"", number) + title
                            + QStringLiteral("\">");
                    }
                    break;
                default:
                    break;
                }
            } else if (isExactly<XmlGroup>(page.get())) {
                const XmlBaseList items = page->children();
                if (i < items.size()) {
                    if (XmlWebItem* item = XmlWebItem::cast(items.at(i).get()))
                        link = QStringLiteral("<a href=\"") + _album.attributeEscape(item->linkAddress()) + QStringLiteral("\">");
                }
            }
            html += link;

            // The tool tip.
            QString toolTip = QStringLiteral("");
            if (_album._showToolTips && caption)
                toolTip = QStringLiteral(" title=\"") + lq::escape(_album.firstLine() ? caption->shortCaption() : caption->longCaption())
                    + QLatin1Char('"');
            const QString alt = lq::escape(photo->altText());

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

            const int ft = lq::truncatedPixel(frameRect.y());
            const int fl = lq::truncatedPixel(frameRect.x());
            if (floatPhoto) {
                html += QString::asprintf("<img id=\"thumb%d\" class=\"floatphoto\" src=\"pictures/thumb%d.png\" alt=\"", number, number)
                    + alt + QLatin1Char('"') + toolTip
                    + QString::asprintf(" style=\"top: %dpx; left: %dpx; width: %dpx; height: %dpx;\"", ft, fl,
                                        lq::truncatedPixel(frameRect.width()), lq::truncatedPixel(frameRect.height()))
                    + close;
            } else {
                const QString cls = noborders ? QStringLiteral("floatphoto") : QStringLiteral("photo");
                QString style = QString::asprintf("top: %dpx; left: %dpx; width: %dpx; height: %dpx;", ft, fl,
                                                  lq::truncatedPixel(thumbRect.width()), lq::truncatedPixel(thumbRect.height()));
                if (!noborders && _album._thumbAspect == XmlWebPhotoAlbum::ThumbAspect::Centred) {
                    const auto clampZero = [](float value) { return std::max(lq::truncatedPixel(value), 0); };
                    style += QString::asprintf(" padding: %dpx %dpx %dpx %dpx;",
                                               clampZero(thumbRect.y() - frameRect.y() - toFloat(_album._frame->bt())),
                                               clampZero(frameRect.maxX() - thumbRect.maxX() - toFloat(_album._frame->br())),
                                               clampZero(frameRect.maxY() - thumbRect.maxY() - toFloat(_album._frame->bb())),
                                               clampZero(thumbRect.x() - frameRect.x() - toFloat(_album._frame->bl())));
                }
                html += QStringLiteral("<img class=\"") + cls + QString::asprintf("\" src=\"pictures/thumb%d.jpg\" alt=\"", number) + alt
                    + QLatin1Char('"') + toolTip + QStringLiteral(" style=\"") + style + QLatin1Char('"') + close;
            }
            if (!link.isEmpty())
                html += QStringLiteral("</a>");
            html += QLatin1Char('\n');

            if (!showCaptions || pindex >= static_cast<int>(_album._contentsArray.size()))
                continue;
            const bool known = sheet ? sheet->addFontBag(QStringLiteral("pp")) : true;
            const QString opening = known ? QStringLiteral("<p class=\"photo\"") : QStringLiteral("<p id=\"pp\" class=\"photo\"");
            XmlWebPhotoAlbum::CaptionText& text = *_album._contentsArray[static_cast<std::size_t>(pindex)];
            _album.appendHTMLFromLayoutManagerPrePostOffset(html, &text.layoutManager(), opening, QStringLiteral("</p>\n"),
                                                     captionRect.origin);
            if (_album.hasCartButton() && _album._thumbnailButton && photo->canBePurchased()) {
                html += QString::asprintf("<div style=\"display: block; position: absolute; top: %dpx; left: %dpx; width: %dpx;\">\n",
                                          lq::truncatedPixel(captionRect.maxY()), lq::truncatedPixel(captionRect.x()),
                                          lq::truncatedPixel(captionRect.width()));
                html += textSubberPhoto(_album.buttonHTML()->content(), photo);
                html += QStringLiteral("</div>\n");
            }
        }
    });
}

void PhotoAlbumPage::processImagesFromToHtmlPhotoObjectsAlbum(int from, int to, QString& html, const XmlBaseList& photos,
                                                               int)
{
    lq::modelFrame(&_album, "processImagesFrom:to:html:photoObjects:album:", [&] {
        const bool groups = _album.beforeAfter();
        const bool rollovers = _album.thumbrollovers();
        const int collage = _album._afterDescription == 2 && _album._fs_hasCollage ? _album._fs_numberPhotos : 0;
        for (int i = from; i < to; ++i) {
            const int first = _album.photoIndexForThumbnail(i);
            std::vector<int> group{ first };
            if (groups) {
                group.push_back(first + 1);
                if (rollovers)
                    group.push_back(first + 2);
            }
            for (const int p : group) {
                XmlPhoto* photo = PhotoAlbumLayout::photoAt(photos, p);
                if (!photo)
                    continue;
                auto [total, frameRect, thumbRect, captionRect] = PhotoAlbumLayout(_album).cellRects(photos, first, i);
                html += QStringLiteral("<QZcreateWebImage photo=\"") + photo->UUID() + QStringLiteral("\" thumbSize=\"")
                    + lq::sizeToString(thumbRect.size) + QStringLiteral("\" ");
                if (_album._clickOp == XmlWebPhotoAlbum::ClickOperation::NewWindow || _album._clickOp == XmlWebPhotoAlbum::ClickOperation::Lightbox)
                    html += QStringLiteral("fullSize=\"1\" ");
                if (i >= collage && _album._frame->useFloatPhoto()) {
                    thumbRect.origin.x -= frameRect.x();
                    thumbRect.origin.y -= frameRect.y();
                    frameRect.origin = lq::Point(0, 0);
                    html += QStringLiteral(" frame=\"") + _album._frame->UUID() + QStringLiteral("\" frameRect=\"") + lq::rectToString(frameRect)
                        + QStringLiteral("\" thumbRect=\"") + lq::rectToString(thumbRect) + QLatin1Char('"');
                }
                html += QStringLiteral("/>");
            }
        }
    });
}

QString PhotoAlbumPage::buttonForm(bool buyNow)
{
    QString form = QStringLiteral("<form target=\"paypal\" action=\"") + XmlPayPalCommon::paymentEndpoint()
        + QStringLiteral("\" method=\"post\">\n");
    form += buyNow ? QStringLiteral("<div style=\"display: block; width: 86px; position: relative; margin: 0 auto;\">\n")
                   : QStringLiteral("<div style=\"display: block; width: 96px; position: relative; margin: 0 auto;\">\n");
    form += QStringLiteral("<input type=\"image\" src=\"bitmaps/") + (buyNow ? QStringLiteral("buynow.png") : QStringLiteral("addtocart.png"))
        + QStringLiteral("\" style=\"border: 0;\" name=\"submit\" alt=\"PayPal - The safer, easier way to pay online!\">\n");
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
    return form;
}

QString PhotoAlbumPage::textSubberPhoto(const QString& text, XmlPhoto* photo)
{
    return lq::modelFrame(&_album, "textSubber:photo:", [&] {
        // Every value is the user's text: escaped, an item named 8"x10"
        // cannot end the form's attribute early.
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
            DocumentBase* document = _album.myDocument();
            home = document && document->site() ? document->site()->homepage() : nullptr;
        }
        const XmlPayPalCommon* common = home ? home->paypal().get() : nullptr;
        const QString unit = common && common->weightunit() != 0 ? QStringLiteral("kgs") : QStringLiteral("lbs");

        QString more;
        const auto hidden = [&](const char* name, const QString& field) {
            more += QStringLiteral("<input type=\"hidden\" name=\"") + QLatin1String(name) + QStringLiteral("\" value=\"")
                + lq::escape(field) + QStringLiteral("\">\n");
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

        std::vector<std::pair<QString, QString>> values {
            { QStringLiteral("{DESCRIPTION}"), lq::escape(itemname) },
            { QStringLiteral("{PRICE}"), lq::escape(price) },
            { QStringLiteral("{ID}"), lq::escape(itemid) },
            { QStringLiteral("{WEIGHT}"), lq::escape(weight) },
            { QStringLiteral("{SHIPPING}"), lq::escape(shipping) },
            { QStringLiteral("{SALESTAX}"), lq::escape(salestax) },
            { QStringLiteral("{MORE}"), more },
        };
        // Without the site's settings their placeholders stay as they are.
        if (common) {
            values.emplace_back(QStringLiteral("{ACCOUNT}"), lq::escape(common->paypaladdress()));
            values.emplace_back(QStringLiteral("{CURRENCY}"), lq::escape(common->currency()));
            values.emplace_back(QStringLiteral("{MEASUREMENT}"), unit);
        }
        return substitutedPlaceholders(text, values);
    });
}

// --- Template CSS ------------------------------------------------------------------------------------------------------

void PhotoAlbumPage::appendCSS(QString& css)
{
    lq::modelFrame(&_album, "appendCSS:", [&] {
        css += QStringLiteral("#albumbox {position: absolute; font-size: 0px; line-height: 0px; display: block; margin: 0px; ");
        _album.appendCSSBackground(css);
        BoxModelHtml(_album).appendCSSBorders(css);
        css += QStringLiteral("}\n");
        css += QStringLiteral("img.photo {display: block; position: absolute; margin: 0px; ");
        _album._frame->appendCSSBackground(css);
        BoxModelHtml(*_album._frame).appendCSSPadding(css);
        BoxModelHtml(*_album._frame).appendCSSBorders(css);
        css += QStringLiteral("}\n");
        if (_album.captionsOrCart()) {
            const std::shared_ptr<XmlWebFont> record = _album.font();
            css += QStringLiteral("p.photo {display: block; position: absolute; margin: 0px; white-space: nowrap; ");
            record->appendCSSFontParameters(css);
            css += QStringLiteral("}\n");
            css += QStringLiteral("p.photo a {color: ") + lq::colorToCSSString(record->fontColor())
                + QStringLiteral("; text-decoration: underline; }\n");
        }
        css += QStringLiteral("img.floatphoto {display: block; position: absolute; margin: 0px; padding: 0px; border: 0px; }\n");
    });
}

std::pair<int, int> PhotoAlbumPage::framedRange(int count) const
{
    if (_album._afterDescription == 0 || _album._afterDescription == 1)
        return { 0, _album.shownThumbnails(count) };
    if (_album._afterDescription == 2)
        return { _album.collageThumbnails(count), _album.floatingEnd(count) };
    return { 0, 0 };
}

void PhotoAlbumPage::appendCSSWinIESuffix(QString& css, const QString& suffix)
{
    lq::modelFrame(&_album, "appendCSSWinIE:suffix:", [&] {
        _album.appendCSSWinIEBackgroundTagSuffix(css, QStringLiteral("#albumbox"), suffix);
        _album._frame->appendCSSWinIEBackgroundTagSuffix(css, QStringLiteral("img.photo"), suffix);
        const std::shared_ptr<XmlAlbum> page = _album.getCurrentAlbum();
        if (!_album._frame->useFloatPhoto() || !page)
            return;
        const XmlBaseList photos = page->photoObjects();
        const bool rollovers = _album.thumbrollovers();
        const auto rule = [&](XmlPhoto* photo) {
            const int number = photo->imageSeqNumber();
            css += QString::asprintf("img#thumb%d { ", number);
            css += QString::asprintf("filter:progid:DXImageTransform.Microsoft.AlphaImageLoader(enabled='true' "
                                     "sizingMethod='crop', src='pictures/thumb%d.png'); ",
                                     number);
            css += QStringLiteral("}\n");
        };
        const auto [first, end] = framedRange(_album.numberOfThumbnails(photos));
        for (int i = first; i < end; ++i) {
            const int p = _album.photoIndexForThumbnail(i);
            XmlPhoto* photo = PhotoAlbumLayout::photoAt(photos, p);
            if (!photo)
                continue;
            rule(photo);
            if (rollovers) {
                if (XmlPhoto* third = PhotoAlbumLayout::photoAt(photos, p + 2))
                    rule(third);
            }
        }
    });
}

void PhotoAlbumPage::appendJavascriptWinIE(QString& script)
{
    lq::modelFrame(&_album, "appendJavascriptWinIE:", [&] {
        const std::shared_ptr<XmlAlbum> page = _album.getCurrentAlbum();
        if (!_album._frame->useFloatPhoto() || !page)
            return;
        const XmlBaseList photos = page->photoObjects();
        const bool rollovers = _album.thumbrollovers();
        const auto [first, end] = framedRange(_album.numberOfThumbnails(photos));
        if (first < end)
            script += QStringLiteral("\nvar imgElement;\n");
        const auto lines = [&](XmlPhoto* photo) {
            script += QString::asprintf("imgElement = document.getElementById('thumb%d');\n", photo->imageSeqNumber());
            script += QStringLiteral("imgElement.src = \"bitmaps/transparent.gif\";\n");
        };
        for (int i = first; i < end; ++i) {
            const int p = _album.photoIndexForThumbnail(i);
            XmlPhoto* photo = PhotoAlbumLayout::photoAt(photos, p);
            if (!photo)
                continue;
            lines(photo);
            if (rollovers) {
                if (XmlPhoto* third = PhotoAlbumLayout::photoAt(photos, p + 2))
                    lines(third);
            }
        }
    });
}
