#pragma once

#include "model/core/XmlBase.h"
#include "elements/WebMenuItemStyle.h"
#include "templates/XmlBoxModel.h"
#include "platform/text/StyledText.h"
#include "platform/text/TextAttributes.h"
#include "platform/text/TextContainer.h"

#include <QList>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace lq {
class LayoutManager;
}

// The navigation menu of a page template (the template's element named
// "Navigation"): the site's pages as a list of links for the page being
// shown or written.
//
// Each item is in one of four states, numbered 0 current (the page shown),
// 1 normal, 2 hover and 3 click; each state has its own background, text
// colour and underline flag. All items share one item padding, one set of
// item borders and one spacing. The menu stands vertically (orientation 0:
// one item under the other, the pages of the current group as a submenu
// right under their group's item) or horizontally (1: every item as wide as
// its text; 2: every item's text area miWidth wide), with the submenu as a
// second row.
//
// Item numbers: top-level items count 0, 1, 2 ... in list order, submenu
// items 1000, 1001 ... (in a menu of more than a thousand top-level items,
// from the number of top-level items on); the hover and click tracking, the
// canvas's click areas (whose data is the number as text) and the editing
// use them.
//
// The four state backgrounds are owned parts written after the box's own
// part under the tags "normalBkgnd", "hoverBkgnd", "currentBkgnd" and
// "clickBkgnd"; the only children are the box's fonts. Item texts, hover,
// click and editing state are working state of the canvas and never saved.
//
// The items' stored look is a value the menu holds (itemStyle). The menu's
// definition is split by job: the element and its state backgrounds
// (XmlWebMenu.cpp), the items and their layout (XmlWebMenuItems.cpp), the
// box and the sizes of items and rows (XmlWebMenuLayout.cpp), the canvas
// (XmlWebMenuCanvas.cpp) and the CSS and HTML (XmlWebMenuHtml.cpp).
class XmlWebMenu final : public XmlBoxModel {
public:
    // The items' stored look: colours, underlines, box, spacing, submenu.
    const WebMenuItemStyle& itemStyle() const { return _itemStyle; }
    WebMenuItemStyle& itemStyle() { return _itemStyle; }

    // The laid-out text of one item: a storage with its one layout manager
    // and one text container (no line fragment padding).
    class ItemText {
    public:
        // Equal texts; the names and links kept from one page to the next
        // share their characters, which are then not compared one by one.
        static bool sameText(const QString& a, const QString& b)
        {
            return (a.size() == b.size() && a.constData() == b.constData()) || a == b;
        }

        ItemText();
        ~ItemText();
        ItemText(const ItemText&) = delete;
        ItemText& operator=(const ItemText&) = delete;

        const std::shared_ptr<lq::StyledText>& textStorage() const { return _storage; }
        lq::LayoutManager& layoutManager() const { return manager(); }
        const std::shared_ptr<lq::TextContainer>& textContainer() const
        {
            manager();
            return _tc;
        }
        // The used rectangle's width and height, cut to whole points. They
        // are kept from one question to the next while the text, its
        // container's size and its manager stay as they were: a page asks
        // for the size of every item of the menu several times.
        int usedWidth() const { return usedSize().width; }
        int usedHeight() const { return usedSize().height; }
        // Keeps the used size and frees the laid-out lines and the layout
        // manager itself: a menu keeps an item for every page, and only
        // drawing and editing need a manager, which is then made again.
        void releaseLayout();

        // What the menu last laid the item out from (nothing when the item
        // was changed otherwise since, as by editing): an item whose name,
        // state, row, text width and style are the same needs no new layout.
        struct LayoutKey {
            QString name;
            int type = -1;
            bool submenu = false;
            int width = 0;
            quint64 style = 0;
            bool operator==(const LayoutKey& other) const
            {
                return type == other.type && submenu == other.submenu && width == other.width && style == other.style
                    && sameText(name, other.name);
            }
        };
        std::optional<LayoutKey> laidOutFrom;

        // The link the page output last wrote for the item and what it was
        // written from: most items of the next page stand as they stood,
        // and their link is written again as it is.
        struct LinkKey {
            bool submenu = false;
            bool current = false;
            int top = 0;
            int left = 0;
            int width = 0;
            int height = 0;
            QString href;
            QString name;
            bool operator==(const LinkKey& other) const
            {
                return submenu == other.submenu && current == other.current && top == other.top && left == other.left
                    && width == other.width && height == other.height && sameText(href, other.href) && sameText(name, other.name);
            }
        };
        std::optional<LinkKey> linkFrom;
        QString link;

