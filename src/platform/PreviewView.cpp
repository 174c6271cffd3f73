#include "platform/PreviewView.h"

namespace lq {

namespace {

PreviewView::Factory& installedFactory()
{
    static PreviewView::Factory factory;
    return factory;
}

} // namespace

PreviewView::PreviewView(Kind kind, const Rect& frame)
    : _kind(kind)
    , _frame(frame)
{
}

PreviewView::~PreviewView() = default;

void PreviewView::setFrame(const Rect& frame)
{
    _frame = frame;
}

void PreviewView::setHidden(bool hidden)
{
    _hidden = hidden;
}

void PreviewView::setNeedsDisplay()
{
    ++_displayRequests;
}

void PreviewView::setDrawsBackground(bool draws)
{
    _drawsBackground = draws;
}

void PreviewView::loadHTMLString(const QString& html)
{
    _html = html;
    ++_loads;
}

void PreviewView::setMovie(const Movie& movie)
{
    _movie = movie;
    _playing = false;
}

void PreviewView::setShowsController(bool shows)
{
    _showsController = shows;
}

void PreviewView::setLoops(bool loops)
{
    _loops = loops;
}

void PreviewView::play()
{
    if (_movie)
        _playing = true;
}

Size PreviewView::naturalSize() const
{
    if (!_movie)
        return Size();
    return Size(_movie->naturalSize.width, _movie->naturalSize.height + controllerHeight);
}

std::unique_ptr<PreviewView> PreviewView::make(Kind kind, const Rect& frame)
{
    if (const Factory& factory = installedFactory()) {
        if (std::unique_ptr<PreviewView> view = factory(kind, frame))
            return view;
    }
    return std::make_unique<PreviewView>(kind, frame);
}

void PreviewView::setFactory(Factory factory)
{
    installedFactory() = std::move(factory);
}

} // namespace lq
