#pragma once

#include "model/core/Envelop.h"
#include "model/core/XmlBase.h"

#include <QHash>
#include <QString>

#include <optional>

// The registry of live elements by UUID: every element enters it when its
// UUID is first asked for and leaves it when destroyed, and XmlBase::UUID
// finds an element by its UUID while it lives. It owns nobody. One registry lives for the whole run
// (the application services object holds it); elements are made only while
// it exists.
class ElementRegistry {
public:
    ElementRegistry();
    ~ElementRegistry();
    ElementRegistry(const ElementRegistry&) = delete;
    ElementRegistry& operator=(const ElementRegistry&) = delete;

    // The one registry; a program must make it before any element.
    static ElementRegistry& shared();
    // The one registry, or nothing before it is made and after it is gone.
    static ElementRegistry* instance();

    // While it lives, the calling thread has a registry of its own, which
    // shared() and instance() answer on that thread: a thread that works on
    // a copy of a document's trees registers the copies there, under the
    // UUIDs of their originals, without touching the program's registry.
    // Every element registered in it must be gone before it ends.
    class ThreadScope {
    public:
        ThreadScope();
        ~ThreadScope();
        ThreadScope(const ThreadScope&) = delete;
        ThreadScope& operator=(const ThreadScope&) = delete;

    private:
        ElementRegistry* _own;
        ElementRegistry* _previous;
    };

    // A new UUID: 16 upper-case hexadecimal digits, drawn at random.
    static QString makeUUID();
    // Registers the element under a new UUID and answers it.
    QString addNewUUIDXmlbase(XmlBase* element);
    // How many elements have drawn a UUID of their own on the calling thread
    // so far.
    static quint64 uuidsDrawnOnThisThread();

    void addUUIDXmlbase(const QString& uuid, XmlBase* element);
    void removeUUID(const QString& uuid);
    void changeUUIDToUUIDXmlbase(const QString& oldUUID, const QString& newUUID, XmlBase* element);
    // The live element registered under the UUID, or nothing.
    XmlBasePtr xmlbase(const QString& uuid) const;

private:
    struct OfOneThread {};
    explicit ElementRegistry(OfOneThread);
    QHash<QString, Envelop>& registry();

    // UUIDs of the form makeUUID gives (16 upper-case hexadecimal digits)
    // are kept under their number, which is much cheaper to hash, compare
    // and store than the text; any other UUID under its text in xmllookup.
    QHash<quint64, Envelop> _numberedLookup;
    std::optional<QHash<QString, Envelop>> xmllookup;
};