    private:
        struct UsedSize {
            int width = 0;
            int height = 0;
        };
        // What the used size was measured from.
        struct Measured {
            bool known = false;
            quint64 revision = 0;
            qreal containerWidth = 0;
            qreal containerHeight = 0;
            UsedSize size;
        };
        const UsedSize& usedSize() const
        {
            if (!isMeasured())
                measure();
            return _measured.size;
        }
        // The text view that edits an item takes its container over for the
        // time of editing: then the size is asked of the item's manager
        // again. The container's size is compared exactly: any change of it
        // is a new layout.
        bool isMeasured() const
        {
            const QSizeF container = _tc->containerSize();
            return _measured.known && _measured.revision == _storage->revision() && _measured.containerWidth == container.width()
                && _measured.containerHeight == container.height() && _tc->layoutManager() == _lm.get();
        }
        void measure() const;
        // The item's manager, made when none is at hand.
        lq::LayoutManager& manager() const;

        std::shared_ptr<lq::StyledText> _storage;
        mutable std::unique_ptr<lq::LayoutManager> _lm;
        std::shared_ptr<lq::TextContainer> _tc;
        mutable Measured _measured;
    };
    using ItemTextPtr = std::shared_ptr<ItemText>;

    // A page list as the site's tree gave it at a tree revision: the list of
    // the owner's pages (the home page's, a group's) is made again only
    // after the tree changed, not for every page written. The records hold
    // no page element alive: their pages are kept apart, weakly.
    struct PageList {
        const XmlBase* owner = nullptr;
        quint64 revision = 0;
        QList<MenuItem> records;
        std::vector<std::weak_ptr<XmlBase>> pages;
    };

    explicit XmlWebMenu(Key key);
    ~XmlWebMenu() override;

    static std::shared_ptr<XmlWebMenu> create();
    static XmlWebMenu* cast(XmlBase* object) { return dynamic_cast<XmlWebMenu*>(object); }

    QString elementName() const override;
    // The four state backgrounds by their tags; everything else as the box.
    XmlBasePtr createChildFromTag(const QString& tag) override;
    // The box's attributes, then orient hspace nBkgnd nText hBkgnd hText
    // cBkgnd cText crBkgnd crText nBkEn hBkEn cBkEn crBkEn nUnderline
    // hUnderline cUnderline crUnderline mipt mipl mipb mipr mibt mibl mibb
    // mibr mibtype mispace mibtc miblc mibbc mibrc gtype npl ism miw sfs ugr.
    void appendAttributes(QString& xml) override;
    // Each through its setter; "hspace" is not read.
    void setAttributeTo(const QString& key, const QString& value) override;
    // The box's own part, then normalBkgnd, hoverBkgnd, currentBkgnd, clickBkgnd.
    QString writeXmlVorns() override;
    bool enabled() override;

    // --- State backgrounds --------------------------------------------------------------
    // The colour of each state's background; the background marks the change.
    const lq::Colour& normalBkgnd() const;
    void setNormalBkgnd(const lq::Colour& colour);
    const lq::Colour& hoverBkgnd() const;
    void setHoverBkgnd(const lq::Colour& colour);
    const lq::Colour& clickBkgnd() const;
    void setClickBkgnd(const lq::Colour& colour);
    const lq::Colour& currentBkgnd() const;
    void setCurrentBkgnd(const lq::Colour& colour);
    const std::shared_ptr<XmlCSSBackground>& normalBkgnd2() const { return _normalBkgnd; }
    const std::shared_ptr<XmlCSSBackground>& hoverBkgnd2() const { return _hoverBkgnd; }
    const std::shared_ptr<XmlCSSBackground>& clickBkgnd2() const { return _clickBkgnd; }
    const std::shared_ptr<XmlCSSBackground>& currentBkgnd2() const { return _currentBkgnd; }
    // The state's background in its picture mode (2) shows whatever the flag
    // says. Setting a flag also sets the background's mode to it (transparent
    // or colour), except with graphic rollovers.
    bool normalBkgndEn() const;
    void setNormalBkgndEn(bool enabled);
    bool hoverBkgndEn() const;
    void setHoverBkgndEn(bool enabled);
    bool clickBkgndEn() const;
    void setClickBkgndEn(bool enabled);
    bool currentBkgndEn() const;
    void setCurrentBkgndEn(bool enabled);
    // On: every state background shows its picture (mode 2) without a colour
    // under it; off: each goes back to its enable flag. The stored
    // orientation stays as it is.
    bool useGraphicRollover() const { return _useGraphicRollover; }
    void setUseGraphicRollover(bool use);

    // --- Arrangement ------------------------------------------------------------------------
    // A stored horizontal orientation (1) counts as 2 with graphic rollovers.
    int orientation() const;
    void setOrientation(int orientation);
    // 99 when the template shows no navigation, else the stored value.
    int navPlacement() const;
    // Nothing ever changes the placement: does nothing, marks nothing.
    void setNavPlacement(int placement);

