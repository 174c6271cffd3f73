#include "model/imaging/XmlWatermark.h"

#include "platform/ExceptionFrame.h"
#include "platform/Log.h"
#include "platform/Strings.h"
#include "platform/ValueStrings.h"
#include "platform/graphics/GraphicsContext.h"
#include "platform/text/LayoutManager.h"
#include "platform/text/StyledText.h"
#include "platform/text/TextContainer.h"

using namespace lq::literals;

namespace {

constexpr qreal unbounded = 100000.0;

lq::TextContainer* firstContainer(lq::LayoutManager& layout)
{
    return layout.textContainers().front().get();
}

} // namespace

XmlWatermark::XmlWatermark(Key key)
    : XmlDraw(key)
{
    setHaveContent(true);
}

std::shared_ptr<XmlWatermark> XmlWatermark::create()
{
    return make<XmlWatermark>();
}

QString XmlWatermark::elementName() const
{
    return QStringLiteral("IWwatermark");
}

void XmlWatermark::setAttributeTo(const QString& key, const QString& value)
{
    lq::modelFrame(this, "setAttribute:to:", [&] {
        if (key == u"placement"_sv)
            setPlacement(lq::intValue(value));
        else if (key == u"textsize"_sv)
            setTextSize(lq::floatValue(value));
        else if (key == u"textcolor"_sv)
            setTextColor(lq::stringToColor(value).value_or(lq::Colour::black()));
        else
            XmlDraw::setAttributeTo(key, value);
    });
}

void XmlWatermark::appendAttributes(QString& xml)
{
    lq::modelFrame(this, "appendAttributes:", [&] {
        XmlDraw::appendAttributes(xml);
        xml += QString::asprintf(" placement=\"%d\"", _placement);
        xml += QString::asprintf(" textsize=\"%f\"", static_cast<double>(_textSize));
        xml += QStringLiteral(" textcolor=\"%1\"").arg(lq::colorToString(_textColor));
    });
}

void XmlWatermark::reset()
{
    _placement = 0;
    _textSize = 24.0f;
}

void XmlWatermark::setPlacement(int placement)
{
    _placement = placement;
    docChanged();
}

void XmlWatermark::setTextSize(float size)
{
    _textSize = size;
    docChanged();
}

void XmlWatermark::setTextColor(const lq::Colour& colour)
{
    _textColor = colour;
    docChanged();
}

void XmlWatermark::setTextColorWithoutAlpha(const lq::Colour& colour)
{
    _textColor = lq::Colour(colour.r, colour.g, colour.b, _textColor.a);
    docChanged();
}

void XmlWatermark::setTextAlpha(float alpha)
{
    _textColor.a = alpha;
    docChanged();
}

lq::LayoutManager& XmlWatermark::make_text_layout()
{
    static lq::LayoutManager* layout = [] {
        static lq::LayoutManager manager;
        manager.addTextContainer(std::make_shared<lq::TextContainer>(QSizeF(1.0e6, 1.0e6)));
        return &manager;
    }();
    return *layout;
}

float XmlWatermark::drawingTextSize() const
{
    if (_variableSizeText != 0)
        return (savedBounds.height() + savedBounds.width()) / static_cast<float>(_variableSizeText);
    return _textSize;
}

QSizeF XmlWatermark::layOutText(float size, const std::shared_ptr<lq::StyledText>& storage, bool* any)
{
    lq::TextAttributes attributes;
    attributes.font = lq::Font(QStringLiteral("Helvetica-Bold"), size);
    attributes.foregroundColour = _textColor;
    storage->setText(lq::StyledText(content(), attributes));

    lq::LayoutManager& layout = make_text_layout();
    lq::TextContainer* container = firstContainer(layout);
    if (_placement == 6 || _placement == 7)
        container->setContainerSize(QSizeF(savedBounds.width(), unbounded));
    else if (_placement == 8 || _placement == 9)
        container->setContainerSize(QSizeF(savedBounds.height(), unbounded));
    else
        container->setContainerSize(QSizeF(unbounded, unbounded));
    layout.setTextStorage(storage);
    const lq::Range glyphs = layout.glyphRangeForCharacterRange({ 0, storage->length() });
    *any = glyphs.length > 0;
    if (!*any)
        return QSizeF();
    return layout.boundingRectForGlyphRange(glyphs, container).size();
}

