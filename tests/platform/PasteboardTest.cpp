#include "platform/ClipboardPasteboard.h"
#include "platform/MemoryPasteboard.h"
#include "support/Printers.h"

#include <QGuiApplication>
#include <QMimeData>
#include <QUrl>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace {

// Both kinds of pasteboard must behave alike.
struct Kind {
    const char* name;
    std::function<std::unique_ptr<lq::Pasteboard>()> make;
};

class PasteboardBehaviour : public ::testing::TestWithParam<Kind> { };

} // namespace

TEST_P(PasteboardBehaviour, OffersWhatWasPutOnIt)
{
    std::unique_ptr<lq::Pasteboard> pasteboard = GetParam().make();
    pasteboard->clearContents();
    EXPECT_FALSE(pasteboard->string().has_value());
    EXPECT_FALSE(pasteboard->filenames().has_value());

    // Both types at once.
    pasteboard->setString(QStringLiteral("<files/>\n"));
    pasteboard->setFilenames({ QStringLiteral("/tmp/a b.jpg"), QStringLiteral("/tmp/ü.jpg") });
    EXPECT_EQ(pasteboard->string(), std::optional<QString>(QStringLiteral("<files/>\n")));
    EXPECT_EQ(pasteboard->filenames(),
        std::optional<QStringList>(QStringList { QStringLiteral("/tmp/a b.jpg"), QStringLiteral("/tmp/ü.jpg") }));

    // Declaring a string makes it the only content.
    pasteboard->declareString(QStringLiteral("only"));
    EXPECT_EQ(pasteboard->string(), std::optional<QString>(QStringLiteral("only")));
    EXPECT_FALSE(pasteboard->filenames().has_value());

    // File names alone offer no string.
    pasteboard->clearContents();
    pasteboard->setFilenames({ QStringLiteral("/tmp/x.jpg") });
    EXPECT_FALSE(pasteboard->string().has_value());
    EXPECT_EQ(pasteboard->filenames(), std::optional<QStringList>(QStringList { QStringLiteral("/tmp/x.jpg") }));
    pasteboard->clearContents();
}

INSTANTIATE_TEST_SUITE_P(Pasteboard, PasteboardBehaviour,
    ::testing::Values(Kind { "Memory", [] { return std::make_unique<lq::MemoryPasteboard>(); } },
        Kind { "Clipboard", [] { return std::make_unique<lq::ClipboardPasteboard>(); } }),
    [](const ::testing::TestParamInfo<Kind>& info) { return std::string(info.param.name); });

TEST(PasteboardClipboard, UsesTheSystemFormats)
{
    lq::ClipboardPasteboard pasteboard;
    pasteboard.clearContents();
    pasteboard.setString(QStringLiteral("text"));
    pasteboard.setFilenames({ QStringLiteral("/tmp/x.jpg") });
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    ASSERT_NE(data, nullptr);
    EXPECT_EQ(data->text(), QStringLiteral("text"));
    ASSERT_EQ(data->urls().size(), 1);
    EXPECT_EQ(data->urls().first().toLocalFile(), QStringLiteral("/tmp/x.jpg"));

    // URLs that are not local files have no path.
    auto* remote = new QMimeData;
    remote->setUrls({ QUrl(QStringLiteral("https://example.com/a.jpg")), QUrl::fromLocalFile(QStringLiteral("/tmp/y.jpg")) });
    QGuiApplication::clipboard()->setMimeData(remote);
    EXPECT_EQ(pasteboard.filenames(), std::optional<QStringList>(QStringList { QStringLiteral("/tmp/y.jpg") }));
    pasteboard.clearContents();
}
