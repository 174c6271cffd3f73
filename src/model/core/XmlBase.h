#pragma once

#include "model/core/MenuItem.h"
#include "platform/Colour.h"
#include "platform/ExceptionFrame.h"
#include "platform/Geometry.h"
#include "platform/Range.h"
#include "platform/text/ParagraphStyle.h"

#include <QByteArray>
#include <QImage>
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

class DocumentBase;
class XmlBase;
namespace lq { class Scanner; }
class XmlHomePage;
class XmlSite;

using XmlBasePtr = std::shared_ptr<XmlBase>;
using XmlBaseList = QList<XmlBasePtr>;

// The root class of every element of a document: a node of an ordered tree
// with a name, an optional content text and a run-time identity (UUID) under
// which the element registry (ElementRegistry) finds it while it lives.
//
// Ownership: a parent owns its children; a child points to its parent without
// owning it; the registry owns nobody. Elements are always made through
// create() (they live in shared pointers), never on the stack.
class XmlBase : public std::enable_shared_from_this<XmlBase> {
protected:
    // Only element classes can construct elements; everybody else calls create().
    struct Key { explicit Key() = default; };
    template <class T>
    static std::shared_ptr<T> make() { return std::make_shared<T>(Key {}); }

public:
    // indexOfChild's answer for an element that is not a child.
    static constexpr int NotFound = 2147483647;

    explicit XmlBase(Key key);
    virtual ~XmlBase();
    XmlBase(const XmlBase&) = delete;
    XmlBase& operator=(const XmlBase&) = delete;

    static std::shared_ptr<XmlBase> create();
    static XmlBase* cast(XmlBase* object) { return object; }
    XmlBasePtr sharedFromThis() { return shared_from_this(); }

    // --- Identity -----------------------------------------------------------
    // The element's UUID, drawn (and registered) when first asked for: most
    // elements read from a file are never looked up.
    const QString& UUID() const
    {
        if (!_uuidRegistered)
            registerUUID();
        return _uuid;
    }
    // The live element registered under the UUID, or nothing.
    static XmlBasePtr UUID(const QString& uuid);
    // Takes the UUID of the original this element copies, in the calling
    // thread's own registry (ElementRegistry::ThreadScope).
    void adoptUUID(const QString& uuid);
    virtual QString elementName() const;
    const QString& elementOverride() const { return _seldom ? _seldom->_elementOverride : noText(); }
    void setElementOverride(const QString& tag);

    // --- Name and flags -----------------------------------------------------
    virtual QString name() const;
    virtual void setName(const QString& name);
    virtual QString fullname() const;
    virtual QString uniquename() const;
    bool canEditName() const { return _edit_name; }
    virtual int check() const { return _check; }
    virtual void setCheck(bool check);
    // Appends the UUIDs of this element and its descendants whose check is set, depth first.
    void fillCheckedItems(QStringList& uuids) const;
    bool haveContent() const { return _have_content; }
    void setHaveContent(bool haveContent) { _have_content = haveContent; }
    bool canHaveChildren() const { return _have_children; }

    // --- Content ------------------------------------------------------------
    // The content text; "" (never nothing) when none was set.
    const QString& content() const { return _content; }
    QString& mutableContent() { return _content; }
    virtual void setContent(const QString& content);
    void setDefaultContent(const QString& content);
    bool isDefaultContent() const { return _defaultContent; }
    // The selection the editor left in the content, clipped to the content
    // (a caret inside it keeps its place; none without content).
    lq::Range selectedRange() const;
    void setSelectedRange(lq::Range range);
    const QByteArray& data() const { return _seldom ? _seldom->_data : noData(); }

    // --- Tree ---------------------------------------------------------------
    XmlBase* parent() const { return _parent; }
    XmlBase* root();
    // True when the element is this one or one of its ancestors.
    bool isSelfOrDescendantOf(const XmlBase* element) const;
    void setParent(XmlBase* parent);
    // Asked of the would-be parent with the would-be child.
    virtual bool canYouBeMyParent(XmlBase* child);
    void insertChildAtIndex(const XmlBasePtr& child, int index);
    void insertChildAfterChild(const XmlBasePtr& child, const XmlBase* sibling);
    XmlBasePtr addChild(const XmlBasePtr& child);
    void removeChild(XmlBase* child);
    void removeChildWithoutDeletingChildren(XmlBase* child);
    void removeAllChildren();
    void removeFromParent();
    void removeFromParentWithoutDeletingChildren();
    void swapChildForChild(XmlBase* present, const XmlBasePtr& replacement);
    int indexOfChild(const XmlBase* child) const;
    XmlBaseList children() const;
    XmlBasePtr firstChild() const;
    XmlBasePtr lastChild() const;
    XmlBasePtr childAtIndex(int index) const;
    int numberChildren() const;
    XmlBaseList childrenEnumerator() const;
    XmlBaseList reverseEnumerator() const;
    // The children of class T (or a subclass of it), in order; a copy, so the
    // caller may change the tree while going through it.
    template <class T>
    QList<std::shared_ptr<T>> childrenOfType() const
    {
        QList<std::shared_ptr<T>> found;
        for (const XmlBasePtr& child : childList())
            if (auto typed = std::dynamic_pointer_cast<T>(child))
                found.append(std::move(typed));
        return found;
    }
    // The first child of class T (that the test accepts), or nothing.
    template <class T, class Test>
    std::shared_ptr<T> firstChildOfType(Test&& test) const
    {
        for (const XmlBasePtr& child : childList())
            if (auto typed = std::dynamic_pointer_cast<T>(child); typed && test(*typed))
                return typed;
        return nullptr;
    }
    template <class T>
    std::shared_ptr<T> firstChildOfType() const { return firstChildOfType<T>([](const T&) { return true; }); }

