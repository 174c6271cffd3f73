// The navigation menu's items and layout: which pages it lists for a page,
// the item texts, and the rows and columns they are laid out in.
#include "elements/XmlWebMenu.h"

#include "elements/ElementHelpers.h"
#include "model/core/DocumentBase.h"
#include "model/site/XmlAlbum.h"
#include "model/site/XmlGroup.h"
#include "model/site/XmlHomePage.h"
#include "model/site/XmlSite.h"
#include "platform/ExceptionFrame.h"
#include "platform/text/LayoutManager.h"
#include "platform/text/ParagraphStyle.h"
#include "platform/text/StyledText.h"
#include "platform/text/TextContainer.h"
#include "templates/BoxBorderDrawing.h"
#include "templates/XmlWebFont.h"

#include <algorithm>
#include <utility>

using elements::toFloat;

// --- Items -------------------------------------------------------------------------------------

namespace {

// The owner's page records, made again only when the site's tree changed
// since the list kept was made (the list of a page tree under a site only).
std::optional<QList<MenuItem>> recordsOf(XmlBase* owner, XmlWebMenu::PageList& kept)
{
    XmlSite* site = owner ? XmlSite::cast(owner->root()) : nullptr;
    if (!site)
        return std::nullopt;
    if (kept.owner != owner || kept.revision != site->treeRevision()) {
        QList<MenuItem> records = owner->menuItems();
        kept.pages.clear();
        kept.pages.reserve(static_cast<std::size_t>(records.size()));
        for (MenuItem& record : records)
            kept.pages.push_back(std::exchange(record.page, nullptr));
        kept.records = std::move(records);
        kept.owner = owner;
        // Making the list may name pages for the first time (their file
        // names), which is a change of its own.
        kept.revision = site->treeRevision();
    }
    return kept.records;
}

// The records from the first on, with their pages.
QList<MenuItem> withPages(const QList<MenuItem>& records, const XmlWebMenu::PageList& kept, qsizetype first)
{
    QList<MenuItem> items;
    items.reserve(records.size() - first);
    for (qsizetype i = first; i < records.size(); ++i) {
        items.append(records.at(i));
        if (static_cast<std::size_t>(i) < kept.pages.size())
            items.back().page = kept.pages[static_cast<std::size_t>(i)].lock();
    }
    return items;
}

} // namespace

std::optional<QList<MenuItem>> XmlWebMenu::getMenuItems(XmlBase* page)
{
    std::optional<QList<MenuItem>> records = menuRecords(page);
    if (!records)
        return std::nullopt;
    return withPages(*records, _pageList, 0);
}

std::optional<QList<MenuItem>> XmlWebMenu::getSubMenuItems(XmlBase* page)
{
    // The group's own record leads its list: the submenu holds only its pages.
    std::optional<QList<MenuItem>> records = groupRecords(page);
    if (!records)
        return std::nullopt;
    return withPages(*records, _groupPageList, 1);
}

std::optional<QList<MenuItem>> XmlWebMenu::menuRecords(XmlBase* page)
{
    return lq::modelFrame(this, "getMenuItems:", [&]() -> std::optional<QList<MenuItem>> {
        XmlBase* owner = nullptr;
        if (_itemStyle.navTypeForGroup() == 1) {
            owner = page ? page->parent() : nullptr;
        } else {
            DocumentBase* document = myDocument();
            XmlSite* site = document ? document->site() : nullptr;
            owner = site ? site->homepage() : nullptr;
        }
        return recordsOf(owner, _pageList);
    });
}

std::optional<QList<MenuItem>> XmlWebMenu::groupRecords(XmlBase* page)
{
    return lq::modelFrame(this, "getSubMenuItems:", [&]() -> std::optional<QList<MenuItem>> {
        if (_itemStyle.navTypeForGroup() != 2 || !page)
            return std::nullopt;
        XmlBase* group = nullptr;
        if (XmlGroup::cast(page))
            group = page;
        if (XmlGroup::cast(page->parent()))
            group = page->parent();
        std::optional<QList<MenuItem>> records = recordsOf(group, _groupPageList);
        if (!records || records->size() <= 1)
            return std::nullopt;
        return records;
    });
}

