#pragma once

#include "platform/Geometry.h"
#include "platform/MovieFile.h"

#include <QString>

#include <functional>
#include <memory>
#include <optional>

namespace lq {

// A live preview shown over the layout canvas in place of an element: a
// web page from an HTML string, or a movie. This class keeps everything the
// element asks of the view and serves as the view where no window shows
// (tests, the headless document, measuring); the user interface puts a
// factory that makes real views, which take the same requests and show them,
// in the services (Services::previewViewFactory).
class PreviewView {
public:
    enum class Kind { Web, Movie };

    // The height of the controller bar under a movie's picture.
    static constexpr float controllerHeight = 16;

    PreviewView(Kind kind, const Rect& frame);
    virtual ~PreviewView();

    PreviewView(const PreviewView&) = delete;
    PreviewView& operator=(const PreviewView&) = delete;

    Kind kind() const { return _kind; }

    // In page coordinates of the canvas.
    const Rect& frame() const { return _frame; }
    virtual void setFrame(const Rect& frame);
    bool isHidden() const { return _hidden; }
    virtual void setHidden(bool hidden);
    // The view shows itself again at the next redraw of the canvas.
    virtual void setNeedsDisplay();
    int displayRequests() const { return _displayRequests; }

    // --- Web page -----------------------------------------------------------
    // Without a background of its own the canvas shows through.
    bool drawsBackground() const { return _drawsBackground; }
    virtual void setDrawsBackground(bool draws);
    // The page last loaded; its own base address places its files.
    const QString& html() const { return _html; }
    virtual void loadHTMLString(const QString& html);
    int loads() const { return _loads; }

    // --- Movie ----------------------------------------------------------------
    const std::optional<Movie>& movie() const { return _movie; }
    virtual void setMovie(const Movie& movie);
    bool showsController() const { return _showsController; }
    virtual void setShowsController(bool shows);
    bool loops() const { return _loops; }
    virtual void setLoops(bool loops);
    bool isPlaying() const { return _playing; }
    virtual void play();
    // The view's size at magnification 1.0: the movie's picture with the
    // controller bar under it (the bar is always counted); (0, 0) without
    // a movie.
    Size naturalSize() const;

    // --- Making views ---------------------------------------------------------
    using Factory = std::function<std::unique_ptr<PreviewView>(Kind kind, const Rect& frame)>;
    // A view of the kind from the services' factory, or one of this class.
    static std::unique_ptr<PreviewView> make(Kind kind, const Rect& frame);

    // Whether live views of the kind can be shown here. Where the engine
    // behind a kind cannot run, the factory says so (with the reason, which
    // is logged once) and the elements draw their placeholder instead of
    // asking for a view. Setting a kind available again clears the reason.
    static bool canShow(Kind kind);
    static void setUnavailable(Kind kind, const QString& why);
    static void setAvailable(Kind kind);

private:
    Kind _kind;
    Rect _frame;
    bool _hidden = false;
    int _displayRequests = 0;
    bool _drawsBackground = true;
    QString _html;
    int _loads = 0;
    std::optional<Movie> _movie;
    bool _showsController = false;
    bool _loops = false;
    bool _playing = false;
};

} // namespace lq
