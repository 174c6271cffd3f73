// The Vorn Box on the layout canvas: the live preview view or the
// placeholder (VornBoxPreview), and the pointer over the rich text's links.
#include "elements/XmlVornBox.h"

#include "elements/VornBoxPreview.h"
#include "elements/VornBoxText.h"
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
        if (_type == 1 || _type == 3)
            return;
        if (requiresView()) {
            DocumentBase* document = myDocument();
            if (lq::PreviewView* view = document ? document->getWidgetView(_vornSeqNum) : nullptr)
                view->setNeedsDisplay();
            return;
        }
        VornBoxPreview(*this).drawPlaceholder(rect);
    });
}

void XmlVornBox::drawText()
{
    lq::modelFrame(this, "drawText", [&] {
        if (_type == 1)
            XmlWebText::drawText();
    });
}

void XmlVornBox::mouseEntered(const QString& data)
{
    lq::modelFrame(this, "mouseEntered:", [&] { VornBoxText(*this).showLinkColour(data, true, false); });
}

void XmlVornBox::mouseExited(const QString& data)
{
    lq::modelFrame(this, "mouseExited:", [&] { VornBoxText(*this).showLinkColour(data, false, false); });
}

void XmlVornBox::mouseDown(const QString& data)
{
    lq::modelFrame(this, "mouseDown:", [&] { VornBoxText(*this).showLinkColour(data, false, true); });
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
