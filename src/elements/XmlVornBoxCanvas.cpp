// The Vorn Box on the layout canvas: the live preview view or the
// placeholder, and the pointer over the rich text's links.
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

// --- Canvas ------------------------------------------------------------------------------------

void XmlVornBox::drawObject(const lq::Rect& rect)
{
    lq::modelFrame(this, "drawObject:", [&] {
        XmlWebText::drawObject(rect);
        createTextLayoutStuff();
        if (type() == 1 || type() == 3)
            return;
        if (requiresView()) {
            DocumentBase* document = myDocument();
            if (lq::PreviewView* view = document ? document->getWidgetView(vornSeqNum()) : nullptr)
                view->setNeedsDisplay();
            return;
        }
        drawPlaceholder(rect);
    });
}

void XmlVornBox::drawText()
{
    lq::modelFrame(this, "drawText", [&] {
        if (type() == 1)
            XmlWebText::drawText();
    });
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
