#include "model/imaging/XmlDrawObject.h"

#include "platform/Codecs.h"
#include "platform/Exception.h"
#include "platform/ExceptionFrame.h"
#include "platform/Log.h"
#include "platform/Strings.h"
#include "platform/ValueStrings.h"
#include "platform/graphics/GraphicsContext.h"
#include "platform/text/InPlaceTextEditor.h"
#include "platform/text/LayoutManager.h"
#include "platform/text/RtfCodec.h"
#include "platform/text/TextContainer.h"

#include <algorithm>
#include <cmath>

using namespace lq::literals;

namespace {

// The layout manager that draws every callout's text, with its one container.
struct TextDrawing {
    lq::LayoutManager layout;
    std::shared_ptr<lq::TextContainer> container = std::make_shared<lq::TextContainer>(QSizeF(1000000, 1000000));

    static TextDrawing& shared()
    {
        static TextDrawing drawing;
        return drawing;
    }

private:
    TextDrawing() { layout.addTextContainer(container); }
};

// The editing view lent to one edit at a time.
struct SharedEditor {
    std::unique_ptr<lq::InPlaceTextEditor> view;
    bool inUse = false;

    static SharedEditor& shared()
    {
        static SharedEditor editor;
        return editor;
    }
};

QString encodeText(const lq::StyledText& text)
{
    return lq::base64EncodeText(lq::RtfCodec::toRtf(text));
}

} // namespace

XmlDrawObject::XmlDrawObject(Key key)
    : XmlDraw(key)
    , pi(2.0f * std::acos(0.0f))
    , _contents(std::make_shared<lq::StyledText>(QStringLiteral("Insert Text here")))
{
    setHaveContent(true);
    // The default text is encoded when first written.
    _contentsRevision = _contents->revision() + 1;
}

XmlDrawObject::~XmlDrawObject()
{
    if (_editor) {
        _editor->close();
        if (_editor == SharedEditor::shared().view.get())
            SharedEditor::shared().inUse = false;
    }
}

std::shared_ptr<XmlDrawObject> XmlDrawObject::create()
{
    return make<XmlDrawObject>();
}

QString XmlDrawObject::elementName() const
{
    return QStringLiteral("IWdrawobject");
}

void XmlDrawObject::setAttributeTo(const QString& key, const QString& value)
{
    lq::modelFrame(this, "setAttribute:to:", [&] {
        if (key == u"bodyrect"_sv)
            setBodyRect(lq::stringToRect(value));
        else if (key == u"anchor"_sv)
            setAnchorPoint(lq::stringToPoint(value));
        else if (key == u"tail"_sv)
            setTailPoint(lq::stringToPoint(value));
        else if (key == u"backgroundcolor"_sv)
            setBackgroundColor(lq::stringToColor(value).value_or(lq::Colour::black()));
        else if (key == u"foregroundcolor"_sv)
            setForegroundColor(lq::stringToColor(value).value_or(lq::Colour::black()));
        else if (key == u"thickness"_sv)
            setThickness(lq::floatValue(value));
        else
            XmlDraw::setAttributeTo(key, value);
    });
}

void XmlDrawObject::appendAttributes(QString& xml)
{
    lq::modelFrame(this, "appendAttributes:", [&] {
        XmlDraw::appendAttributes(xml);
        xml += QStringLiteral(" bodyrect=\"%1\"").arg(lq::rectToString(storedBodyRect()));
        if (hasAnchorPoint())
            xml += QStringLiteral(" anchor=\"%1\"").arg(lq::pointToString(_anchorPoint));
        if (hasTailPoint())
            xml += QStringLiteral(" tail=\"%1\"").arg(lq::pointToString(_tailPoint));
        xml += QString::asprintf(" thickness=\"%f\"", static_cast<double>(_thickness));
        xml += QStringLiteral(" backgroundcolor=\"%1\"").arg(lq::colorToString(_backgroundColor));
        xml += QStringLiteral(" foregroundcolor=\"%1\"").arg(lq::colorToString(_foregroundColor));
    });
}

QString XmlDrawObject::writeXmlVorns()
{
    return lq::modelFrame(this, "writeXmlVorns", [&] {
        if (haveContent())
            syncToContent();
        return XmlDraw::writeXmlVorns();
    });
}

// --- The text ---------------------------------------------------------------------------------

void XmlDrawObject::syncFromContent() const
{
    const QString& stored = XmlBase::content();
    if (stored == _contentsSource)
        return;
    const std::optional<lq::StyledText> decoded = lq::RtfCodec::fromRtf(lq::base64DecodeText(stored));
    // A new storage, as any editing view holds on to the one it was given.
    _contents = std::make_shared<lq::StyledText>(decoded.value_or(lq::StyledText()));
    _undecoded = !decoded.has_value();
    _contentsSource = stored;
    _contentsRevision = _contents->revision();
}