    // --- Change notices -----------------------------------------------------
    virtual void docChanged();
    virtual void falseAlarm(bool suppress);

    // --- Walks over the tree ---------------------------------------------------
    // A walk does the element's own part, then its owned parts, then its
    // children (walkedElements). ownedParts lists the parts an element owns
    // outside its children (the ones writeXmlVorns writes), a subclass's
    // ahead of its superclass's; a subclass forwards nothing by hand.
    virtual XmlBaseList ownedParts() const;
    XmlBaseList walkedElements() const;
    // Goes to the children only: owned parts are complete when made.
    virtual void newDocument();
    virtual void postload();
    virtual void loadBackstore(void* context);
    virtual void releaseBackstore(void* context);
    virtual void listOfFilesToCopyAll(QStringList& files, bool all);
    // Runs the operation on this element, then on every element below it, pre-order.
    void callSelectorOnObject(const std::function<void(XmlBase&)>& operation);
    virtual void refresh();

    // --- Queries that subclasses answer -------------------------------------
    virtual QString rootDir();
    virtual void setRootDir(const QString& path);
    virtual QString filenameWithRoot(const QString& path);
    virtual QImage iconImage();
    virtual XmlHomePage* homepage();
    // The site's pages (a group answers its own); nothing outside a site.
    virtual XmlBaseList webItems();
    // The document of the file root (site or theme) the element belongs to, or nothing.
    virtual DocumentBase* myDocument();
    // The site whose tree the element belongs to (the site answers itself), or nothing.
    virtual XmlSite* siteRoot();
    // The navigation menu: the entries of the children that have one, in order.
    virtual QList<MenuItem> menuItems();
    // The element's own entry in a navigation menu, when it shows there.
    virtual std::optional<MenuItem> menuEntry();
    // A page's saved identity, its external link, whether its link leaves the
    // site, and the address a link to it is written with; empty (false) for
    // anything that is no page.
    virtual QString pageUUID() const { return {}; }
    virtual QString externalLink() { return {}; }
    virtual bool isExternalLink() const { return false; }
    virtual QString linkAddress() { return {}; }

    // --- Element protocol and XML text -------------------------------------
    // The child for a tag met inside this element's body (the factory's, after
    // a parent's own parts). The tag may be borrowed from the text being read.
    virtual XmlBasePtr createChildFromTag(const QString& tag);
    // Stores one attribute read (unknown keys go to the superclass); the key
    // may be borrowed from the text being read: compare it, never keep it.
    virtual void setAttributeTo(const QString& key, const QString& value);
    // Appends the element's attributes: the superclass's first, then its own.
    virtual void appendAttributes(QString& xml);
    // XML of parts the element owns outside its children, or nothing (null).
    virtual QString writeXmlVorns();
    virtual void writeXmlInString(QString& xml);
    void appendSpace(QString& xml) const;
    QString createXml();
    static XmlBasePtr createWithXmlRootDir(const QString& text, const QString& rootDir);
    bool parseXml(lq::Scanner& scanner);
    bool readAttributes(const QString& attributes);
    void appendContent(const QString& text);
    // Adds the text as reading a content block that holds it adds it (see
    // XmlTextFormat::contentAsRead); ReadAhead takes what contentAsRead gave.
    void appendContentAsRead(const QString& text);
    void appendContentReadAhead(const QString& clean);
    void setDataString(const QString& text);
    // A separate copy of the element's tree made through its XML text.
    XmlBasePtr copyWithZone();
    void replaceChildWithCopyOf(XmlBase* child, XmlBase* source);
protected:
    // The document of a file root (site or theme); nothing for other elements.
    virtual DocumentBase* fileRootDocument() { return nullptr; }
    // The pages of the element's site: the site root answers, others ask their parent.
    virtual XmlBaseList sitePages() { return _parent ? _parent->sitePages() : XmlBaseList {}; }
    // What every plain setter does: stores the value and tells the document,
    // inside the frame of the setter's operation ("setName:").
    template <class Field, class Value>
    void setStored(Field& field, Value&& value, const char* operation)
    {
        lq::modelFrame(this, operation, [&] {
            field = std::forward<Value>(value);
            docChanged();
        });
    }
    // Children of this element, made on the first insertion.
    std::vector<XmlBasePtr>& childStore();

    QString _name = QStringLiteral("");
    XmlBase* _parent = nullptr;
    int _check = 0;
    bool _have_content = false;
    bool _have_children = false;
    bool _defaultContent = false;
    bool _edit_name = true;
    mutable bool _uuidRegistered = false;
    std::optional<std::vector<XmlBasePtr>> _children;
    // Never null: an element without content text has the empty text.
    QString _content = QStringLiteral("");
    mutable QString _uuid;
    // What few elements hold, made when first set: a site holds ten or so
    // elements per page, in the open document and in the copy a build
    // writes pages ahead from.
    struct Seldom {
        lq::Range _selectedRange;
        QString _elementOverride;
        QByteArray _data;
    };
    std::unique_ptr<Seldom> _seldom;
    Seldom& seldom();
    static const QString& noText();
    static const QByteArray& noData();

private:
    // The children, or none when the element has never had any.
    const std::vector<XmlBasePtr>& childList() const;
    void registerUUID() const;
    // Adds text known to hold none of the characters the reader strips.
    void appendCleanContent(const QString& clean);
    void detachChildAt(std::size_t index, bool deleteSubtree);
    // parseXml at a nesting level of the text (the first element is level 1).
    bool parseXmlAtDepth(lq::Scanner& scanner, int depth);
};
