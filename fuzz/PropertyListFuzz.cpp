// The property-list reader (the photo library's preferences and album data
// come from outside the program), over any bytes.
#include "FuzzSupport.h"

#include "platform/PropertyList.h"

#include <QVariant>

namespace {

// Every value read is one of the kinds a list holds, nested no deeper than
// the reader allows.
void check(const QVariant& value, int depth)
{
    if (depth > 258)
        fuzz::fail("a value nested deeper than the reader allows");
    switch (value.typeId()) {
    case QMetaType::QVariantMap:
        for (const QVariant& entry : value.toMap())
            check(entry, depth + 1);
        return;
    case QMetaType::QVariantList:
        for (const QVariant& item : value.toList())
            check(item, depth + 1);
        return;
    case QMetaType::QString:
    case QMetaType::LongLong:
    case QMetaType::Double:
    case QMetaType::Bool:
    case QMetaType::QDateTime:
    case QMetaType::QByteArray:
        return;
    default:
        fuzz::fail("a value of a kind no list holds", QString::fromLatin1(value.typeName()));
    }
}

} // namespace

void fuzzOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray bytes = fuzz::bytes(data, size);
    QString error;
    const std::optional<QVariant> read = lq::readPropertyList(bytes, &error);
    if (!read) {
        if (error.isEmpty())
            fuzz::fail("a refusal without a reason");
        return;
    }
    if (!error.isEmpty())
        fuzz::fail("a reason given for a list that was read", error);
    check(*read, 0);
    if (lq::readPropertyList(bytes) != read)
        fuzz::fail("the same bytes read twice differ");
}
