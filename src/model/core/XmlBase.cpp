#include "model/core/XmlBase.h"

#include "model/core/DocumentBase.h"
#include "model/core/ElementRegistry.h"
#include "platform/ExceptionFrame.h"

#include <QDir>

XmlBase::XmlBase(Key)
{
}

void XmlBase::registerUUID() const
{
    _uuid = ElementRegistry::shared().addNewUUIDXmlbase(const_cast<XmlBase*>(this));
    _uuidRegistered = true;
}

void XmlBase::adoptUUID(const QString& uuid)
{
    ElementRegistry& registry = ElementRegistry::shared();
    if (_uuidRegistered)
        registry.removeUUID(_uuid);
    _uuid = uuid;
    registry.addUUIDXmlbase(_uuid, this);
    _uuidRegistered = true;
}

XmlBase::~XmlBase()
{
    // No change notices from here: the element has no parent any more, and a
    // destructor must not reach into a parent that may itself be going away.
    _parent = nullptr;
    if (_children) {
        while (!_children->empty()) {
            XmlBasePtr child = std::move(_children->back());
            _children->pop_back();
            child->_parent = nullptr;
        }
    }
    if (_uuidRegistered) {
        if (ElementRegistry* registry = ElementRegistry::instance())
            registry->removeUUID(_uuid);
    }
}

std::shared_ptr<XmlBase> XmlBase::create()
{
    return make<XmlBase>();
}

// --- Identity ----------------------------------------------------------------

XmlBasePtr XmlBase::UUID(const QString& uuid)
{
    return ElementRegistry::shared().xmlbase(uuid);
}

QString XmlBase::elementName() const
{
    return QStringLiteral("xmlbase");
}

// --- Name and flags ------------------------------------------------------------

QString XmlBase::name() const
{
    return _name;
}

void XmlBase::setName(const QString& name)
{
    setStored(_name, name, "setName:");
}

QString XmlBase::fullname() const
{
    return name();
}

QString XmlBase::uniquename() const
{
    return name();
}

void XmlBase::setCheck(bool check)
{
    _check = check ? 1 : 0;
}

void XmlBase::fillCheckedItems(QStringList& uuids) const
{
    lq::modelFrame(this, "fillCheckedItems:", [&] {
        if (_check != 0)
            uuids.append(UUID());
        if (_children) {
            for (const XmlBasePtr& child : *_children)
                child->fillCheckedItems(uuids);
        }
    });
}

// --- Content ---------------------------------------------------------------------

void XmlBase::setContent(const QString& content)
{
    setStored(_content, content.isNull() ? QStringLiteral("") : content, "setContent:");
}

void XmlBase::setDefaultContent(const QString& content)
{
    lq::modelFrame(this, "setDefaultContent:", [&] {
        setContent(content);
        _defaultContent = true;
    });
}

lq::Range XmlBase::selectedRange() const
{
    if (!_have_content)
        return {};
    const lq::Range selected = _seldom ? _seldom->_selectedRange : lq::Range();
    const auto size = static_cast<quint32>(_content.size());
    // A caret inside the content stays where it is.
    if (selected.length == 0 && selected.location <= size)
        return selected;
    return selected.intersection({ 0, size });
}

void XmlBase::setSelectedRange(lq::Range range)
{
    if (_seldom || range != lq::Range())
        seldom()._selectedRange = range;
}

void XmlBase::setElementOverride(const QString& tag)
{
    if (_seldom || !tag.isEmpty())
        seldom()._elementOverride = tag;
}

XmlBase::Seldom& XmlBase::seldom()
{
    if (!_seldom)
        _seldom = std::make_unique<Seldom>();
    return *_seldom;
}

const QString& XmlBase::noText()
{
    static const QString none;
    return none;
}

const QByteArray& XmlBase::noData()
{
    static const QByteArray none;
    return none;
}

// --- Tree ----------------------------------------------------------------------------

XmlBase* XmlBase::root()
{
    XmlBase* node = this;
    while (node->_parent && node->_parent != node)
        node = node->_parent;
    return node;
}

bool XmlBase::isSelfOrDescendantOf(const XmlBase* element) const
{
    for (const XmlBase* node = this; node; node = node->_parent) {
        if (node == element)
            return true;
        if (node->_parent == node)
            break;
    }
    return false;
}

void XmlBase::setParent(XmlBase* parent)
{
    setStored(_parent, parent, "setParent:");
}

bool XmlBase::canYouBeMyParent(XmlBase*)
{
    return false;
}

const std::vector<XmlBasePtr>& XmlBase::childList() const
{
    static const std::vector<XmlBasePtr> none;
    return _children ? *_children : none;
}