std::optional<QList<MenuItem>> XmlWebMenu::subMenuRecords(XmlBase* page)
{
    std::optional<QList<MenuItem>> records = groupRecords(page);
    if (records)
        records->removeFirst();
    return records;
}

int XmlWebMenu::getCurrentPageNum(XmlBase* page)
{
    return lq::modelFrame(this, "getCurrentPageNum:", [&] {
        if (!page)
            return 0;
        XmlBase* shown = page;
        if (_itemStyle.navTypeForGroup() == 0 && XmlGroup::cast(page->parent()))
            shown = page->parent();
        XmlAlbum* album = XmlAlbum::cast(shown);
        return album ? album->pageSeqNumber() : 0;
    });
}

int XmlWebMenu::getCurrentGroupNum(XmlBase* page)
{
    return lq::modelFrame(this, "getCurrentGroupNum:", [&] {
        if (_itemStyle.navTypeForGroup() != 2 || !page)
            return -1;
        int target = -1;
        if (XmlHomePage::cast(page->parent())) {
            if (XmlAlbum* album = XmlAlbum::cast(page))
                target = album->pageSeqNumber();
        } else if (XmlGroup* group = XmlGroup::cast(page->parent())) {
            target = group->pageSeqNumber();
        }
        const std::optional<QList<MenuItem>> items = menuRecords(page);
        if (!items)
            return -1;
        for (qsizetype i = 0; i < items->size(); ++i) {
            if (items->at(i).seq == target)
                return static_cast<int>(i);
        }
        return -1;
    });
}

lq::TextAttributes XmlWebMenu::itemAttributes(int type, bool submenu)
{
    return lq::modelFrame(this, "itemAttributes", [&] {
        const std::shared_ptr<XmlWebFont> record = font();
        lq::ParagraphStyle paragraph = lq::ParagraphStyle::defaultStyle();
        paragraph.tabStops = lq::standardTabStops();
        switch (orientation()) {
        case 0:
            paragraph.alignment = record->textAlignment();
            break;
        case 2:
            paragraph.alignment = lq::TextAlignment::Center;
            break;
        default:
            paragraph.alignment = lq::TextAlignment::Left;
            break;
        }

        lq::TextAttributes attributes;
        attributes.paragraphStyle = paragraph;
        attributes.font = record->createFont();
        if (submenu && attributes.font)
            attributes.font = attributes.font->withPixelSize(_itemStyle.subFontSize());
        const struct {
            const lq::Colour& colour;
            int underline;
        } states[] = {
            { _itemStyle.currentText(), _itemStyle.currentUnderline() },
            { _itemStyle.normalText(), _itemStyle.normalUnderline() },
            { _itemStyle.hoverText(), _itemStyle.hoverUnderline() },
            { _itemStyle.clickText(), _itemStyle.clickUnderline() },
        };
        if (type >= 0 && type <= 3) {
            attributes.foregroundColour = states[type].colour;
            attributes.underlineStyle = states[type].underline;
            attributes.setValue(lq::TextKey::menuType, type);
        }
        return attributes;
    });
}

void XmlWebMenu::fillContentsWithStringTypeSubmenu(ItemText& item, const QString& name, int type, bool submenu)
{
    lq::modelFrame(this, "fillContents:withString:type:submenu:", [&] { fillContents(item, name, itemAttributes(type, submenu)); });
}

void XmlWebMenu::fillContents(ItemText& item, const QString& name, const lq::TextAttributes& attributes)
{
    lq::modelFrame(this, "fillContents:withString:type:submenu:", [&] {
        // Every page lays the menu out again, and most items come out as they
        // were: an unchanged text keeps its lines instead of being shaped anew.
        lq::StyledText& text = *item.textStorage();
        lq::StyledText next = text;
        next.setText(lq::StyledText(name, attributes));
        next.setAttributes(attributes, { 0, next.length() });
        if (!(next == text))
            text = std::move(next);

        if (_rowWidths)
            _rowWidths->update(itemWidth(item));
        const int textWidth = orientation() == 2 ? _itemStyle.miWidth() : menuItemInternalWidth();
        item.textContainer()->setContainerSize(QSizeF(textWidth, unboundedExtent));
        item.layoutManager().glyphRangeForTextContainer(item.textContainer().get());
        if (_rowWidths)
            _rowWidths->update(itemWidth(item));
        item.releaseLayout();
    });
}

