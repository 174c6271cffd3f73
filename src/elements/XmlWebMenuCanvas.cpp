// The navigation menu on the layout canvas: the pointer over its items,
// drawing, choosing a page by clicking its item, and in-place editing of
// an item's name.
#include "elements/XmlWebMenu.h"

#include "elements/ElementHelpers.h"
#include "model/core/DocumentBase.h"
#include "model/site/XmlAlbum.h"
#include "platform/ExceptionFrame.h"
#include "platform/Strings.h"
#include "platform/graphics/GraphicsContext.h"
#include "platform/text/LayoutManager.h"
#include "platform/text/StyledText.h"
#include "platform/text/TextContainer.h"


using elements::toFloat;

// --- Pointer on the canvas -----------------------------------------------------------------------

void XmlWebMenu::restyleAndRedisplay()
{
    relayoutTextAttributes();
    if (DocumentBase* document = myDocument())
        document->redisplayRect(objectRect());
}

void XmlWebMenu::mouseEntered(const QString& data)
{
    lq::modelFrame(this, "mouseEntered:", [&] {
        _hoverItem = lq::intValue(data);
        restyleAndRedisplay();
    });
}

void XmlWebMenu::mouseExited(const QString& data)
{
    lq::modelFrame(this, "mouseExited:", [&] {
        const int item = lq::intValue(data);
        if (_hoverItem == item)
            _hoverItem = -1;
        if (_clickItem == item)
            _clickItem = -1;
        restyleAndRedisplay();
    });
}

void XmlWebMenu::mouseDown(const QString& data)
{
    lq::modelFrame(this, "mouseDown:", [&] {
        const int item = lq::intValue(data);
        if (_hoverItem == item)
            _hoverItem = -1;
        _clickItem = item;
        restyleAndRedisplay();
    });
}

void XmlWebMenu::mouseClick(const QString& data)
{
    lq::modelFrame(this, "mouseClick:", [&] {
        const std::shared_ptr<XmlAlbum> page = getCurrentAlbum();
        if (!page)
            return;
        const std::optional<QList<MenuItem>> items = getMenuItems(page.get());
        if (!items)
            return;
        const int number = lq::intValue(data);
        DocumentBase* document = myDocument();
        const auto show = [&](const MenuItem& item) {
            XmlAlbum* album = XmlAlbum::cast(item.page.get());
            if (!album)
                return false;
            _hoverItem = -1;
            _clickItem = -1;
            if (document)
                document->selectWebPageIndex(album, -1);
            return true;
        };
        if (static_cast<unsigned>(number) < static_cast<unsigned>(items->size()) && show(items->at(number)))
            return;
        bool submenu = false;
        int j = 0;
        if (itemOfNumber(number, &submenu, &j) && submenu) {
            const std::optional<QList<MenuItem>> subItems = getSubMenuItems(page.get());
            if (subItems && j < subItems->size())
                show(subItems->at(j));
        }
    });
}

// --- Drawing, page selection and in-place editing ------------------------------------------------

void XmlWebMenu::drawObject()
{
    lq::modelFrame(this, "drawObject", [&] {
        XmlBoxModel::drawObject(lq::Rect(toFloat(_left), toFloat(_top), toFloat(width()), toFloat(calcHeight())));
    });
}

void XmlWebMenu::drawText()
{
    lq::modelFrame(this, "drawText", [&] {
        lq::GraphicsContext* context = lq::GraphicsContext::current();
        if (!context)
            return;
        const std::shared_ptr<XmlAlbum> page = getCurrentAlbum();
        Walk walk;
        walk.horizontalSubRow = _itemStyle.navTypeForGroup() == 2;
        walk.emptyRowHeight = calcHeight();
        walkItems(page.get(), walk, [&](const ItemFrame& item) {
            drawMenuItemBackgroundRect(*item.text, item.rect);
            lq::LayoutManager& lm = item.text->layoutManager();
            const lq::Range glyphs = lm.glyphRangeForTextContainer(item.text->textContainer().get());
            if (glyphs.length > 0) {
                const float indent = item.verticalSubmenu ? toFloat(_itemStyle.indentSubmenu()) : 0;
                const QPointF origin(item.rect.x() + toFloat(_itemStyle.mipl() + _itemStyle.mibl()) + indent, item.rect.y() + toFloat(_itemStyle.mipt() + _itemStyle.mibt()));
                lm.drawGlyphsForGlyphRange(glyphs, origin, &context->painter());
            }
            return false;
        });
    });
}

