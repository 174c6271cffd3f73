// What stands for a Vorn Box's item on the layout canvas: the live preview
// views of movies, images and snippets, a movie's measured size, and the
// placeholder drawn for the rest.
#include "elements/VornBoxPreview.h"

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

bool VornBoxPreview::isQuickTime(const XmlVornBox& box)
{
    return box._type == 0 && box._externalType == 1;
}

float VornBoxPreview::movieWidth(const XmlVornBox& box)
{
    if (box._qtSize.width == 0)
        return unmeasuredMovie;
    return box._qtSize.width;
}

float VornBoxPreview::movieHeight(const XmlVornBox& box)
{
    if (box._qtSize.width == 0 && box._qtSize.height == 0)
        return unmeasuredMovie;
    return box._qtSize.height;
}

// --- Previews ----------------------------------------------------------------------------------

bool VornBoxPreview::requiresView()
{
    return lq::modelFrame(&_box, "requiresView", [&] {
        XmlStyleSheet* sheet = XmlStyleSheet::cast(_box._parent);
        if (!sheet || !sheet->showVornViews())
            return false;
        // No Flash player exists here: a Flash box keeps its placeholder, as
        // every box does whose kind of view cannot be shown on this machine.
        if (_box._type == 0 && _box._externalType == 1)
            return lq::PreviewView::canShow(lq::PreviewView::Kind::Movie);
        if ((_box._type == 0 && _box._externalType == 3) || _box._type == 2)
            return lq::PreviewView::canShow(lq::PreviewView::Kind::Web);
        return false;
    });
}

QString VornBoxPreview::movieFile()
{
    return _box.rootDir() + QStringLiteral("/files/") + _box._externalHTML;
}

void VornBoxPreview::loadMovieIntoView(lq::PreviewView& view, bool hideAsStored)
{
    const std::optional<lq::Movie> movie = lq::Movie::open(movieFile());
    if (!movie)
        return;
    view.setMovie(*movie);
    view.setShowsController(_box._moviecontroller);
    view.setLoops(false);
    if (hideAsStored && _box._hiddenQT != 0)
        view.setHidden(true);
    if (_box._autostart)
        view.play();
    lq::Size size = view.naturalSize();
    if (!_box._moviecontroller)
        size.height -= lq::PreviewView::controllerHeight;
    _box.setQTSize(size);
}

std::unique_ptr<lq::PreviewView> VornBoxPreview::createView()
{
    return lq::modelFrame(&_box, "createView", [&]() -> std::unique_ptr<lq::PreviewView> {
        if (!requiresView())
            return nullptr;
        if (isQuickTime(_box)) {
            std::unique_ptr<lq::PreviewView> view = lq::PreviewView::make(lq::PreviewView::Kind::Movie, _box.internalRect());
            loadMovieIntoView(*view, true);
            return view;
        }
        std::unique_ptr<lq::PreviewView> view = lq::PreviewView::make(lq::PreviewView::Kind::Web, _box.internalRect());
        view->setDrawsBackground(false);
        view->loadHTMLString(_box.htmlString());
        return view;
    });
}

void VornBoxPreview::updateVorn()
{
    lq::modelFrame(&_box, "updateVorn", [&] {
        if (!isQuickTime(_box))
            return;
        // A view of this class measures without showing anything.
        lq::PreviewView view(lq::PreviewView::Kind::Movie, _box.internalRect());
        loadMovieIntoView(view, true);
    });
}

void VornBoxPreview::reloadPage()
{
    lq::modelFrame(&_box, "reloadPage", [&] {
        if (!requiresView())
            return;
        DocumentBase* document = _box.myDocument();
        lq::PreviewView* view = document ? document->getWidgetView(_box._vornSeqNum) : nullptr;
        if (!view)
            return;
        if (isQuickTime(_box))
            loadMovieIntoView(*view, false);
        else
            view->loadHTMLString(_box.htmlString());
    });
}

// --- Canvas ------------------------------------------------------------------------------------

std::vector<VornBoxPreview::Line> VornBoxPreview::placeholderHatchLines(const lq::Rect& rect)
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

void VornBoxPreview::drawPlaceholder(const lq::Rect& rect)
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
    _box._contents->setText(lq::StyledText(_box.fullname() + QStringLiteral("\n") + _box._externalHTML, attributes));
    const lq::Rect inner = _box.internalRect();
    _box._tc->setContainerSize(QSizeF(inner.width(), _box.unboundedExtent));
    const lq::Range glyphs = _box._lm->glyphRangeForTextContainer(_box._tc.get());
    if (glyphs.length == 0 || !context)
        return;
    const int labelHeight = lq::truncatedPixel(_box._lm->usedRectForTextContainer(_box._tc.get()).height());
    context->setFillColor(lq::Colour::white());
    context->fillRect(lq::Rect(inner.x(), inner.y(), inner.width(), float(labelHeight)));
    _box._lm->drawGlyphsForGlyphRange(glyphs, inner.origin.toQPointF(), &context->painter());
}