void XmlWebMenu::RowWidths::update(int width)
{
    if (row < 0)
        return;
    int& known = widths[row][position];
    sums[row] += width - known;
    known = width;
}

// The rows' widths kept up to date for the time of a layout of every item
// (a horizontal menu's only: a vertical one has no row widths).
class XmlWebMenu::RowWidthsScope {
public:
    explicit RowWidthsScope(XmlWebMenu& menu)
        : _menu(menu)
    {
        if (!menu.horizontal())
            return;
        RowWidths widths;
        const std::vector<ItemTextPtr>* rows[2] = { &menu._contentsArray, &menu._subContentsArray };
        for (int row = 0; row < 2; ++row) {
            for (const ItemTextPtr& text : *rows[row]) {
                widths.widths[row].push_back(menu.itemWidth(*text));
                widths.sums[row] += widths.widths[row].back();
            }
        }
        menu._rowWidths = std::move(widths);
    }
    ~RowWidthsScope() { _menu._rowWidths.reset(); }
    RowWidthsScope(const RowWidthsScope&) = delete;
    RowWidthsScope& operator=(const RowWidthsScope&) = delete;

    // The item about to be laid out.
    void setItem(bool submenu, std::size_t position)
    {
        if (!_menu._rowWidths)
            return;
        _menu._rowWidths->row = submenu ? 1 : 0;
        _menu._rowWidths->position = position;
    }

private:
    XmlWebMenu& _menu;
};

// --- Layout ------------------------------------------------------------------------------------

XmlWebMenu::ItemTextPtr XmlWebMenu::makeContents()
{
    return lq::modelFrame(this, "makeContents", [] { return std::make_shared<ItemText>(); });
}

void XmlWebMenu::layoutItems(XmlBase* page)
{
    std::shared_ptr<XmlAlbum> remembered;
    page = pageOrCurrentAlbum(page, remembered);
    if (!page)
        return;

    const std::optional<QList<MenuItem>> items = menuRecords(page);
    const std::optional<QList<MenuItem>> subItems = subMenuRecords(page);
    currentSeq = getCurrentPageNum(page);
    if (!items)
        return;

    const auto fit = [this](std::vector<ItemTextPtr>& texts, qsizetype count) {
        // Texts that stay are used again; only the end of the list changes.
        while (static_cast<qsizetype>(texts.size()) < count)
            texts.push_back(makeContents());
        while (static_cast<qsizetype>(texts.size()) > count)
            texts.pop_back();
    };
    fit(_contentsArray, items->size());
    fit(_subContentsArray, subItems ? subItems->size() : 0);

    relayoutTextAttributes();

    DocumentBase* document = myDocument();
    if (!document)
        return;
    document->clearTrackingDataForObject(UUID());
    Walk walk;
    walk.horizontalSubRow = _itemStyle.navTypeForGroup() == 2;
    const QString uuid = UUID();
    std::vector<QString>& numbers = _itemNumberTexts;
    walkItems(page, walk, [&](const ItemFrame& item) {
        // The numbers' texts are made once, not for every page laid out.
        if (item.number >= 0 && item.number < XmlWebMenu::firstSubmenuItem) {
            while (static_cast<int>(numbers.size()) <= item.number)
                numbers.push_back(QString::number(numbers.size()));
            document->addTrackingDataForObjectDataRect(uuid, numbers[static_cast<std::size_t>(item.number)], item.rect);
        } else {
            document->addTrackingDataForObjectDataRect(uuid, QString::number(item.number), item.rect);
        }
        return false;
    });
}