lq::Rect XmlWatermark::boundingRect(const lq::Rect& rect)
{
    return lq::modelFrame(this, "boundingRect:", [&] {
        savedBounds = rect;
        if (_placement < 6 || content().isEmpty())
            return rect;
        auto storage = std::make_shared<lq::StyledText>();
        bool any = false;
        const QSizeF box = layOutText(_textSize, storage, &any);
        make_text_layout().setTextStorage(nullptr);
        if (!any)
            return rect;
        const float th = static_cast<float>(box.height());
        lq::Rect r = rect;
        switch (_placement) {
        case 6:
            r.size.height += th;
            break;
        case 7:
            r.origin.y -= th;
            r.size.height += th;
            break;
        case 8:
            r.origin.x -= th;
            r.size.width += th;
            break;
        case 9:
            r.size.width += th;
            break;
        default:
            break;
        }
        return r;
    });
}

void XmlWatermark::draw()
{
    lq::modelFrame(this, "draw", [&] {
        lq::GraphicsContext* context = lq::GraphicsContext::current();
        if (!context || content().isEmpty() || _placement <= 0 || _placement > 9)
            return;
        auto storage = std::make_shared<lq::StyledText>();
        bool any = false;
        const QSizeF box = layOutText(drawingTextSize(), storage, &any);
        lq::LayoutManager& layout = make_text_layout();
        if (any) {
            const qreal tw = box.width();
            const qreal th = box.height();
            const lq::Rect& f = savedBounds;
            const lq::Range glyphs { 0, storage->length() };
            const auto drawCopy = [&] { layout.drawGlyphsForGlyphRange(glyphs, QPointF(0, 0), &context->painter()); };
            const auto rotateThenMove = [](qreal degrees, qreal dx, qreal dy) {
                return QTransform().rotate(degrees) * QTransform::fromTranslate(dx, dy);
            };
            lq::GraphicsContext::SavedState saved;
            switch (_placement) {
            case 1:
                context->concat(QTransform::fromTranslate((f.width() - tw) * 0.5 + f.x(), (f.height() - th) * 0.5 + f.y()));
                drawCopy();
                break;
            case 2:
                context->concat(QTransform::fromTranslate(f.x(), f.y()));
                drawCopy();
                for (int copy = 0; copy < 2; ++copy) {
                    context->concat(QTransform::fromTranslate((f.width() - tw) * 0.5, (f.height() - th) * 0.5));
                    drawCopy();
                }
                break;
            case 3:
            case 4: {
                const qreal d = tw * 0.707 + th * 0.707;
                context->concat(rotateThenMove(-45, (f.width() - d) * 0.5 + f.x(), (d + f.height()) * 0.5 + f.y() + th * -0.5));
                drawCopy();
                if (_placement == 4) {
                    context->concat(QTransform::fromTranslate(f.height() * -0.25, f.height() * -0.25));
                    drawCopy();
                    context->concat(QTransform::fromTranslate(f.height() * 0.5, f.height() * 0.5));
                    drawCopy();
                }
                break;
            }
            case 5:
                context->concat(QTransform::fromTranslate(f.x() + f.width() + tw * -1.1, f.height() - th + f.y()));
                drawCopy();
                break;
            case 6:
                context->concat(QTransform::fromTranslate(f.x(), f.y() + f.height() - th));
                drawCopy();
                break;
            case 7:
                context->concat(QTransform::fromTranslate(f.x(), f.y() - th));
                drawCopy();
                break;
            case 8:
                context->concat(rotateThenMove(-90, f.x() - th, f.y() + f.height()));
                drawCopy();
                break;
            case 9:
                context->concat(rotateThenMove(-90, f.x() + f.width() - th, f.y() + f.height()));
                drawCopy();
                break;
            default:
                break;
            }
        }
        layout.setTextStorage(nullptr);
    });
}
