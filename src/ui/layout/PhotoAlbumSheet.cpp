// The photo album's sheet: built from its rows, filled from the album, and
// what its controls change written back into the album.
#include "ui/layout/PhotoAlbumSheet.h"

#include "elements/XmlWebPhotoAlbum.h"
#include "ui/layout/AlbumDialogs.h"
#include "ui/layout/InspectorTags.h"
#include "ui/layout/InspectorValues.h"
#include "ui/layout/LayoutController.h"
#include "model/site/XmlAlbum.h"
#include "model/site/XmlGroup.h"
#include "platform/ExceptionFrame.h"
#include "ui/widgets/ControlTags.h"
#include "ui/widgets/ControlValues.h"
#include "ui/widgets/MyButton.h"
#include "ui/widgets/SheetBuilder.h"
#include "templates/XmlStyleSheet.h"
#include "templates/XmlWebFont.h"

using namespace lq::inspector;

namespace {

// The captions pop-up: 2 above the photos, 1 below, 3 only as tool tips, 0 none.
int captionsIndex(const XmlWebPhotoAlbum& album)
{
    if (album.settings().showCaptions())
        return album.settings().captionsAbove() ? 2 : 1;
    return album.settings().showToolTips() ? 3 : 0;
}

} // namespace

QWidget* PhotoAlbumSheet::build()
{
    QWidget* body = buildElementSheet(5, QStringLiteral("Photo Album"));
    addGeometryFields(body, QStringLiteral("photoalbum"));
    SheetBuilder rows = sheetBuilder(body);
    rows.label(QStringLiteral("Layout"))
        .popUp(550, {{QStringLiteral("Grid in its place"), 0}, {QStringLiteral("Grid after the text"), 1}, {QStringLiteral("Free style"), 2}});

    SheetBuilder grid = rows.group(QStringLiteral("Thumbnails"));
    _paThumbnail = grid.container();
    grid.label(QStringLiteral("Size")).text(500, QString());
    grid.button(540, QStringLiteral("Thumbnail Size…"))->setAutoDefault(false);
    grid.label(QStringLiteral("Column Space")).intPair(501, 0, largestNumber);
    grid.label(QStringLiteral("Row Space")).intPair(503, 0, largestNumber);

    SheetBuilder free = rows.group(QStringLiteral("Free style"));
    _paFreeStyle = free.container();
    free.beginRow();
    free.check(580, QStringLiteral("Collage"));
    free.button(581, QStringLiteral("Collage…"))->setAutoDefault(false);
    free.endRow();
    free.label(QStringLiteral("Floating Photos")).intPair(582, 0, 999);
    free.check(586, QStringLiteral("Crop photos to their frames"));

    SheetBuilder captions = rows.group(QStringLiteral("Captions"));
    captions.label(QStringLiteral("Captions"))
        .popUp(505, {{QStringLiteral("None"), 0}, {QStringLiteral("Below the photos"), 1}, {QStringLiteral("Above the photos"), 2},
                        {QStringLiteral("Tool tips only"), 3}});
    captions.label(QStringLiteral("Space")).intPair(542, 0, largestNumber);
    captions.check(544, QStringLiteral("First line only"));
    addFontRows(captions, {.font = 506, .size = 507, .color = 509, .underline = 510, .italic = 511, .bold = 512, .alignment = 513});

    SheetBuilder click = rows.group(QStringLiteral("A click on a photo shows"));
    _paOptions = click.container();
    click.matrix(516, {{QStringLiteral("A slideshow page"), 517}, {QStringLiteral("The picture in a new window"), 518},
                          {QStringLiteral("Nothing"), 519}, {QStringLiteral("The caption's link"), 520},
                          {QStringLiteral("The page's slideshow"), 521}, {QStringLiteral("A lightbox"), 522}});
    return body;
}

