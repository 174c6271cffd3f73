#include "model/core/ElementRegistry.h"
#include "model/core/XmlEnvelop.h"
#include "model/core/XmlEnvelops.h"
#include "support/Printers.h"

#include <gtest/gtest.h>

TEST(ElementRegistry, ReplacesAndForgets)
{
    ElementRegistry& registry = ElementRegistry::shared();
    auto first = XmlBase::create();
    auto second = XmlBase::create();
    const QString key = QStringLiteral("7FFFFFFF7FFFFFFE");
    registry.addUUIDXmlbase(key, first.get());
    registry.addUUIDXmlbase(key, second.get());
    EXPECT_EQ(registry.xmlbase(key), second);
    registry.changeUUIDToUUIDXmlbase(key, QStringLiteral("0000000100000001"), first.get());
    EXPECT_EQ(registry.xmlbase(key), nullptr);
    EXPECT_EQ(registry.xmlbase(QStringLiteral("0000000100000001")), first);
    registry.removeUUID(QStringLiteral("0000000100000001"));
    registry.removeUUID(QString());
    EXPECT_EQ(registry.xmlbase(QStringLiteral("0000000100000001")), nullptr);
    // The elements' own entries are untouched.
    EXPECT_EQ(registry.xmlbase(first->UUID()), first);
}

TEST(ElementRegistry, KeepsUUIDsOfEveryFormApart)
{
    // The usual form, the same digits in lower case, other lengths and other
    // characters are all different keys.
    ElementRegistry& registry = ElementRegistry::shared();
    const QStringList keys = { QStringLiteral("00000000000000AB"), QStringLiteral("00000000000000ab"),
        QStringLiteral("00000000000000AG"), QStringLiteral("AB"), QStringLiteral("000000000000000AB"),
        QStringLiteral("FFFFFFFFFFFFFFFF"), QStringLiteral("") };
    std::vector<XmlBasePtr> elements;
    for (const QString& key : keys) {
        elements.push_back(XmlBase::create());
        registry.addUUIDXmlbase(key, elements.back().get());
    }
    for (qsizetype i = 0; i < keys.size(); ++i) {
        SCOPED_TRACE(keys[i].toStdString());
        EXPECT_EQ(registry.xmlbase(keys[i]), elements[static_cast<std::size_t>(i)]);
    }
    // Moving and removing one key leaves the others.
    registry.changeUUIDToUUIDXmlbase(keys[0], QStringLiteral("x"), elements[0].get());
    EXPECT_EQ(registry.xmlbase(keys[0]), nullptr);
    EXPECT_EQ(registry.xmlbase(QStringLiteral("x")), elements[0]);
    EXPECT_EQ(registry.xmlbase(keys[1]), elements[1]);
    for (const QString& key : keys)
        registry.removeUUID(key);
    registry.removeUUID(QStringLiteral("x"));
    for (const QString& key : keys)
        EXPECT_EQ(registry.xmlbase(key), nullptr);
}

TEST(ElementRegistry, CheckListNodesResolveOnlyLiveElements)
{
    auto group = XmlEnvelops::create();
    auto kept = XmlBase::create();
    auto nodeKept = XmlEnvelop::create();
    auto nodeGone = XmlEnvelop::create();
    nodeKept->setXmlUUID(kept->UUID());
    {
        auto gone = XmlBase::create();
        nodeGone->setXmlUUID(gone->UUID());
    }
    EXPECT_TRUE(group->canYouBeMyParent(nodeKept.get()));
    group->addChild(nodeKept);
    group->addChild(nodeGone);
    nodeKept->setCheck(true);
    nodeGone->setCheck(true);

    QStringList checked;
    group->fillCheckedItems(checked);
    ASSERT_EQ(checked.size(), 2);
    XmlBaseList resolved;
    for (const QString& uuid : checked) {
        XmlEnvelop* node = XmlEnvelop::cast(XmlBase::UUID(uuid).get());
        ASSERT_NE(node, nullptr);
        if (XmlBasePtr real = XmlBase::UUID(node->xmlUUID()))
            resolved.append(real);
    }
    EXPECT_EQ(resolved, XmlBaseList { kept });
}
