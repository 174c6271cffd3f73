#include "model/core/ElementRegistry.h"

#include "platform/Random.h"

#include <cstdio>
#include <cstdlib>

namespace {

ElementRegistry* theRegistry = nullptr;
thread_local ElementRegistry* threadRegistry = nullptr;
thread_local quint64 uuidsDrawn = 0;

// The number a UUID of the usual form stands for, or nothing for any other
// text (lower-case digits included, so that two texts never share a number).
std::optional<quint64> uuidNumber(const QString& uuid)
{
    if (uuid.size() != 16)
        return std::nullopt;
    quint64 number = 0;
    for (QChar c : uuid) {
        const char16_t u = c.unicode();
        unsigned digit;
        if (u >= '0' && u <= '9')
            digit = u - '0';
        else if (u >= 'A' && u <= 'F')
            digit = u - 'A' + 10;
        else
            return std::nullopt;
        number = (number << 4) | digit;
    }
    return number;
}

} // namespace

ElementRegistry::ElementRegistry()
{
    if (theRegistry) {
        std::fputs("Lumenquill: a second element registry was created\n", stderr);
        std::abort();
    }
    theRegistry = this;
}

ElementRegistry::ElementRegistry(OfOneThread)
{
}

ElementRegistry::~ElementRegistry()
{
    if (theRegistry == this)
        theRegistry = nullptr;
}

ElementRegistry::ThreadScope::ThreadScope()
    : _own(new ElementRegistry(OfOneThread {}))
    , _previous(threadRegistry)
{
    threadRegistry = _own;
}

ElementRegistry::ThreadScope::~ThreadScope()
{
    threadRegistry = _previous;
    delete _own;
}

ElementRegistry& ElementRegistry::shared()
{
    if (threadRegistry)
        return *threadRegistry;
    if (!theRegistry) {
        std::fputs("Lumenquill: an element was made before the element registry\n", stderr);
        std::abort();
    }
    return *theRegistry;
}

ElementRegistry* ElementRegistry::instance()
{
    return threadRegistry ? threadRegistry : theRegistry;
}

QHash<QString, Envelop>& ElementRegistry::registry()
{
    if (!xmllookup) {
        xmllookup.emplace();
        xmllookup->reserve(1000);
    }
    return *xmllookup;
}

void ElementRegistry::addUUIDXmlbase(const QString& uuid, XmlBase* element)
{
    if (const std::optional<quint64> number = uuidNumber(uuid)) {
        if (_numberedLookup.capacity() == 0)
            _numberedLookup.reserve(1000);
        _numberedLookup.insert(*number, Envelop::createWithObject(element));
        return;
    }
    registry().insert(uuid, Envelop::createWithObject(element));
}

void ElementRegistry::removeUUID(const QString& uuid)
{
    if (uuid.isNull())
        return;
    if (const std::optional<quint64> number = uuidNumber(uuid))
        _numberedLookup.remove(*number);
    else
        registry().remove(uuid);
}

void ElementRegistry::changeUUIDToUUIDXmlbase(const QString& oldUUID, const QString& newUUID, XmlBase* element)
{
    removeUUID(oldUUID);
    addUUIDXmlbase(newUUID, element);
}

XmlBasePtr ElementRegistry::xmlbase(const QString& uuid) const
{
    if (uuid.isNull())
        return nullptr;
    const Envelop* found = nullptr;
    if (const std::optional<quint64> number = uuidNumber(uuid)) {
        const auto it = _numberedLookup.constFind(*number);
        if (it != _numberedLookup.constEnd())
            found = &*it;
    } else if (xmllookup) {
        const auto it = xmllookup->constFind(uuid);
        if (it != xmllookup->constEnd())
            found = &*it;
    }
    if (!found || !found->object())
        return nullptr;
    // An element whose last owner is letting go resolves to nothing.
    return found->object()->weak_from_this().lock();
}

QString ElementRegistry::makeUUID()
{
    // Two random numbers as eight upper-case hexadecimal digits each, written
    // straight into the string: every element read makes one.
    static constexpr char16_t digits[] = u"0123456789ABCDEF";
    QString uuid(16, Qt::Uninitialized);
    char16_t* out = reinterpret_cast<char16_t*>(uuid.data());
    for (int half = 0; half < 2; ++half) {
        const auto value = static_cast<quint32>(lq::random31());
        for (int digit = 0; digit < 8; ++digit)
            *out++ = digits[(value >> (28 - 4 * digit)) & 0xF];
    }
    return uuid;
}

QString ElementRegistry::addNewUUIDXmlbase(XmlBase* element)
{
    QString uuid = makeUUID();
    addUUIDXmlbase(uuid, element);
    ++uuidsDrawn;
    return uuid;
}

quint64 ElementRegistry::uuidsDrawnOnThisThread()
{
    return uuidsDrawn;
}
