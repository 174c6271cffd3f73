#include "platform/PreviewView.h"

#include "platform/Log.h"
#include "platform/Services.h"

namespace lq {

namespace {

QString& reasonFor(PreviewView::Kind kind)
{
    return services().previewUnavailability[kind == PreviewView::Kind::Web ? 0 : 1];
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
    if (const Factory& factory = services().previewViewFactory) {
        if (std::unique_ptr<PreviewView> view = factory(kind, frame))
            return view;
    }
    return std::make_unique<PreviewView>(kind, frame);
}

bool PreviewView::canShow(Kind kind)
{
    return reasonFor(kind).isEmpty();
}

void PreviewView::setUnavailable(Kind kind, const QString& why)
{
    QString& reason = reasonFor(kind);
    if (reason == why)
        return;
    reason = why.isEmpty() ? QStringLiteral("unavailable") : why;
    lq::log((kind == Kind::Web ? QStringLiteral("Web previews are drawn as placeholders: ") : QStringLiteral("Movie previews are drawn as placeholders: "))
            + reason);
}

void PreviewView::setAvailable(Kind kind)
{
    reasonFor(kind).clear();
}

} // namespace lq
