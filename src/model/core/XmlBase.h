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
namespace lq {
class ConfinedFolder;
class Pasteboard;
class Scanner;
}
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
    struct Key {
        explicit Key() = default;
    };
    template <class T>
    static std::shared_ptr<T> make()
    {
        return std::make_shared<T>(Key {});
    }

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
    static QString makeUUID();
    // The element's UUID. It is drawn, and the element enters the registry,
    // only when it is first asked for: nobody can look up an element whose
    // UUID nobody has seen, and most elements read from a file are never
    // looked up.
    const QString& UUID() const
    {
        if (!_uuidRegistered)
            registerUUID();
        return _uuid;
    }
    // The live element registered under the UUID, or nothing.
    static XmlBasePtr UUID(const QString& uuid);
    // Takes the UUID of the element this one is a copy of, in a registry
    // of the calling thread's own (ElementRegistry::ThreadScope), so that
    // what the copy writes names the original.
    void adoptUUID(const QString& uuid);
    // How many elements have drawn a UUID of their own on the calling
    // thread so far.
    static quint64 uuidsDrawnOnThisThread();

    virtual QString elementName() const;
    const QString& elementOverride() const { return _elementOverride; }
    void setElementOverride(const QString& tag) { _elementOverride = tag; }

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
    void setSelectedRange(lq::Range range) { _selectedRange = range; }

    const QByteArray& data() const { return _data; }

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
        if (_children) {
            for (const XmlBasePtr& child : *_children) {
                if (auto typed = std::dynamic_pointer_cast<T>(child))
                    found.append(std::move(typed));
            }
        }
        return found;
    }
    // The first child of class T, or the first one the test accepts; nothing when none is.
    template <class T>
    std::shared_ptr<T> firstChildOfType() const
    {
        return firstChildOfType<T>([](const T&) { return true; });
    }
    template <class T, class Test>
    std::shared_ptr<T> firstChildOfType(Test&& test) const
    {
        if (_children) {
            for (const XmlBasePtr& child : *_children) {
                auto typed = std::dynamic_pointer_cast<T>(child);
                if (typed && test(*typed))
                    return typed;
            }
        }
        return nullptr;
    }

    // --- Change notices -----------------------------------------------------
    virtual void docChanged();
    virtual void falseAlarm(bool suppress);

    // --- Walks over the tree ---------------------------------------------------
    // A walk does the element's own part, then goes on to its owned parts and
    // then to its children (walkedElements). A subclass that owns parts
    // outside its children lists them in ownedParts and forwards nothing by
    // hand.

    // The parts the element owns outside its children (the ones
    // writeXmlVorns writes), in the order the walks visit them. A subclass
    // puts its own parts ahead of its superclass's. None here.
    virtual XmlBaseList ownedParts() const;
    // The owned parts, then the children.
    XmlBaseList walkedElements() const;

    // Goes to the children only: owned parts are complete when their owner
    // makes them.
    virtual void newDocument();
    virtual void postload();
    virtual void loadBackstore(void* context);
    virtual void releaseBackstore(void* context);
    virtual void listOfFilesToCopyAll(QStringList& files, bool all);
    // Runs the operation on this element, then on every element below it
    // (owned parts and children), pre-order.
    void callSelectorOnObject(const std::function<void(XmlBase&)>& operation);
    virtual void refresh();

    // --- Queries that subclasses answer -------------------------------------
    virtual QString rootDir();
    virtual void setRootDir(const QString& path);
    virtual QString filenameWithRoot(const QString& path);
    virtual QImage iconImage();
    virtual XmlHomePage* homepage();
    // The site's pages (the home page's page list); nothing outside a site.
    // A group answers its own pages.
    virtual XmlBaseList webItems();
    // The document of the file root (site or theme) the element belongs to, or nothing.
    virtual DocumentBase* myDocument();
    // The gateway to the folder of the element's file root (see
    // lq::ConfinedFolder): its document's own, or, for a tree that no
    // document with a folder holds, one opened on rootDir. Nothing when that
    // folder cannot be opened. Names given to it are relative to rootDir.
    std::shared_ptr<lq::ConfinedFolder> rootFolder();
    // The site whose tree the element belongs to (the site answers itself), or nothing.
    virtual XmlSite* siteRoot();
    // The navigation menu of the element's pages: the entries of its children
    // that have one, in order; nothing outside a site.
    virtual QList<MenuItem> menuItems();
    // The element's own entry in a navigation menu, when it shows there.
    virtual std::optional<MenuItem> menuEntry();
    // A page's identity that is saved with it, and the address its links go
    // to; both empty for anything that is no page.
    virtual QString pageUUID() const { return {}; }
    virtual QString externalLink() { return {}; }
    // Whether a page's link leaves the site, and the address a link to it is
    // written with (its file as a URL path segment, an external link as it
    // stands); false and empty for anything that is no page.
    virtual bool isExternalLink() const { return false; }
    virtual QString linkAddress() { return {}; }

    // --- Element protocol and XML text -------------------------------------
    // The child element for a tag met inside this element's body; the base
    // answers the application-wide factory's element. Parents that own parts
    // answer their own tags first. The tag may be borrowed from the text being
    // read: an element that keeps it keeps a copy of its characters.
    virtual XmlBasePtr createChildFromTag(const QString& tag);
    // Stores one attribute read from the XML text; unknown keys go to the superclass.
    // The key may be borrowed from the text being read: compare it, never keep it.
    virtual void setAttributeTo(const QString& key, const QString& value);
    // Appends the element's attributes: the superclass's first, then its own.
    virtual void appendAttributes(QString& xml);
    // XML of parts the element owns outside its children, or nothing (null).
    virtual QString writeXmlVorns();

    virtual void writeXmlInString(QString& xml);
    void appendSpace(QString& xml) const;
    QString createXml();
    // Atomic write of createXml as UTF-8, on the disk before it replaces the
    // old file and readable by its owner only; answers whether it was written.
    bool saveToFile(const QString& path);
    // The same through a folder's gateway, to the name below it.
    bool saveInto(lq::ConfinedFolder& folder, const QString& name);

    static XmlBasePtr createWithFile(const QString& path);
    // The tree of the file at the name below the folder, read through its
    // gateway (no link followed, the bound on document files kept); its
    // root folder is the file's folder. Nothing when it cannot be read.
    static XmlBasePtr createWithFile(const lq::ConfinedFolder& folder, const QString& name);
    // The tree of a document file's bytes (UTF-8, or the enciphered form);
    // nothing when they hold no element.
    static XmlBasePtr createWithData(const QByteArray& bytes, const QString& rootDir);
    static XmlBasePtr createWithXmlRootDir(const QString& text, const QString& rootDir);
    bool parseXml(lq::Scanner& scanner);
    bool readAttributes(const QString& attributes);
    void appendContent(const QString& text);
    // Adds the text as reading a content or verbatim block that holds it adds
    // it: nothing for white space alone, otherwise the text without its
    // leading white space and control characters, through appendContent.
    void appendContentAsRead(const QString& text);
    // What appendContentAsRead adds for the text, worked out without an
    // element (any thread may ask): the text without its leading white space
    // and control characters and without the characters the reader strips;
    // nothing for white space alone.
    static std::optional<QString> contentAsRead(const QString& text);
    // Adds a text contentAsRead gave, as appendContentAsRead adds it, without
    // looking through it again (a page's text is the whole page).
    void appendContentReadAhead(const QString& clean);
    void setDataString(const QString& text);

    // A separate copy of the element's tree made through its XML text.
    XmlBasePtr copyWithZone();
    void replaceChildWithCopyOf(XmlBase* child, XmlBase* source);

    // --- Files of the element's root folder ----------------------------------------
    // Writes the image (JPEG at the compression, or by the name's extension)
    // to the name below the root folder, through its gateway, making the
    // folders on the way; answers whether it was written, and why not.
    bool saveImageInRootFolder(const QImage& image, const QString& name, float compression, QString* error = nullptr);
    // The bytes of the file at the path: read through the root folder's
    // gateway when the path lies below the root folder (so a name the site
    // gives never reads a file outside it), else from the path itself (a
    // file the user chose, outside every site). Nothing when it cannot be
    // read, or holds more than the bound (negative: none).
    std::optional<QByteArray> readFileAt(const QString& path, qint64 bound = -1, QString* error = nullptr);

    // --- Pasteboard ------------------------------------------------------------
    // Makes the element's XML text (with its whole subtree) the pasteboard's
    // only content, as its plain string.
    void putOnPasteboard(lq::Pasteboard& pasteboard);
protected:
    // The document of a file root (site or theme), which answers for its
    // whole tree; nothing for any other element.
    virtual DocumentBase* fileRootDocument() { return nullptr; }
    // The pages of the site the element belongs to: the site root answers
    // for its whole tree; any other element asks its parent.
    virtual XmlBaseList sitePages() { return _parent ? _parent->sitePages() : XmlBaseList {}; }

    // What every plain setter does: stores the value in the field and tells
    // the document of the change, inside the frame of the setter's operation
    // ("setName:").
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
    std::optional<std::vector<XmlBasePtr>> _children;
    // Never null: an element without content text has the empty text.
    QString _content = QStringLiteral("");
    lq::Range _selectedRange;
    QString _elementOverride;
    mutable QString _uuid;
    mutable bool _uuidRegistered = false;
    QByteArray _data;

private:
    void registerUUID() const;
    // Adds text known to hold none of the characters the reader strips.
    void appendCleanContent(const QString& clean);
    void detachChildAt(std::size_t index, bool deleteSubtree);
    // parseXml for an element at the given nesting level of the text being
    // read (the element the reading starts with is level 1).
    bool parseXmlAtDepth(lq::Scanner& scanner, int depth);
};