    // --- Items --------------------------------------------------------------------------------
    // The item texts of the last layout.
    const std::vector<ItemTextPtr>& contentsArray() const { return _contentsArray; }
    const std::vector<ItemTextPtr>& subContentsArray() const { return _subContentsArray; }
    // The current page's number at the last layout.
    int currentSeqNumber() const { return currentSeq; }
    int hoverItem() const { return _hoverItem; }
    int clickItem() const { return _clickItem; }

    // --- Layout and geometry -----------------------------------------------------------------
    // Lays the items out for the page (nothing: the current page) and
    // registers one click area per item. Non-zero flags change nothing. A
    // failure is logged with the menu's XML and goes no further.
    void relayoutFlags(XmlBase* page, int flags) override;
    // The stored width, in a horizontal menu at least as wide as its rows
    // (and so written to the file).
    int width() const override;
    int calcWidth() const override;
    int calcHeight() const override;
    int internalWidth() const override;
    // The width of each row of a horizontal menu, spacing included (0 when vertical).
    int horzMenuWidth() const;
    int horzSubMenuWidth() const;
    // Where the rows start inside the inner width (0 when vertical).
    int leadingHorzSpace();
    int leadingSubHorzSpace();
    // The width an item's text is laid out in.
    int menuItemInternalWidth();

    // --- Page lists and item texts -------------------------------------------------------------
    // Top-level items for the page; nothing while the menu has no site.
    std::optional<QList<MenuItem>> getMenuItems(XmlBase* page);
    // The pages of the current group without the group itself (type 2
    // only); nothing when that leaves none.
    std::optional<QList<MenuItem>> getSubMenuItems(XmlBase* page);
    // The page number of the item shown as current.
    int getCurrentPageNum(XmlBase* page);
    // The position of the top-level item that carries the submenu, or -1.
    int getCurrentGroupNum(XmlBase* page);
    // Replaces the item's text by the name in the attributes of the state
    // (0 to 3; any other number gives no colour, underline and state) and
    // lays it out at the item text width.
    void fillContentsWithStringTypeSubmenu(ItemText& item, const QString& name, int type, bool submenu);
    ItemTextPtr makeContents();
    // The state background of the text's state and the item borders.
    void drawMenuItemBackgroundRect(ItemText& item, const lq::Rect& rect);

    // --- Canvas ---------------------------------------------------------------------------------
    void mouseEntered(const QString& data) override;
    void mouseExited(const QString& data) override;
    void mouseDown(const QString& data) override;
    void mouseClick(const QString& data) override;
    void drawObject() override;
    void drawText() override;
    void selectPageAtPoint(const lq::Point& point);
    bool canDoubleClick() override;
    // Starts editing the name of the item under the point. The layout canvas
    // then places the text view over editingFrame and attaches it to
    // editingTextContainer; it lets the view go when editing ends.
    bool startEditingAtPointTextView(const lq::Point& point, lq::TextView* textView) override;
    bool isEditing() override;
    // Stores the edited text as the page's name and tells the document.
    void endEditingInView() override;
    int editMenuItem() const { return _editMenuItem; }
    const lq::Rect& editingFrame() const { return _editFrame; }
    // The container of the item being edited, or nothing.
    std::shared_ptr<lq::TextContainer> editingTextContainer();

    // --- Template CSS and page HTML ---------------------------------------------------------------
    void appendCSS(QString& css) override;
    // A size of 0 is the record's own.
    void appendCSSFontParametersForFontWithSize(QString& css, XmlWebFont& record, int size);
    void appendCSSWinIESuffix(QString& css, const QString& suffix) override;
    void genCSSWinIEBitmap(QString& script) override;
    void appendHTMLPagePassSheet(QString& html, XmlBase* page, PagePass pass, XmlStyleSheet* sheet) override;

    // --- Housekeeping -----------------------------------------------------------------------------
    void cleanup() override;
    // The state backgrounds (normal, hover, current, click), then the box's parts.
    XmlBaseList ownedParts() const override;
    // The box's step, then the state backgrounds'.
    void genCSSBitmap(QString& script) override;

private:
    WebMenuItemStyle _itemStyle;

    // Submenu items are numbered from 1000, or from the number of top-level
    // items when there are more: the numbers of the two rows never meet.
    static constexpr int firstSubmenuItem = 1000;