void XmlDrawObject::syncToContent() const
{
    syncFromContent();
    if (_contents->revision() == _contentsRevision)
        return;
    auto* self = const_cast<XmlDrawObject*>(this);
    self->mutableContent() = encodeText(*_contents);
    _contentsSource = XmlBase::content();
    _contentsRevision = _contents->revision();
    _undecoded = false;
}

const QString& XmlDrawObject::content() const
{
    return lq::modelFrame(this, "content", [&]() -> const QString& {
        syncToContent();
        return XmlBase::content();
    });
}

void XmlDrawObject::setContent(const QString& content)
{
    lq::modelFrame(this, "setContent:", [&] {
        // The base stores the text and marks the document changed; the
        // styled text follows it.
        XmlDraw::setContent(content);
        syncFromContent();
    });
}

const std::shared_ptr<lq::StyledText>& XmlDrawObject::contents() const
{
    syncFromContent();
    return _contents;
}

bool XmlDrawObject::keepsUndecodedContent() const
{
    syncToContent();
    return _undecoded;
}

void XmlDrawObject::setDefaultFontSize(int size)
{
    lq::modelFrame(this, "setDefaultFontSize:", [&] {
        const std::optional<lq::Font> font = lq::Font::withName(QStringLiteral("Helvetica"), size);
        if (!font) {
            lq::log(QStringLiteral("No Helvetica Font installed"));
            return;
        }
        const std::shared_ptr<lq::StyledText>& text = contents();
        lq::TextAttributes attributes;
        attributes.font = *font;
        text->addAttributes(attributes, { 0, text->length() });
    });
}

// --- Geometry and colours ---------------------------------------------------------------------

lq::Rect XmlDrawObject::bodyRect() const
{
    return _objectBodyRect;
}

void XmlDrawObject::setBodyRect(const lq::Rect& rect)
{
    setStored(_objectBodyRect, rect.integral(), "setBodyRect:");
}

void XmlDrawObject::setAnchorPoint(const lq::Point& point)
{
    _anchorPoint = point;
    docChanged();
}

void XmlDrawObject::setTailPoint(const lq::Point& point)
{
    _tailPoint = point;
    docChanged();
}

void XmlDrawObject::setBackgroundColor(const lq::Colour& colour)
{
    setStored(_backgroundColor, colour, "setBackgroundColor:");
}

void XmlDrawObject::setForegroundColor(const lq::Colour& colour)
{
    setStored(_foregroundColor, colour, "setForegroundColor:");
}

void XmlDrawObject::setThickness(float thickness)
{
    setStored(_thickness, thickness, "setThickness:");
}

lq::Rect XmlDrawObject::boundingRect(const lq::Rect& rect)
{
    return lq::modelFrame(this, "boundingRect:", [&] {
        lq::Rect r = unionRectWithRect(bodyRect(), rect);
        if (hasAnchorPoint())
            r = unionRectWithPoint(r, _anchorPoint);
        if (hasTailPoint())
            r = unionRectWithPoint(r, _tailPoint);
        return r;
    });
}

lq::Rect XmlDrawObject::unionRectWithRect(const lq::Rect& a, const lq::Rect& b)
{
    if (a == b)
        return a;
    if (a.isZero())
        return b;
    if (b.isZero())
        return a;
    const float left = std::min(a.minX(), b.minX());
    const float top = std::min(a.minY(), b.minY());
    return lq::Rect(left, top, std::max(a.maxX(), b.maxX()) - left, std::max(a.maxY(), b.maxY()) - top);
}

lq::Rect XmlDrawObject::unionRectWithPoint(const lq::Rect& r, const lq::Point& p)
{
    const float left = std::min(p.x, r.x());
    const float top = std::min(p.y, r.y());
    const float right = std::max(p.x, r.maxX());
    const float bottom = std::max(p.y, r.maxY());
    return lq::Rect(left, top, right - left, bottom - top);
}

// --- Drawing helpers of the kinds -------------------------------------------------------------

void XmlDrawObject::fillThenStroke(lq::BezierPath& path, float width) const
{
    lq::GraphicsContext* context = lq::GraphicsContext::current();
    if (!context)
        return;
    context->setColor(_backgroundColor);
    path.fill();
    strokeWith(path, width);
}

void XmlDrawObject::strokeWith(lq::BezierPath& path, float width) const
{
    lq::GraphicsContext* context = lq::GraphicsContext::current();
    if (!context)
        return;
    context->setColor(_foregroundColor);
    path.setLineWidth(width);
    path.stroke();
}

void XmlDrawObject::appendHead(lq::BezierPath& path, const lq::Point& at, float angle) const
{
    const float side = pi / 9.0f;
    path.moveTo(at);
    path.lineTo(lq::Point(at.x - 10.0f * std::cos(angle - side), at.y - 10.0f * std::sin(angle - side)));
    path.lineTo(lq::Point(at.x - 10.0f * std::cos(angle + side), at.y - 10.0f * std::sin(angle + side)));
    path.closePath();
}

// --- Text drawing -----------------------------------------------------------------------------

