// The element factory: the element name of every class that can stand in a
// document file, a theme, a script or the pasteboard, and the class that
// makes it. Each layer adds the names of its own classes at start-up
// (lq::registerFileElements ... lq::registerScriptSteps).

#include "model/core/ElementFactory.h"

#include "platform/ExceptionFrame.h"

#include <iterator>

namespace lq {

namespace {

using Maker = ElementMaker;
using VocabularyEntry = FactoryTag;

// The element base's own name; every other name is registered by the layer
// of its class at start-up (see addFactoryTags). Names are exact and
// case-sensitive.
const VocabularyEntry kVocabulary[] = {
    { "xmlbase", &makeElement<XmlBase> },
};

QHash<QString, Maker>& vocabulary()
{
    static QHash<QString, Maker> table = [] {
        QHash<QString, Maker> byTag;
        byTag.reserve(static_cast<qsizetype>(std::size(kVocabulary)));
        for (const VocabularyEntry& entry : kVocabulary)
            byTag.insert(QString::fromLatin1(entry.tag), entry.make);
        return byTag;
    }();
    return table;
}

} // namespace

XmlBasePtr factoryCreateChildFromTag(const QString& tag)
{
    return classFrame("XmlBase +createChildFromTag:", [&]() -> XmlBasePtr {
        // Elements come in runs of one tag (the files of a folder, the photos
        // of an album), so the last tag found is tried before the table. A
        // tag once found keeps its class: tags are only ever added.
        static thread_local QString lastTag;
        static thread_local Maker lastMake = nullptr;
        if (lastMake && tag == lastTag)
            return lastMake();
        const Maker make = vocabulary().value(tag, nullptr);
        if (!make)
            return nullptr;
        // Its own copy: the tag may be borrowed from the text being read.
        lastTag = QString(tag.constData(), tag.size());
        lastMake = make;
        return make();
    });
}

void addFactoryTags(std::initializer_list<FactoryTag> tags)
{
    QHash<QString, Maker>& table = vocabulary();
    for (const FactoryTag& entry : tags) {
        const QString tag = QString::fromLatin1(entry.tag);
        if (!table.contains(tag))
            table.insert(tag, entry.make);
    }
}

} // namespace lq
