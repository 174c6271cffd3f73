#include "platform/ClipboardPasteboard.h"
#include "platform/MemoryPasteboard.h"
#include "platform/MimeDataPasteboard.h"
#include "support/Printers.h"

#include <QGuiApplication>
#include <QMimeData>
#include <QUrl>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

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

// Drag-and-drop data as the model's pasteboard readers see it.
TEST(PasteboardMimeData, OffersTheDatasOwnTextAndItsLocalFiles)
{
    struct Case {
        const char* what;
        std::function<void(QMimeData&)> fill;
        std::optional<QString> string;
        std::optional<QStringList> filenames;
    };
    const std::vector<Case> cases {
        { "element drag text", [](QMimeData& d) { d.setText(QStringLiteral("0123456789ABCDEF|FEDCBA9876543210")); },
            QStringLiteral("0123456789ABCDEF|FEDCBA9876543210"), std::nullopt },
        { "files from a file manager, with their URLs as text",
            [](QMimeData& d) {
                d.setUrls({ QUrl::fromLocalFile(QStringLiteral("/tmp/a b.jpg")), QUrl(QStringLiteral("https://example.com/c.jpg")) });
                d.setText(QStringLiteral("file:///tmp/a%20b.jpg"));
            },
            QStringLiteral("file:///tmp/a%20b.jpg"), QStringList { QStringLiteral("/tmp/a b.jpg") } },
        { "a list of URLs alone is no text", [](QMimeData& d) { d.setUrls({ QUrl::fromLocalFile(QStringLiteral("/tmp/x.jpg")) }); },
            std::nullopt, QStringList { QStringLiteral("/tmp/x.jpg") } },
        { "nothing of ours", [](QMimeData& d) { d.setData(QStringLiteral("image/tiff"), "II*"); }, std::nullopt, std::nullopt },
    };
    for (const Case& c : cases) {
        QMimeData data;
        c.fill(data);
        EXPECT_EQ(lq::mimeDataString(&data), c.string) << c.what;
        EXPECT_EQ(lq::mimeDataFilenames(&data), c.filenames) << c.what;
        const lq::MemoryPasteboard pasteboard = lq::pasteboardWithMimeData(&data);
        EXPECT_EQ(pasteboard.string(), c.string) << c.what;
        EXPECT_EQ(pasteboard.filenames(), c.filenames) << c.what;
    }
    EXPECT_FALSE(lq::mimeDataString(nullptr).has_value());
}