void XmlWebMenu::relayoutTextAttributes()
{
    lq::modelFrame(this, "relayoutTextAttributes", [&] {
        const std::shared_ptr<XmlAlbum> page = getCurrentAlbum();
        if (!page)
            return;
        const std::optional<QList<MenuItem>> items = menuRecords(page.get());
        const std::optional<QList<MenuItem>> subItems = subMenuRecords(page.get());
        currentSeq = getCurrentPageNum(page.get());
        if (!items)
            return;
        RowWidthsScope rowWidths(*this);
        // The items' attributes of every state in both rows: when they are
        // what the last layout used, an item whose name, state and width
        // are as they were is left as it is. From one page to the next only
        // the items of the pages that stop and start being current change.
        std::vector<lq::TextAttributes> style;
        for (const bool submenu : { false, true })
            for (int type = 0; type <= 3; ++type)
                style.push_back(itemAttributes(type, submenu));
        if (style != _styleOfLastLayout) {
            _styleOfLastLayout = std::move(style);
            ++_styleGeneration;
        }
        // The items' text width; in a horizontal menu it follows the rows'
        // widths, which change only when an item is laid out anew.
        const bool fixedWidth = orientation() == 2;
        int textWidth = fixedWidth ? _itemStyle.miWidth() : menuItemInternalWidth();
        const auto restyle = [&](const std::vector<ItemTextPtr>& texts, const QList<MenuItem>& list, int first,
                                 bool submenu) {
            const std::size_t count = std::min(texts.size(), static_cast<std::size_t>(list.size()));
            for (std::size_t i = 0; i < count; ++i) {
                rowWidths.setItem(submenu, i);
                const MenuItem& item = list.at(static_cast<qsizetype>(i));
                const int number = first + static_cast<int>(i);
                // The current page wins over hover, hover over click.
                int state = 1;
                if (item.seq == currentSeq)
                    state = 0;
                else if (number == _hoverItem)
                    state = 2;
                else if (number == _clickItem)
                    state = 3;
                ItemText::LayoutKey key { item.name, state, submenu, textWidth, _styleGeneration };
                if (texts[i]->laidOutFrom == key && !(_isEditing && number == _editMenuItem))
                    continue;
                texts[i]->laidOutFrom.reset();
                // The attributes of the state, as worked out above: the items
                // share them instead of each keeping its own.
                fillContents(*texts[i], item.name, _styleOfLastLayout[(submenu ? 4 : 0) + static_cast<std::size_t>(state)]);
                texts[i]->laidOutFrom = std::move(key);
                if (!fixedWidth)
                    textWidth = menuItemInternalWidth();
            }
        };
        restyle(_contentsArray, *items, 0, false);
        if (subItems)
            restyle(_subContentsArray, *subItems, firstSubmenuNumber(), true);
    });
}

void XmlWebMenu::walkItems(XmlBase* page, const Walk& walk, const std::function<bool(const ItemFrame&)>& visit)
{
    const bool across = horizontal();
    const int itemHeights = _itemStyle.mibt() + _itemStyle.mibb() + _itemStyle.mipt() + _itemStyle.mipb();
    const int iw = internalWidth();
    const int spacing = walk.withSpacing ? _itemStyle.mispace() : 0;
    float y = toFloat(_top + _bt + _pt);
    float x = toFloat(_left + _bl + _pl);
    if (across)
        x += toFloat(leadingHorzSpace());
    const int group = page ? getCurrentGroupNum(page) : -1;

    int lastHeight = walk.emptyRowHeight;
    for (std::size_t i = 0; i < _contentsArray.size(); ++i) {
        ItemText& text = *_contentsArray[i];
        const int height = text.usedHeight() + itemHeights;
        const int width = across ? itemWidth(text) : iw;
        lastHeight = height;
        ItemFrame item;
        item.number = static_cast<int>(i);
        item.position = static_cast<int>(i);
        item.text = &text;
        item.rect = across ? lq::Rect(x, y, toFloat(width + spacing), toFloat(height))
                           : lq::Rect(x, y, toFloat(width), toFloat(height + spacing));
        if (visit(item))
            return;
        if (across)
            x += toFloat(_itemStyle.mispace() + width);
        else
            y += toFloat(_itemStyle.mispace() + height);

        if (!across && static_cast<int>(i) == group) {
            for (std::size_t j = 0; j < _subContentsArray.size(); ++j) {
                ItemText& subText = *_subContentsArray[j];
                const int subHeight = subText.usedHeight() + itemHeights;
                ItemFrame subItem;
                subItem.number = firstSubmenuNumber() + static_cast<int>(j);
                subItem.submenu = true;
                subItem.position = static_cast<int>(j);
                subItem.text = &subText;
                subItem.rect = lq::Rect(x, y, toFloat(iw), toFloat(subHeight + spacing));
                subItem.verticalSubmenu = true;
                if (visit(subItem))
                    return;
                y += toFloat(_itemStyle.mispace() + subHeight);
            }
            if (!_subContentsArray.empty())
                y += toFloat(_itemStyle.mispace() / 2);
        }
    }

    if (!across || !walk.horizontalSubRow)
        return;
    const float sy = y + toFloat(lastHeight);
    float sx = toFloat(_left + _bl + _pl + leadingSubHorzSpace());
    for (std::size_t j = 0; j < _subContentsArray.size(); ++j) {
        ItemText& subText = *_subContentsArray[j];
        const int subHeight = subText.usedHeight() + itemHeights;
        const int subWidth = itemWidth(subText);
        ItemFrame subItem;
        subItem.number = firstSubmenuNumber() + static_cast<int>(j);
        subItem.submenu = true;
        subItem.position = static_cast<int>(j);
        subItem.text = &subText;
        subItem.rect = lq::Rect(sx, sy, toFloat(subWidth + spacing), toFloat(subHeight));
        if (visit(subItem))
            return;
        sx += toFloat(_itemStyle.mispace() + subWidth);
    }
}