void PhotoAlbumSheet::fill(XmlWebPhotoAlbum& album)
{
    lq::uiFrame(&_controller, "fillPhotoAlbumSheet", [&] {
        // A group page's album shows its pages, which a click opens.
        _paOptions->setHidden(XmlGroup::cast(_controller.getAlbum().get()) != nullptr);
        if (!album.frame())
            return;
        QWidget* view = sheetView(QStringLiteral("photoalbum"));
        lq::showText(view, 500, album.settings().thumbSizeString());
        lq::showNumberPair(view, 501, album.settings().spaceColumns());
        lq::showNumberPair(view, 503, album.settings().spaceRows());
        lq::showIndex(view, 505, captionsIndex(album));
        lq::showNumberPair(view, 542, album.settings().captionSpace());
        lq::showState(view, 544, album.firstLine());
        showFont(view, album.font().get(), {.font = 506, .size = 507, .color = 509, .underline = 510, .italic = 511, .bold = 512,
                                               .alignment = 513});
        lq::showCell(view, 516, 517 + static_cast<int>(album.clickOp()));
        lq::showState(view, 580, album.settings().hasCollage() != 0);
        lq::showNumberPair(view, 582, album.settings().numFloatingRects());
        lq::showState(view, 586, album.settings().autoCropFreestyle() != 0);
        lq::showIndex(view, 550, album.afterDescription());
        showAlbumLayout(album);
    });
}

void PhotoAlbumSheet::showAlbumLayout(XmlWebPhotoAlbum& album)
{
    QWidget* view = sheetView(QStringLiteral("photoalbum"));
    const bool freeStyle = album.afterDescription() == 2;
    _paThumbnail->setHidden(freeStyle);
    _paFreeStyle->setVisible(freeStyle);
    lq::showText(view, InspectorTag::widthLabel, freeStyle ? QStringLiteral("Width") : QStringLiteral("Columns"));
    lq::showText(view, InspectorTag::heightLabel, freeStyle ? QStringLiteral("Height") : QStringLiteral("Rows"));
    lq::showNumberPair(view, 528, freeStyle ? album.width() : album.settings().cols());
    lq::showNumberPair(view, 530, freeStyle ? album.height() : album.settings().rows());
}

bool PhotoAlbumSheet::apply(QWidget* sender, int tag, XmlStyleSheet& sheet, XmlWebPhotoAlbum* album)
{
    if (!album)
        return true;
    QWidget* view = sheetView(QStringLiteral("photoalbum"));
    const bool freeStyle = album->afterDescription() == 2;
    switch (tag) {
    case 501:
    case 502: album->settings().setSpaceColumns(intValueOf(sender)); break;
    case 503:
    case 504: album->settings().setSpaceRows(intValueOf(sender)); break;
    case 505: {
        const int index = indexOf(sender);
        if (index < 0 || index > 3)
            break;
        // None, below the photos, above them, tool tips only.
        album->settings().setShowCaptions(index == 1 || index == 2);
        if (index == 1 || index == 2)
            album->settings().setCaptionsAbove(index == 2);
        album->settings().setShowToolTips(index == 3);
        break;
    }
    case 516:
        album->settings().setClickOp(static_cast<XmlWebPhotoAlbum::ClickOperation>(cellTagOf(sender) - 517));
        _controller.albumOptionsSet();
        relayoutTemplate(sheet, false);
        return false;
    case 524:
    case 525: album->setTop(intValueOf(sender)); break;
    case 526:
    case 527: album->setLeft(intValueOf(sender)); break;
    case 528:
    case 529:
        if (freeStyle)
            album->setWidth(intValueOf(sender));
        else
            album->settings().setCols(intValueOf(sender));
        break;
    case 530:
    case 531:
        if (freeStyle)
            album->setHeight(intValueOf(sender));
        else
            album->settings().setRows(intValueOf(sender));
        break;
    case 540:
        _controller.albumDialogs().changeThumbnailSize(album);
        lq::showText(view, 500, album->settings().thumbSizeString());
        break;
    case 542:
    case 543: album->settings().setCaptionSpace(intValueOf(sender)); break;
    case 544: album->setFirstLine(stateOf(sender)); break;
    case 550:
        album->settings().setAfterDescription(indexOf(sender));
        showAlbumLayout(*album);
        lq::showNumberPair(view, 524, album->top());
        lq::showNumberPair(view, 526, album->left());
        relayoutTemplate(sheet, true);
        break;
    case 580:
        album->settings().setHasCollage(stateOf(sender) ? 1 : 0);
        relayoutTemplate(sheet, true);
        break;
    case 581: _controller.albumDialogs().changeCollageSettings(album); break;
    case 582:
    case 583:
        album->settings().setNumFloatingRects(intValueOf(sender));
        relayoutTemplate(sheet, true);
        break;
    case 586:
        album->settings().setAutoCropFreestyle(intValueOf(sender));
        relayoutTemplate(sheet, true);
        break;
    default: break;
    }
    return true;
}
