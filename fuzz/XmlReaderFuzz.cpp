// The element XML reader and writer. Property: whatever the reader makes of
// a text, the writer's text of it reads back into a tree that writes the
// same text again: write(read(write(read(x)))) equals write(read(x)).
#include "FuzzSupport.h"

#include "model/core/XmlBase.h"
#include "platform/Exception.h"

void fuzzOneInput(const std::uint8_t* data, std::size_t size)
{
    const XmlBasePtr first = XmlBase::createWithXmlRootDir(fuzz::text(data, size), QString());
    if (!first)
        return;
    const QString once = first->createXml();
    try {
        const XmlBasePtr second = XmlBase::createWithXmlRootDir(once, QString());
        if (!second)
            fuzz::fail("the written text reads as nothing", once);
        const QString twice = second->createXml();
        if (twice != once)
            fuzz::fail("write(read(write(read(x)))) differs from write(read(x))", once, twice);
    } catch (const lq::Exception& failure) {
        fuzz::fail("reading the written text failed", once, QString::fromUtf8(failure.what()));
    }
}