void XmlDrawObject::DrawTextContents()
{
    lq::modelFrame(this, "DrawTextContents", [&] {
        lq::GraphicsContext* context = lq::GraphicsContext::current();
        if (!context || !hasTextbox() || isEditing())
            return;
        const std::shared_ptr<lq::StyledText>& text = contents();
        if (text->isEmpty())
            return;
        const lq::Rect r = textRect();
        TextDrawing& drawing = TextDrawing::shared();
        drawing.container->setContainerSize(QSizeF(r.width(), 1000000));
        drawing.layout.setTextStorage(text);
        const lq::Range glyphs = drawing.layout.glyphRangeForBoundingRect(QRectF(0, 0, r.width(), r.height()),
                                                                          drawing.container.get());
        if (glyphs.length > 0)
            drawing.layout.drawGlyphsForGlyphRange(glyphs, QPointF(r.x(), r.y()), &context->painter());
        drawing.layout.setTextStorage(nullptr);
    });
}

// --- Editing ----------------------------------------------------------------------------------

void XmlDrawObject::startEditingWithEventInViewWithTransformAndScale(QEvent* event, QObject* view,
                                                                     const QTransform& transform, float scale)
{
    lq::modelFrame(this, "startEditingWithEvent:inView:withTransform:andScale:", [&] {
        if (!hasTextbox() || _editor)
            return;
        if (scale == 0)
            lq::raise(QStringLiteral("Divide By 0"), QStringLiteral("scale = 0"));
        SharedEditor& shared = SharedEditor::shared();
        if (!shared.inUse) {
            if (!shared.view)
                shared.view = lq::InPlaceTextEditor::make();
            if (!shared.view)
                return;
            shared.inUse = true;
            _editor = shared.view.get();
        } else {
            _ownEditor = lq::InPlaceTextEditor::make();
            if (!_ownEditor)
                return;
            _editor = _ownEditor.get();
        }
        const lq::Rect r = textRect();
        const QRectF frame = transform.mapRect(r.toQRectF());
        _editor->open(view, contents(), r.width(), frame, scale);
        _editor->setTextDidChange([this] { textDidChange(); });
        _editor->focus(event);
    });
}

void XmlDrawObject::endEditingInView()
{
    lq::modelFrame(this, "endEditingInView", [&] {
        if (!hasTextbox() || !_editor)
            return;
        _editor->setTextDidChange(nullptr);
        _editor->close();
        SharedEditor& shared = SharedEditor::shared();
        if (_editor == shared.view.get())
            shared.inUse = false;
        else
            _ownEditor.reset();
        _editor = nullptr;
    });
}

bool XmlDrawObject::isEditing() const
{
    return hasTextbox() && _editor != nullptr;
}

void XmlDrawObject::setAlignmentInViewWithTransformAndScale(int alignment, QObject* view, const QTransform& transform,
                                                            float scale)
{
    lq::modelFrame(this, "setAlignment:inView:withTransform:andScale:", [&] {
        if (!hasTextbox())
            return;
        const bool opened = !_editor;
        if (opened)
            startEditingWithEventInViewWithTransformAndScale(nullptr, view, transform, scale);
        if (_editor) {
            _editor->setAlignment(lq::ParagraphStyle::alignmentFromCode(alignment));
        } else {
            // No editing view can be made: the whole text takes the alignment.
            const std::shared_ptr<lq::StyledText>& text = contents();
            for (const lq::AttributeRun& run : text->runs()) {
                lq::TextAttributes attributes;
                attributes.paragraphStyle = run.attributes.paragraphStyle.value_or(lq::ParagraphStyle::defaultStyle());
                attributes.paragraphStyle->alignment = lq::ParagraphStyle::alignmentFromCode(alignment);
                text->addAttributes(attributes, run.range);
            }
        }
        if (opened)
            endEditingInView();
    });
}

int XmlDrawObject::getAlignmentInViewWithTransformAndScale(QObject* view, const QTransform& transform, float scale)
{
    return lq::modelFrame(this, "getAlignmentInView:withTransform:andScale:", [&] {
        if (!hasTextbox())
            return 0;
        const bool opened = !_editor;
        if (opened)
            startEditingWithEventInViewWithTransformAndScale(nullptr, view, transform, scale);
        int alignment = 0;
        if (_editor) {
            alignment = static_cast<int>(_editor->alignment());
        } else {
            const std::shared_ptr<lq::StyledText>& text = contents();
            const lq::TextAttributes first = text->isEmpty() ? lq::TextAttributes() : text->attributesAt(0);
            alignment = first.paragraphStyle ? first.paragraphStyle->alignmentCode()
                                             : static_cast<int>(lq::TextAlignment::Natural);
        }
        if (opened)
            endEditingInView();
        return alignment;
    });
}

void XmlDrawObject::textDidChange()
{
    // Typing is an edit of the callout.
    docChanged();
    if (_editor)
        _editor->redisplayHost();
}
