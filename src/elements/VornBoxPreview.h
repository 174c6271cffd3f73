#pragma once

#include "platform/Geometry.h"

#include <QString>

#include <memory>
#include <vector>

class XmlVornBox;

namespace lq {
class PreviewView;
}

// What stands for a Vorn Box's item on the layout canvas: the live view of
// a movie, an image or a snippet, the measured size of a QuickTime movie,
// and the placeholder drawn where no view can be shown.
class VornBoxPreview {
public:
    explicit VornBoxPreview(XmlVornBox& box)
        : _box(box)
    {
    }

    // A QuickTime movie: the box takes its size from the movie.
    static bool isQuickTime(const XmlVornBox& box);
    // The movie size used for the geometry: 100 for an unmeasured movie.
    static float movieWidth(const XmlVornBox& box);
    static float movieHeight(const XmlVornBox& box);

    // Whether the box shows as a live view: only while the template shows
    // previews, for movies, images and snippets. A Flash movie has no player
    // here and is drawn as a placeholder instead, as is a box whose kind of
    // view cannot be shown on this machine (PreviewView::canShow).
    bool requiresView();
    // A new view for the box (the caller owns it), or nothing.
    std::unique_ptr<lq::PreviewView> createView();
    // Measures a QuickTime box's movie into qtSize; nothing for other boxes or
    // a movie that cannot be read.
    void updateVorn();
    // Loads the existing view again.
    void reloadPage();

    // The diagonal lines of a placeholder over the rectangle, every 20
    // points from its top left corner, cut at its edges.
    struct Line {
        lq::Point start;
        lq::Point end;
    };
    static std::vector<Line> placeholderHatchLines(const lq::Rect& rect);
    // The hatching and the box's name and item over the rectangle.
    void drawPlaceholder(const lq::Rect& rect);

private:
    // "<folder>/files/<externalHTML>".
    QString movieFile();
    // Loads the movie into the view as the box's options say, then measures
    // it into qtSize; nothing when the movie cannot be read.
    void loadMovieIntoView(lq::PreviewView& view, bool hideAsStored);

    XmlVornBox& _box;
};