std::vector<XmlBasePtr>& XmlBase::childStore()
{
    if (!_children) {
        _children.emplace();
        _children->reserve(5);
    }
    return *_children;
}

void XmlBase::insertChildAtIndex(const XmlBasePtr& child, int index)
{
    lq::modelFrame(this, "insertChild:atIndex:", [&] {
        if (!_have_children || !child)
            return;
        std::vector<XmlBasePtr>& store = childStore();
        // An index past the end appends; so does a negative one, as an
        // unsigned index would.
        const std::size_t position = (index < 0 || static_cast<std::size_t>(index) > store.size())
            ? store.size()
            : static_cast<std::size_t>(index);
        store.insert(store.begin() + static_cast<std::ptrdiff_t>(position), child);
        child->setParent(this);
        docChanged();
    });
}

void XmlBase::insertChildAfterChild(const XmlBasePtr& child, const XmlBase* sibling)
{
    lq::modelFrame(this, "insertChild:afterChild:", [&] {
        if (!_have_children)
            return;
        const int index = indexOfChild(sibling);
        insertChildAtIndex(child, index == NotFound ? 0 : index + 1);
    });
}

XmlBasePtr XmlBase::addChild(const XmlBasePtr& child)
{
    return lq::modelFrame(this, "addChild:", [&]() -> XmlBasePtr {
        if (!_have_children)
            return nullptr;
        std::vector<XmlBasePtr>& store = childStore();
        if (child) {
            store.push_back(child);
            child->setParent(this);
            docChanged();
        }
        return child;
    });
}

void XmlBase::detachChildAt(std::size_t index, bool deleteSubtree)
{
    // Keep the child alive until the operation is over, whoever else holds it.
    XmlBasePtr child = (*_children)[index];
    if (deleteSubtree)
        child->removeAllChildren();
    child->setParent(nullptr);
    const auto it = std::find(_children->begin(), _children->end(), child);
    if (it != _children->end())
        _children->erase(it);
    docChanged();
}

void XmlBase::removeChild(XmlBase* child)
{
    lq::modelFrame(this, "removeChild:", [&] {
        const int index = indexOfChild(child);
        if (index != NotFound)
            detachChildAt(static_cast<std::size_t>(index), true);
    });
}

void XmlBase::removeChildWithoutDeletingChildren(XmlBase* child)
{
    lq::modelFrame(this, "removeChildWithoutDeletingChildren:", [&] {
        const int index = indexOfChild(child);
        if (index != NotFound)
            detachChildAt(static_cast<std::size_t>(index), false);
    });
}

void XmlBase::removeAllChildren()
{
    lq::modelFrame(this, "removeAllChildren", [&] {
        if (!_have_children)
            return;
        if (_children) {
            while (!_children->empty()) {
                XmlBasePtr child = _children->back();
                child->setParent(nullptr);
                child->removeAllChildren();
                const auto it = std::find(_children->begin(), _children->end(), child);
                if (it != _children->end())
                    _children->erase(it);
            }
        }
        docChanged();
    });
}

void XmlBase::removeFromParent()
{
    if (_parent)
        _parent->removeChild(this);
}

void XmlBase::removeFromParentWithoutDeletingChildren()
{
    if (_parent)
        _parent->removeChildWithoutDeletingChildren(this);
}

void XmlBase::swapChildForChild(XmlBase* present, const XmlBasePtr& replacement)
{
    lq::modelFrame(this, "swapChild:forChild:", [&] {
        if (!present || !replacement || indexOfChild(replacement.get()) != NotFound)
            return;
        const int index = indexOfChild(present);
        if (index == NotFound)
            return;
        const XmlBasePtr old = (*_children)[static_cast<std::size_t>(index)];
        old->setParent(nullptr);
        replacement->setParent(this);
        (*_children)[static_cast<std::size_t>(index)] = replacement;
    });
}

int XmlBase::indexOfChild(const XmlBase* child) const
{
    if (!_have_children || !_children || !child)
        return NotFound;
    for (std::size_t i = 0; i < _children->size(); ++i) {
        if ((*_children)[i].get() == child)
            return static_cast<int>(i);
    }
    return NotFound;
}

XmlBaseList XmlBase::children() const
{
    if (!_have_children || !_children)
        return {};
    return XmlBaseList(_children->begin(), _children->end());
}

XmlBasePtr XmlBase::firstChild() const
{
    if (!_have_children || !_children || _children->empty())
        return nullptr;
    return _children->front();
}

XmlBasePtr XmlBase::lastChild() const
{
    if (!_have_children || !_children || _children->empty())
        return nullptr;
    return _children->back();
}

