#include "model/XmlBase.h"
#include "support/Printers.h"

#include <gtest/gtest.h>

TEST(XmlBase, FreshElementDefaults)
{
    auto e = XmlBase::create();
    EXPECT_EQ(e->name(), QString());
    EXPECT_TRUE(e->canEditName());
}