    // One item as the canvas, the click areas and the page links place it.
    struct ItemFrame {
        int number = 0;          // 0, 1 ... or firstSubmenuNumber() + j
        bool submenu = false;    // whether the item is one of the submenu's
        int position = 0;        // its place in its row
        ItemText* text = nullptr;
        lq::Rect rect;           // the item's border box (spacing added for hit tests)
        bool verticalSubmenu = false;
    };
    struct Walk {
        // Hit rectangles take the spacing after the item in.
        bool withSpacing = false;
        // Whether the second row of a horizontal menu is walked.
        bool horizontalSubRow = true;
        // The height above the second row when there is no top-level item.
        int emptyRowHeight = 0;
    };
    // While the items are laid out one by one, the width of each row is kept
    // here and brought up to date item by item: every item's layout asks for
    // the rows' widths, which would otherwise be added up again each time.
    struct RowWidths {
        std::vector<int> widths[2]; // the top-level row, then the submenu's
        long long sums[2] = { 0, 0 };
        int row = -1;               // the item being laid out
        std::size_t position = 0;
        void update(int width);
    };
    class RowWidthsScope;

    // --- Items and layout ------------------------------------------------------------------------
    // The same records as getMenuItems and getSubMenuItems without their
    // page elements (empty), as the page output and the layout need them:
    // kept from one page to the next while the site's tree stays as it was.
    std::optional<QList<MenuItem>> menuRecords(XmlBase* page);
    std::optional<QList<MenuItem>> subMenuRecords(XmlBase* page);
    // The group's records, its own first; nothing when it has no pages.
    std::optional<QList<MenuItem>> groupRecords(XmlBase* page);
    // The text attributes of an item in the state (0 to 3), in the submenu or not.
    lq::TextAttributes itemAttributes(int type, bool submenu);
    // Replaces the item's text by the name in the attributes and lays it out.
    void fillContents(ItemText& item, const QString& name, const lq::TextAttributes& attributes);
    // Lays the items out for the page (nothing: the current page) and
    // registers one click area per item.
    void layoutItems(XmlBase* page);
    // Gives every item text the attributes of its state.
    void relayoutTextAttributes();
    // Visits every item in order, the submenu placed for the page; a visit
    // answering true stops the walk.
    void walkItems(XmlBase* page, const Walk& walk, const std::function<bool(const ItemFrame&)>& visit);
    // Where a row of the width starts inside the inner width.
    int leadingSpace(int rowWidth);
    // The background of a state, or nothing.
    XmlCSSBackground* stateBackground(int state) const;

    // --- Item and row sizes, as the last layout left them ---------------------------------------
    // Orientation 1 or 2: the items stand side by side.
    bool horizontal() const;
    // The border box width of an item.
    int itemWidth(const ItemText& item) const;
    // The width of a horizontal row of items, spacing included (0 when vertical).
    int rowWidth(const std::vector<ItemTextPtr>& row) const;
    // The number of the first submenu item.
    int firstSubmenuNumber() const;
    // The row (submenu or not) and place in it of an item's number; false for
    // a number that names no item.
    bool itemOfNumber(int number, bool* submenu, int* position) const;

    // --- Page HTML ------------------------------------------------------------------------------
    void appendCSSMenuItemBorders(QString& css);
    void appendFontChecks(QString& html);
    void appendNavigationBox(QString& html);
    void appendItemLinks(QString& html, XmlBase* page);
    // The link of an item standing as the key says.
    QString itemLink(const ItemText::LinkKey& key);
    void restyleAndRedisplay();
    void forEachBackground(const std::function<void(XmlCSSBackground&)>& visit);
    void setEnable(bool& field, XmlCSSBackground& background, bool enabled);

    std::optional<RowWidths> _rowWidths;
    // The texts of the item numbers below firstSubmenuItem, as the click
    // areas take them.
    std::vector<QString> _itemNumberTexts;
    // The last top-level list and the last group's list.
    PageList _pageList;
    PageList _groupPageList;
    // The item attributes of the last layout of the items, and the number
    // of times they changed (see ItemText::laidOutFrom).
    std::vector<lq::TextAttributes> _styleOfLastLayout;
    quint64 _styleGeneration = 0;
    bool _useGraphicRollover = false;
    std::shared_ptr<XmlCSSBackground> _normalBkgnd;
    std::shared_ptr<XmlCSSBackground> _hoverBkgnd;
    std::shared_ptr<XmlCSSBackground> _clickBkgnd;
    std::shared_ptr<XmlCSSBackground> _currentBkgnd;
    bool _normalBkgndEn = false;
    bool _hoverBkgndEn = false;
    bool _clickBkgndEn = false;
    bool _currentBkgndEn = false;
    int _orientation = 0;
    std::vector<ItemTextPtr> _contentsArray;
    std::vector<ItemTextPtr> _subContentsArray;
    int currentSeq = 0;
    int _hoverItem = -1;
    int _clickItem = -1;
    int _navPlacement = 0;
    bool _isEditing = false;
    int _editMenuItem = 0;
    lq::Rect _editFrame;
};