XmlBasePtr XmlBase::childAtIndex(int index) const
{
    if (!_have_children || !_children || index < 0 || static_cast<std::size_t>(index) >= _children->size())
        return nullptr;
    return (*_children)[static_cast<std::size_t>(index)];
}

int XmlBase::numberChildren() const
{
    if (!_have_children || !_children)
        return 0;
    return static_cast<int>(_children->size());
}

XmlBaseList XmlBase::childrenEnumerator() const
{
    return children();
}

XmlBaseList XmlBase::reverseEnumerator() const
{
    XmlBaseList list = children();
    std::reverse(list.begin(), list.end());
    return list;
}

// --- Change notices -----------------------------------------------------------------

void XmlBase::docChanged()
{
    lq::modelFrame(this, "docChanged", [&] {
        if (_parent)
            _parent->docChanged();
    });
}

void XmlBase::falseAlarm(bool suppress)
{
    lq::modelFrame(this, "falseAlarm:", [&] {
        if (_parent)
            _parent->falseAlarm(suppress);
    });
}

// --- Walks ------------------------------------------------------------------------------

XmlBaseList XmlBase::ownedParts() const
{
    return {};
}

XmlBaseList XmlBase::walkedElements() const
{
    XmlBaseList elements = ownedParts();
    elements.append(children());
    return elements;
}

void XmlBase::newDocument()
{
    lq::modelFrame(this, "newDocument", [&] {
        for (const XmlBasePtr& child : children())
            child->newDocument();
    });
}

void XmlBase::postload()
{
    lq::modelFrame(this, "postload", [&] {
        for (const XmlBasePtr& element : walkedElements())
            element->postload();
    });
}

void XmlBase::loadBackstore(void* context)
{
    lq::modelFrame(this, "loadBackstore:", [&] {
        for (const XmlBasePtr& element : walkedElements())
            element->loadBackstore(context);
    });
}

void XmlBase::releaseBackstore(void* context)
{
    lq::modelFrame(this, "releaseBackstore:", [&] {
        for (const XmlBasePtr& element : walkedElements())
            element->releaseBackstore(context);
    });
}

void XmlBase::listOfFilesToCopyAll(QStringList& files, bool all)
{
    lq::modelFrame(this, "listOfFilesToCopy:all:", [&] {
        for (const XmlBasePtr& element : walkedElements())
            element->listOfFilesToCopyAll(files, all);
    });
}

void XmlBase::callSelectorOnObject(const std::function<void(XmlBase&)>& operation)
{
    lq::modelFrame(this, "callSelector:onObject:", [&] {
        operation(*this);
        for (const XmlBasePtr& element : walkedElements())
            element->callSelectorOnObject(operation);
    });
}

void XmlBase::refresh()
{
    lq::modelFrame(this, "refresh", [&] {
        XmlBase* top = root();
        if (top != this)
            top->refresh();
    });
}

// --- Queries --------------------------------------------------------------------------------

QString XmlBase::rootDir()
{
    return lq::modelFrame(this, "rootDir", [&] {
        XmlBase* top = root();
        return top == this ? QDir::tempPath() : top->rootDir();
    });
}

void XmlBase::setRootDir(const QString& path)
{
    lq::modelFrame(this, "setRootDir:", [&] {
        XmlBase* top = root();
        if (top != this)
            top->setRootDir(path);
    });
}

QString XmlBase::filenameWithRoot(const QString& path)
{
    return path;
}

QImage XmlBase::iconImage()
{
    return {};
}

XmlHomePage* XmlBase::homepage()
{
    return nullptr;
}

XmlBaseList XmlBase::webItems()
{
    return lq::modelFrame(this, "webItems", [&] { return sitePages(); });
}

XmlSite* XmlBase::siteRoot()
{
    return _parent ? _parent->siteRoot() : nullptr;
}

std::optional<MenuItem> XmlBase::menuEntry()
{
    return std::nullopt;
}

DocumentBase* XmlBase::myDocument()
{
    return lq::modelFrame(this, "myDocument", [&]() -> DocumentBase* {
        return root()->fileRootDocument();
    });
}

QList<MenuItem> XmlBase::menuItems()
{
    return lq::modelFrame(this, "menuItems", [&]() -> QList<MenuItem> {
        QList<MenuItem> items;
        if (!siteRoot())
            return items;
        items.reserve(numberChildren());
        for (const XmlBasePtr& child : children()) {
            if (std::optional<MenuItem> item = child->menuEntry())
                items.append(std::move(*item));
        }
        return items;
    });
}