void XmlWebMenu::selectPageAtPoint(const lq::Point& point)
{
    lq::modelFrame(this, "selectPageAtPoint:", [&] {
        const std::shared_ptr<XmlAlbum> page = getCurrentAlbum();
        if (!page)
            return;
        Walk walk;
        walk.withSpacing = true;
        walk.emptyRowHeight = calcHeight();
        walkItems(page.get(), walk, [&](const ItemFrame& item) {
            if (!item.rect.contains(point))
                return false;
            const std::optional<QList<MenuItem>> list =
                item.submenu ? getSubMenuItems(page.get()) : getMenuItems(page.get());
            if (list && item.position < list->size()) {
                XmlAlbum* album = XmlAlbum::cast(list->at(item.position).page.get());
                DocumentBase* document = myDocument();
                if (album && document)
                    document->selectWebPageIndex(album, -1);
            }
            return true;
        });
    });
}

bool XmlWebMenu::canDoubleClick()
{
    return false;
}

bool XmlWebMenu::startEditingAtPointTextView(const lq::Point& point, lq::TextView*)
{
    return lq::modelFrame(this, "startEditingAtPoint:textView:", [&] {
        if (isEditing())
            endEditingInView();
        const std::shared_ptr<XmlAlbum> page = getCurrentAlbum();
        if (!page)
            return false;
        const bool across = horizontal();
        bool hit = false;
        Walk walk;
        walk.withSpacing = true;
        walk.emptyRowHeight = calcHeight();
        walkItems(page.get(), walk, [&](const ItemFrame& item) {
            if (!item.rect.contains(point))
                return false;
            // The text area of the item: inside its borders and padding, less the spacing the hit took in.
            float frameWidth = item.rect.width() - toFloat(_itemStyle.mibl() + _itemStyle.mipl() + _itemStyle.mipr() + _itemStyle.mibr());
            float frameHeight = item.rect.height() - toFloat(_itemStyle.mibt() + _itemStyle.mipt() + _itemStyle.mipb() + _itemStyle.mibb());
            if (across)
                frameWidth -= toFloat(_itemStyle.mispace());
            else
                frameHeight -= toFloat(_itemStyle.mispace());
            _editFrame = lq::Rect(item.rect.x() + toFloat(_itemStyle.mibl() + _itemStyle.mipl()), item.rect.y() + toFloat(_itemStyle.mibt() + _itemStyle.mipt()),
                                  frameWidth, frameHeight);
            // The name is edited in black whatever its state's colour.
            lq::StyledText& text = *item.text->textStorage();
            item.text->laidOutFrom.reset();
            lq::TextAttributes black;
            black.foregroundColour = lq::Colour::black();
            text.addAttributes(black, { 0, text.length() });
            _editMenuItem = item.number;
            _isEditing = true;
            hit = true;
            return true;
        });
        return hit;
    });
}

bool XmlWebMenu::isEditing()
{
    return _isEditing;
}

std::shared_ptr<lq::TextContainer> XmlWebMenu::editingTextContainer()
{
    if (!_isEditing)
        return nullptr;
    bool submenu = false;
    int position = 0;
    if (!itemOfNumber(_editMenuItem, &submenu, &position))
        return nullptr;
    const std::vector<ItemTextPtr>& texts = submenu ? _subContentsArray : _contentsArray;
    if (static_cast<std::size_t>(position) >= texts.size())
        return nullptr;
    return texts[static_cast<std::size_t>(position)]->textContainer();
}

void XmlWebMenu::endEditingInView()
{
    lq::modelFrame(this, "endEditingInView", [&] {
        if (_isEditing) {
            _isEditing = false;
            bool submenu = false;
            int position = -1;
            if (!itemOfNumber(_editMenuItem, &submenu, &position))
                position = -1;
            _editMenuItem = position;
            const std::vector<ItemTextPtr>& texts = submenu ? _subContentsArray : _contentsArray;
            if (_editMenuItem >= 0 && static_cast<std::size_t>(_editMenuItem) < texts.size()) {
                texts[static_cast<std::size_t>(_editMenuItem)]->laidOutFrom.reset();
                const QString edited = texts[static_cast<std::size_t>(_editMenuItem)]->textStorage()->string();
                if (const std::shared_ptr<XmlAlbum> page = getCurrentAlbum()) {
                    const std::optional<QList<MenuItem>> list =
                        submenu ? getSubMenuItems(page.get()) : getMenuItems(page.get());
                    if (list && _editMenuItem < list->size()) {
                        if (XmlBase* editedPage = list->at(_editMenuItem).page.get())
                            editedPage->setName(edited);
                    }
                }
            }
        }
        if (DocumentBase* document = myDocument())
            document->layoutDidContentEditing();
    });
}
