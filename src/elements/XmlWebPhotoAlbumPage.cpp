// The photo album's page output: the HTML of each page pass, the steps
// that make the thumbnails, and the template's CSS and its fix-ups for
// Internet Explorer.
#include "elements/XmlWebPhotoAlbum.h"

#include "elements/ElementHelpers.h"
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

void XmlWebPhotoAlbum::appendHTMLPagePassSheet(QString& html, XmlBase* page, PagePass pass, XmlStyleSheet*)
{
    lq::modelFrame(this, "appendHTML:page:pass:sheet:", [&] {
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

void XmlWebPhotoAlbum::appendFontCheck(QString& html)
{
    const std::shared_ptr<XmlWebFont> record = font();
    html += QString::asprintf("fc.addfs(\"pp\", %d, %d, \"p.photo\");\n", record->lineHeight(), record->fontSize());
}

void XmlWebPhotoAlbum::appendLightboxHead(QString& html)
{
    if (_settings.clickOp() != XmlWebPhotoAlbum::ClickOperation::Lightbox)
        return;
    html += QStringLiteral("<link rel=\"stylesheet\" href=\"lightbox.css\" type=\"text/css\" media=\"screen\">\n");
    html += QStringLiteral("<script type=\"text/javascript\" src=\"prototype.js\"></script>\n");
    html += QStringLiteral("<script type=\"text/javascript\" src=\"scriptaculous.js?load=effects\"></script>\n");
    html += QStringLiteral("<script type=\"text/javascript\" src=\"lightbox.js\"></script>\n");
}

void XmlWebPhotoAlbum::appendAlbumBox(QString& html)
{
    const bool grid = _settings.afterDescription() != 2 && (_settings.cols() != 0 || _settings.rows() != 0);
    const bool collage = _settings.afterDescription() == 2 && _settings.hasCollage();
    if (!grid && !collage)
        return;
    // The box itself, whatever floating photo the canvas has selected.
    const QScopedValueRollback<int> box(_currentPhoto, -1);
    html += htmlDivTagsVornStyle(QStringLiteral("albumbox"), QString());
}

void XmlWebPhotoAlbum::appendThumbnails(QString& html, XmlAlbum* album)
{
    setCurrentAlbum(album);
    const XmlBaseList photos = album->photoObjects();
    const int count = numberOfThumbnails(photos);
    if (_settings.captionsOrCart() && _contentsArray.size() != static_cast<std::size_t>(photos.size()))
        layoutCaptions(album);
    const QString slidefile = QStringLiteral("slideshow") + QString::number(album->pageSeqNumber()) + QStringLiteral(".html");
    if (_settings.afterDescription() != 2) {
        layoutHTMLFromToHtmlPhotoObjectsSlidefileShowCaptionsNoborders(0, _settings.shownThumbnails(count), html, photos,
                                                                      slidefile, _settings.captionsOrCart(), false);
    } else {
        const int collage = _settings.collageThumbnails(count);
        layoutHTMLFromToHtmlPhotoObjectsSlidefileShowCaptionsNoborders(0, collage, html, photos, slidefile, false, true);
        layoutHTMLFromToHtmlPhotoObjectsSlidefileShowCaptionsNoborders(collage, _settings.floatingEnd(count), html, photos,
                                                                      slidefile, _settings.captionsOrCart(), false);
    }
}

void XmlWebPhotoAlbum::appendSteps(QString& html, XmlAlbum* album)
{
    setCurrentAlbum(album);
    const XmlBaseList photos = album->photoObjects();
    const int count = numberOfThumbnails(photos);
    if (_settings.clickOp() == XmlWebPhotoAlbum::ClickOperation::Lightbox) {
        for (const char* name : { "blank.gif", "close.gif", "loading.gif", "next.gif", "prev.gif" })
            html += QStringLiteral("<QZcopy dir=\"homepage/bitmaps\" filename=\"") + QLatin1String(name) + QStringLiteral("\" />");
        for (const char* name : { "prototype.js", "scriptaculous.js", "lightbox.js", "effects.js", "lightbox.css" })
            html += QStringLiteral("<QZcopy dir=\"homepage\" filename=\"") + QLatin1String(name) + QStringLiteral("\" />");
    }
    if (_settings.cartType() == XmlWebPhotoAlbum::CartType::BuyNow)
        html += QStringLiteral("<QZcopy dir=\"homepage/bitmaps\" filename=\"buynow.png\" />");
    else if (_settings.cartType() == XmlWebPhotoAlbum::CartType::AddToCart)
        html += QStringLiteral("<QZcopy dir=\"homepage/bitmaps\" filename=\"addtocart.png\" />");
    if (_settings.afterDescription() != 2) {
        processImagesFromToHtmlPhotoObjectsAlbum(0, _settings.shownThumbnails(count), html, photos, album->pageSeqNumber());
    } else {
        const int collage = _settings.collageThumbnails(count);
        processImagesFromToHtmlPhotoObjectsAlbum(0, collage, html, photos, album->pageSeqNumber());
        processImagesFromToHtmlPhotoObjectsAlbum(collage, _settings.floatingEnd(count), html, photos, album->pageSeqNumber());
    }
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
            XmlPhoto* photo = XmlWebPhotoAlbum::photoAt(photos, pindex);
            if (!photo)
                continue;
            XmlPhoto* partner = photo;
            if (rollovers) {
                if (XmlPhoto* third = XmlWebPhotoAlbum::photoAt(photos, pindex + 2))
                    partner = third;
            }
            const auto [total, frameRect, thumbRect, captionRect] = cellRects(photos, pindex, i);
            const int number = photo->imageSeqNumber();
            const std::shared_ptr<XmlCaption> caption = photo->caption();

            // The opening link.
            QString link;
            if (isExactly<XmlAlbum>(page.get()) && i >= _settings.firstPictureInSlideshow()) {
                switch (_settings.clickOp()) {
                case XmlWebPhotoAlbum::ClickOperation::SlideshowPage:
                    link = QStringLiteral("<a href=\"") + attributeEscape(slidefile) + QStringLiteral("#") + QString::number(i)
                        + QStringLiteral("\">");
                    break;
                case XmlWebPhotoAlbum::ClickOperation::NewWindow:
                    if (!groups)
                        link = QString::asprintf("<a href=\"pictures/image%d.jpg\" target=\"_blank\">", number);
                    break;
                case XmlWebPhotoAlbum::ClickOperation::CaptionLink:
                    if (!groups && caption && caption->href() != u"#")
                        link = QStringLiteral("<a href=\"") + attributeEscape(caption->href()) + QStringLiteral("\" target=\"")
                            + attributeEscape(caption->target()) + QStringLiteral("\">");
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
                        link = QStringLiteral("<a href=\"") + attributeEscape(item->linkAddress()) + QStringLiteral("\">");
                }
            }
            html += link;

            // The tool tip.
            QString toolTip = QStringLiteral("");
            if (_settings.showToolTips() && caption)
                toolTip = QStringLiteral(" title=\"") + lq::escape(firstLine() ? caption->shortCaption() : caption->longCaption())
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
                if (!noborders && _settings.thumbAspect() == XmlWebPhotoAlbum::ThumbAspect::Centred) {
                    const auto clampZero = [](float value) { return std::max(lq::truncatedPixel(value), 0); };
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
            XmlWebPhotoAlbum::CaptionText& text = *_contentsArray[static_cast<std::size_t>(pindex)];
            appendHTMLFromLayoutManagerPrePostOffset(html, &text.layoutManager(), opening, QStringLiteral("</p>\n"),
                                                     captionRect.origin);
            if (_settings.hasCartButton() && _settings.thumbnailButton() && photo->canBePurchased()) {
                html += QString::asprintf("<div style=\"display: block; position: absolute; top: %dpx; left: %dpx; width: %dpx;\">\n",
                                          lq::truncatedPixel(captionRect.maxY()), lq::truncatedPixel(captionRect.x()),
                                          lq::truncatedPixel(captionRect.width()));
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
        const int collage = _settings.afterDescription() == 2 && _settings.hasCollage() ? _settings.collageNumberPhotos() : 0;
        for (int i = from; i < to; ++i) {
            const int first = photoIndexForThumbnail(i);
            std::vector<int> group{ first };
            if (groups) {
                group.push_back(first + 1);
                if (rollovers)
                    group.push_back(first + 2);
            }
            for (const int p : group) {
                XmlPhoto* photo = XmlWebPhotoAlbum::photoAt(photos, p);
                if (!photo)
                    continue;
                auto [total, frameRect, thumbRect, captionRect] = cellRects(photos, first, i);
                html += QStringLiteral("<QZcreateWebImage photo=\"") + photo->UUID() + QStringLiteral("\" thumbSize=\"")
                    + lq::sizeToString(thumbRect.size) + QStringLiteral("\" ");
                if (_settings.clickOp() == XmlWebPhotoAlbum::ClickOperation::NewWindow || _settings.clickOp() == XmlWebPhotoAlbum::ClickOperation::Lightbox)
                    html += QStringLiteral("fullSize=\"1\" ");
                if (i >= collage && _frame->useFloatPhoto()) {
                    thumbRect.origin.x -= frameRect.x();
                    thumbRect.origin.y -= frameRect.y();
                    frameRect.origin = lq::Point(0, 0);
                    html += QStringLiteral(" frame=\"") + _frame->UUID() + QStringLiteral("\" frameRect=\"") + lq::rectToString(frameRect)
                        + QStringLiteral("\" thumbRect=\"") + lq::rectToString(thumbRect) + QLatin1Char('"');
                }
                html += QStringLiteral("/>");
            }
        }
    });
}

QString XmlWebPhotoAlbum::buttonForm(bool buyNow)
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

QString XmlWebPhotoAlbum::textSubberPhoto(const QString& text, XmlPhoto* photo)
{
    return lq::modelFrame(this, "textSubber:photo:", [&] {
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
            DocumentBase* document = myDocument();
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
        if (_settings.captionsOrCart()) {
            const std::shared_ptr<XmlWebFont> record = font();
            css += QStringLiteral("p.photo {display: block; position: absolute; margin: 0px; white-space: nowrap; ");
            record->appendCSSFontParameters(css);
            css += QStringLiteral("}\n");
            css += QStringLiteral("p.photo a {color: ") + lq::colorToCSSString(record->fontColor())
                + QStringLiteral("; text-decoration: underline; }\n");
        }
        css += QStringLiteral("img.floatphoto {display: block; position: absolute; margin: 0px; padding: 0px; border: 0px; }\n");
    });
}

std::pair<int, int> XmlWebPhotoAlbum::framedRange(int count) const
{
    if (_settings.afterDescription() == 0 || _settings.afterDescription() == 1)
        return { 0, _settings.shownThumbnails(count) };
    if (_settings.afterDescription() == 2)
        return { _settings.collageThumbnails(count), _settings.floatingEnd(count) };
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
            XmlPhoto* photo = XmlWebPhotoAlbum::photoAt(photos, p);
            if (!photo)
                continue;
            rule(photo);
            if (rollovers) {
                if (XmlPhoto* third = XmlWebPhotoAlbum::photoAt(photos, p + 2))
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
            XmlPhoto* photo = XmlWebPhotoAlbum::photoAt(photos, p);
            if (!photo)
                continue;
            lines(photo);
            if (rollovers) {
                if (XmlPhoto* third = XmlWebPhotoAlbum::photoAt(photos, p + 2))
                    lines(third);
            }
        }
    });
}