int XmlWebMenu::leadingSpace(int rowWidth)
{
    // The font's alignment places the rows: 0 left, 1 centre, other right.
    const XmlWebFont::Alignment alignment = font()->alignment();
    if (alignment == XmlWebFont::Alignment::Left)
        return 0;
    const int spare = internalWidth() - rowWidth;
    return alignment == XmlWebFont::Alignment::Center ? spare / 2 : spare;
}

int XmlWebMenu::leadingHorzSpace()
{
    return lq::modelFrame(this, "leadingHorzSpace", [&] {
        return horizontal() ? leadingSpace(horzMenuWidth()) : 0;
    });
}

int XmlWebMenu::leadingSubHorzSpace()
{
    return lq::modelFrame(this, "leadingSubHorzSpace", [&] {
        return horizontal() ? leadingSpace(horzSubMenuWidth()) : 0;
    });
}

int XmlWebMenu::menuItemInternalWidth()
{
    return lq::modelFrame(this, "menuItemInternalWidth", [&] {
        return internalWidth() - _itemStyle.mipl() - _itemStyle.mipr() - _itemStyle.mibl() - _itemStyle.mibr();
    });
}

XmlCSSBackground* XmlWebMenu::stateBackground(int state) const
{
    switch (state) {
    case 0:
        return _currentBkgnd.get();
    case 1:
        return _normalBkgnd.get();
    case 2:
        return _hoverBkgnd.get();
    case 3:
        return _clickBkgnd.get();
    default:
        return nullptr;
    }
}

void XmlWebMenu::drawMenuItemBackgroundRect(ItemText& item, const lq::Rect& rect)
{
    lq::modelFrame(this, "drawMenuItemBackground:rect:", [&] {
        int state = 1;
        const lq::StyledText& text = *item.textStorage();
        if (!text.isEmpty()) {
            const lq::TextAttributes attributes = text.attributesAt(0);
            if (!attributes.isEmpty())
                state = attributes.value(lq::TextKey::menuType).toInt();
        }
        const lq::Rect inner(rect.x() + toFloat(_itemStyle.mibl()), rect.y() + toFloat(_itemStyle.mibt()),
                             rect.width() - toFloat(_itemStyle.mibl() + _itemStyle.mibr()), rect.height() - toFloat(_itemStyle.mibt() + _itemStyle.mibb()));
        if (XmlCSSBackground* background = stateBackground(state))
            background->drawObject(inner);
        BoxBorderDrawing::drawBorderBtypeTopLeftBottomRightTColorLColorBColorRColor(
            rect, static_cast<XmlBoxModel::BorderType>(_itemStyle.mibtype()), _itemStyle.mibt(), _itemStyle.mibl(), _itemStyle.mibb(), _itemStyle.mibr(),
            _itemStyle.mibtc(), _itemStyle.miblc(), _itemStyle.mibbc(), _itemStyle.mibrc());
    });
}
