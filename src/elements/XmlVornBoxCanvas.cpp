// The Vorn Box on the layout canvas: the live preview views of movies,
// images and snippets, the placeholder drawn for the rest, and the
// pointer over the rich text's links.
#include "elements/XmlVornBox.h"

#include "model/core/DocumentBase.h"
#include "platform/ExceptionFrame.h"
#include "platform/PreviewView.h"
#include "platform/graphics/BezierPath.h"
#include "platform/graphics/GraphicsContext.h"
#include "platform/text/LayoutManager.h"
#include "platform/text/StyledText.h"
#include "platform/text/TextContainer.h"
#include "templates/XmlStyleSheet.h"
#include "templates/XmlWebFont.h"



namespace {

// Distance between the placeholder's hatching lines.
constexpr float hatchStep = 20.0f;

} // namespace

// --- Previews ----------------------------------------------------------------------------------

bool XmlVornBox::requiresView()
{
    return lq::modelFrame(this, "requiresView", [&] {
        XmlStyleSheet* sheet = XmlStyleSheet::cast(_parent);
        if (!sheet || !sheet->showVornViews())
            return false;
        // No Flash player exists here: a Flash box keeps its placeholder, as
        // every box does whose kind of view cannot be shown on this machine.
        if (_type == 0 && _externalType == 1)
            return lq::PreviewView::canShow(lq::PreviewView::Kind::Movie);
        if ((_type == 0 && _externalType == 3) || _type == 2)
            return lq::PreviewView::canShow(lq::PreviewView::Kind::Web);
        return false;
    });
}

QString XmlVornBox::movieFile()
{
    return rootDir() + QStringLiteral("/files/") + _externalHTML;
}

void XmlVornBox::loadMovieIntoView(lq::PreviewView& view, bool hideAsStored)
{
    const std::optional<lq::Movie> movie = lq::Movie::open(movieFile());
    if (!movie)
        return;
    view.setMovie(*movie);
    view.setShowsController(_moviecontroller);
    view.setLoops(false);
    if (hideAsStored && _hiddenQT != 0)
        view.setHidden(true);
    if (_autostart)
        view.play();
    lq::Size size = view.naturalSize();
    if (!_moviecontroller)
        size.height -= lq::PreviewView::controllerHeight;
    setQTSize(size);
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
        lq::PreviewView* view = document ? document->getWidgetView(_vornSeqNum) : nullptr;
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
    paragraph.tabStops = lqTabStops();
    paragraph.alignment = lq::TextAlignment::Center;
    lq::TextAttributes attributes;
    attributes.paragraphStyle = paragraph;
    attributes.font = lq::Font::helvetica(13);
    attributes.foregroundColour = lq::Colour::black();
    _contents->setText(lq::StyledText(fullname() + QStringLiteral("\n") + _externalHTML, attributes));
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

void XmlVornBox::drawObject(const lq::Rect& rect)
{
    lq::modelFrame(this, "drawObject:", [&] {
        XmlWebText::drawObject(rect);
        createTextLayoutStuff();
        if (_type == 1 || _type == 3)
            return;
        if (requiresView()) {
            DocumentBase* document = myDocument();
            if (lq::PreviewView* view = document ? document->getWidgetView(_vornSeqNum) : nullptr)
                view->setNeedsDisplay();
            return;
        }
        drawPlaceholder(rect);
    });
}

void XmlVornBox::drawText()
{
    lq::modelFrame(this, "drawText", [&] {
        if (_type == 1)
            XmlWebText::drawText();
    });
}

void XmlVornBox::showLinkColour(const QString& data, bool hover, bool clicked)
{
    if (!_contents || !_lm)
        return;
    const lq::Range range = lq::Range::fromString(data);
    if (range.length == 0 || range.end() > _contents->length())
        return;
    if (hover || clicked) {
        const int kind = _contents->attributesAt(range.location).value(lq::TextKey::type).toInt();
        const std::shared_ptr<XmlWebFont> record = contentRecord(kind >= 1 && kind <= 3 ? kind : 0);
        if (record)
            _lm->addTemporaryForegroundColour(clicked ? record->linkClicked() : record->linkHover(), range);
    } else {
        _lm->removeTemporaryForegroundColour(range);
    }
    if (DocumentBase* document = myDocument())
        document->redisplayRect(objectRect());
}

void XmlVornBox::mouseEntered(const QString& data)
{
    lq::modelFrame(this, "mouseEntered:", [&] { showLinkColour(data, true, false); });
}

void XmlVornBox::mouseExited(const QString& data)
{
    lq::modelFrame(this, "mouseExited:", [&] { showLinkColour(data, false, false); });
}

void XmlVornBox::mouseDown(const QString& data)
{
    lq::modelFrame(this, "mouseDown:", [&] { showLinkColour(data, false, true); });
}

void XmlVornBox::mouseClick(const QString& data)
{
    lq::modelFrame(this, "mouseClick:", [&] {
        if (!_contents)
            return;
        const lq::Range range = lq::Range::fromString(data);
        if (range.location >= _contents->length())
            return;
        const QVariant location = _contents->attributesAt(range.location).value(lq::TextKey::linkLocation);
        if (!location.isValid())
            return;
        XmlWebText::mouseClick(location.toString());
    });
}
