#pragma once

#include "elements/XmlWebPhotoAlbum.h"

#include <QStringList>

#include <functional>

// The photo album's geometry: the sizes a frame and the box add, the cells
// of the thumbnails in the three placement modes, the captions laid out
// for the page with their click areas, and the rectangles of a free-style
// album.
class PhotoAlbumLayout {
public:
    explicit PhotoAlbumLayout(XmlWebPhotoAlbum& album)
        : _album(album)
    {
    }

    // The photo at the index of the list, or nothing past its ends.
    static XmlPhoto* photoAt(const XmlBaseList& photos, int index);
    // The frame's horizontal and vertical extras: paddings, borders, shadow.
    static int frameExtraWidth(const XmlWebPhotoAlbum& album);
    static int frameExtraHeight(const XmlWebPhotoAlbum& album);
    static int boxExtraWidth(const XmlWebPhotoAlbum& album);
    static int boxExtraHeight(const XmlWebPhotoAlbum& album);
    // The cell size of a thumbnail in its frame.
    static void calcPhotoAlbum(const XmlWebPhotoAlbum& album);
    static int heightForCaption(const XmlWebPhotoAlbum& album, int index);
    static int heightForCaptionRow(const XmlWebPhotoAlbum& album, int row);

    // The four rectangles of thumbnail index for photo pindex; totalRect is
    // left alone for a photo past the list.
    void calcPhotoObjectsPindexIndexTotalRectFrameRectThumbRectCaptionRect(const XmlBaseList& photos, int pindex, int index,
                                                                         lq::Rect& totalRect, lq::Rect& frameRect,
                                                                         lq::Rect& thumbRect, lq::Rect& captionRect);
    XmlWebPhotoAlbum::Cell cellRects(const XmlBaseList& photos, int pindex, int index);
    // Where thumbnail index would stand in mode 1's grid below the top.
    lq::Rect calcRawAfterRectTop(int index, int top);
    // Edits the selected floating photo's rectangle; false when none is selected.
    bool editSelectedFloating(const std::function<void(lq::Rect&)>& edit);
    // Mode 2: the collage box, then a rectangle (the frame's, or the whole
    // cell's with totals) of every floating photo.
    QStringList freestyleRects(bool totals);
    // The captions laid out for the page, and the click areas of their links
    // and of the thumbnails.
    void layoutCaptions(XmlBase* page);

private:
    XmlWebPhotoAlbum& _album;
};
