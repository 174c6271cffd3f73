// What stands for a Vorn Box's item on the layout canvas: the live preview
// views of movies, images and snippets, a movie's measured size, and the
// placeholder drawn for the rest.
#include "elements/XmlVornBox.h"

#include "model/core/DocumentBase.h"
#include "platform/ExceptionFrame.h"
#include "platform/PreviewView.h"
#include "platform/graphics/BezierPath.h"
#include "platform/graphics/GraphicsContext.h"
#include "platform/text/LayoutManager.h"
#include "platform/text/ParagraphStyle.h"
#include "platform/text/StyledText.h"
#include "platform/text/TextContainer.h"
#include "templates/XmlStyleSheet.h"

namespace {

// Distance between the placeholder's hatching lines.
constexpr float hatchStep = 20.0f;

// The size of a movie that was never measured.
constexpr float unmeasuredMovie = 100.0f;

} // namespace

bool XmlVornBox::isQuickTime() const
{
    return type() == 0 && _settings.externalType() == 1;
}

float XmlVornBox::movieWidth() const
{
    if (_settings.qtSize().width == 0)
        return unmeasuredMovie;
    return _settings.qtSize().width;
}

float XmlVornBox::movieHeight() const
{
    if (_settings.qtSize().width == 0 && _settings.qtSize().height == 0)
        return unmeasuredMovie;
    return _settings.qtSize().height;
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
        if (type() == 0 && _settings.externalType() == 1)
            return lq::PreviewView::canShow(lq::PreviewView::Kind::Movie);
        if ((type() == 0 && _settings.externalType() == 3) || type() == 2)
            return lq::PreviewView::canShow(lq::PreviewView::Kind::Web);
        return false;
    });
}

QString XmlVornBox::movieFile()
{
    return rootDir() + QStringLiteral("/files/") + _settings.externalHTML();
}

void XmlVornBox::loadMovieIntoView(lq::PreviewView& view, bool hideAsStored)
{
    const std::optional<lq::Movie> movie = lq::Movie::open(movieFile());
    if (!movie)
        return;
    view.setMovie(*movie);
    view.setShowsController(_settings.moviecontroller());
    view.setLoops(false);
    if (hideAsStored && _settings.hiddenQT() != 0)
        view.setHidden(true);
    if (_settings.autostart())
        view.play();
    lq::Size size = view.naturalSize();
    if (!_settings.moviecontroller())
        size.height -= lq::PreviewView::controllerHeight;
    _settings.setQTSize(size);
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
        lq::PreviewView* view = document ? document->getWidgetView(vornSeqNum()) : nullptr;
        if (!view)
            return;
        if (isQuickTime())
            loadMovieIntoView(*view, false);
        else
            view->loadHTMLString(htmlString());
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
    paragraph.tabStops = lq::standardTabStops();
    paragraph.alignment = lq::TextAlignment::Center;
    lq::TextAttributes attributes;
    attributes.paragraphStyle = paragraph;
    attributes.font = lq::Font::helvetica(13);
    attributes.foregroundColour = lq::Colour::black();
    _contents->setText(lq::StyledText(fullname() + QStringLiteral("\n") + _settings.externalHTML(), attributes));
    const lq::Rect inner = internalRect();
    _tc->setContainerSize(QSizeF(inner.width(), unboundedExtent));
    const lq::Range glyphs = _lm->glyphRangeForTextContainer(_tc.get());
    if (glyphs.length == 0 || !context)
        return;
    const int labelHeight = lq::truncatedPixel(_lm->usedRectForTextContainer(_tc.get()).height());
    context->setFillColor(lq::Colour::white());
    context->fillRect(lq::Rect(inner.x(), inner.y(), inner.width(), float(labelHeight)));
    _lm->drawGlyphsForGlyphRange(glyphs, inner.origin.toQPointF(), &context->painter());
}

