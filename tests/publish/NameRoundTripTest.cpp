// Every name a file can have on disk comes back as it is from each road a
// name takes: the listing tool, the program's own listing, the stored tree
// of the last publication and the copy into a folder. The names hold one
// code point each, from a sweep over every plane and from every class a
// reader or writer of text is apt to treat apart: controls, format and
// blank characters, the byte-order mark, noncharacters, private use,
// unassigned and astral code points, the marks of markup. A name that is
// no text (half of a character) is refused by name.
#include "platform/ConfinedFolder.h"
#include "publish/DigestListing.h"
#include "publish/XmlBom.h"
#include "publish/XmlD.h"
#include "publish/XmlF.h"

#include "support/HelperTools.h"
#include "support/TestFiles.h"

#include <QCryptographicHash>
#include <QDirIterator>
#include <QSet>
#include <QTemporaryDir>

#include <fcntl.h>
#include <unistd.h>

#include <gtest/gtest.h>

namespace {

QString fromCodePoint(char32_t code)
{
    if (QChar::requiresSurrogates(code))
    {
        const QChar pair[2] = { QChar(QChar::highSurrogate(code)), QChar(QChar::lowSurrogate(code)) };
        return QString(pair, 2);
    }
    return QString(QChar(char16_t(code)));
}

// The code points the names are made of.
QList<char32_t> codePoints()
{
    QList<char32_t> codes;
    const auto range = [&codes](char32_t from, char32_t to) {
        for (char32_t code = from; code <= to; ++code)
            codes.append(code);
    };
    // Controls, and the blanks and marks markup and the reader give a meaning.
    range(0x01, 0x40);
    range(0x5B, 0x60);
    range(0x7B, 0xBF);
    // Blanks, format characters, line and paragraph separators, bidirectional controls.
    for (char32_t code : { 0x034F, 0x061C, 0x0600, 0x06DD, 0x070F, 0x1680, 0x180E, 0x202F, 0x205F, 0x3000, 0x110BD, 0x1D173, 0xE0001 })
        codes.append(code);
    range(0x2000, 0x206F);
    range(0xE0020, 0xE007F);
    // The byte-order mark and what stands around it; specials and replacement.
    range(0xFE00, 0xFE0F);
    range(0xFEFE, 0xFF00);
    range(0xFFF0, 0xFFFF);
    // Noncharacters: the block in Arabic Presentation Forms and the last two
    // code points of every plane.
    range(0xFDD0, 0xFDEF);
    for (char32_t plane = 0; plane <= 0x10; ++plane) {
        codes.append(plane * 0x10000 + 0xFFFE);
        codes.append(plane * 0x10000 + 0xFFFF);
        codes.append(plane * 0x10000);
    }
    // Private use, combining marks, emoji and their modifiers, unassigned ones.
    for (char32_t code : { 0xE000, 0xF8FF, 0xF0000, 0x10FFFD, 0x0301, 0x20DD, 0x1F600, 0x1F3FB, 0x1F1E6, 0x0378, 0x2FFFD, 0x30000, 0xDFFFF })
        codes.append(code);
    // A sweep across every plane.
    for (char32_t code = 0x41; code <= 0x10FFFF; code += 331)
        codes.append(code);
    // Not characters (halves of one), and what no file name holds.
    codes.removeIf([](char32_t code) { return (code >= 0xD800 && code <= 0xDFFF) || code == 0 || code == '/' || code == '\\'; });
    std::sort(codes.begin(), codes.end());
    codes.erase(std::unique(codes.begin(), codes.end()), codes.end());
    return codes;
}

// Names holding the code point inside, at either end, alone and twice,
// and text that looks like the references the stored tree writes.
QStringList names()
{
    QSet<QString> names;
    for (char32_t code : codePoints()) {
        const QString c = fromCodePoint(code);
        names.insert(QStringLiteral("a") + c + QStringLiteral("z"));
        if (code < 0x80 || code > 0xFFFD || (code >= 0x2000 && code <= 0x206F) || (code >= 0xFDD0 && code <= 0xFEFF)) {
            names.insert(c + QStringLiteral("z"));
            names.insert(QStringLiteral("a") + c);
            names.insert(c + c);
            names.insert(c);
        }
    }
    for (const char* text : { "&#xFEFF;", "&#x41;.txt", "&amp;&#009;", "&#xD800;", "&#x;", "&#x110000;" })
        names.insert(QString::fromUtf8(text));
    names.remove(QStringLiteral("."));
    names.remove(QStringLiteral(".."));
    QStringList sorted = names.values();
    sorted.sort();
    return sorted;
}

// A name's code points, for a failure message.
std::string codesOf(const QString& name)
{
    std::string shown;
    for (char32_t code : name.toUcs4())
        shown += "U+" + QString::number(code, 16).toUpper().toStdString() + " ";
    return shown;
}

QByteArray contentOf(const QString& name)
{
    return "file " + name.toUtf8();
}

// The files below the folder with their bytes, by the names the disk gives.
QMap<QString, QByteArray> filesIn(const QString& folder)
{
    QMap<QString, QByteArray> files;
    QDirIterator it(folder, QDir::Files | QDir::Hidden | QDir::System, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        files.insert(QDir(folder).relativeFilePath(path), readAll(path));
    }
    return files;
}

// Where a tree differs from the expected paths, one line each with the code points.
std::string differences(const QStringList& found, const QStringList& expected)
{
    const QSet<QString> have(found.cbegin(), found.cend());
    const QSet<QString> want(expected.cbegin(), expected.cend());
    std::string lines;
    int shown = 0;
    for (const QString& path : want - have)
        if (++shown <= 20)
            lines += "missing: " + codesOf(path) + "\n";
    for (const QString& path : have - want)
        if (++shown <= 40)
            lines += "unexpected: " + codesOf(path) + "\n";
    return lines;
}

class NameRoundTrip : public ::testing::Test {
protected:
    void SetUp() override
    {
        useBuiltHelperTools();
        ASSERT_TRUE(dir.isValid());
    }
    QString site() const { return dir.path() + QStringLiteral("/homepage"); }

    QTemporaryDir dir;
};

} // namespace

TEST_F(NameRoundTrip, EveryCodePointComesBackFromTheListingsTheStoredTreeAndTheCopy)
{
    // Folders of such names, each listed by a run of the tool of its own;
    // a folder takes its name from the files' list, where a file of that
    // name could not stand beside it.
    const QStringList folders = { fromCodePoint(0xFEFF), fromCodePoint(0xFFFE), QStringLiteral("a") + fromCodePoint(0x10FFFF),
        fromCodePoint(0x85) + fromCodePoint(0x2028), QStringLiteral(" &#xFEFF; "), fromCodePoint(0xE0001) + fromCodePoint(0x1F600) };
    QStringList all = names();
    all.removeIf([&folders](const QString& name) { return folders.contains(name); });
    ASSERT_GT(all.size(), 3000);
    QStringList expected;
    for (const QString& name : all) {
        writeAll(site() + QLatin1Char('/') + name, contentOf(name));
        expected.append(name);
    }
    for (const QString& name : folders) {
        const QString path = name + QLatin1Char('/') + name;
        writeAll(site() + QLatin1Char('/') + path, contentOf(path));
        expected.append(path);
    }
    expected.sort();
    ASSERT_EQ(filesIn(site()).keys(), expected) << "the disk holds every name";

    // The listing tool.
    QString error;
    const std::shared_ptr<XmlD> byTool = lq::createXmlD(site() + QLatin1Char('/'), &error);
    ASSERT_TRUE(byTool) << error.toStdString();
    EXPECT_TRUE(byTool->listingFailures().isEmpty()) << codesOf(byTool->listingFailures().value(0).path);
    QStringList listed = byTool->filePaths();
    listed.sort();
    EXPECT_EQ(listed, expected) << differences(listed, expected);
    byTool->forEachEntry([](const DigestEntry& entry) {
        if (entry.file)
            EXPECT_EQ(entry.file->md5(), QString::fromLatin1(QCryptographicHash::hash(contentOf(entry.path), QCryptographicHash::Md5).toHex()))
                << codesOf(entry.path);
    });

    // The program's own listing gives the same tree.
    const std::shared_ptr<XmlD> byProgram = lq::createXmlDWithCache(site(), dir.path() + QStringLiteral("/homepage.digests"), &error);
    ASSERT_TRUE(byProgram) << error.toStdString();
    EXPECT_TRUE(byProgram->listingFailures().isEmpty());
    EXPECT_EQ(byProgram->createXml(), byTool->createXml());

    // The stored tree: written, read back and listed again, nothing to send and nothing to remove.
    ASSERT_TRUE(lq::writeLastXmlD(dir.path(), byTool.get(), nullptr));
    QString refusal;
    const std::shared_ptr<XmlD> stored = lq::readLastXmlD(dir.path(), &refusal);
    ASSERT_TRUE(stored) << refusal.toStdString();
    QStringList back = stored->filePaths();
    back.sort();
    EXPECT_EQ(back, expected) << differences(back, expected);
    EXPECT_EQ(stored->createXml(), byTool->createXml());
    const auto unchanged = XmlBom::createWithSourceDest(byProgram.get(), stored.get());
    EXPECT_EQ(unchanged->addFiles()->fileCount(), 0) << differences(unchanged->addFiles()->filePaths(), {});
    EXPECT_EQ(unchanged->removeFiles()->fileCount(), 0) << differences(unchanged->removeFiles()->filePaths(), {});

    // Copied into a folder, each file arrives under its own name, byte for byte.
    const QString destination = dir.path() + QStringLiteral("/export");
    const auto everything = XmlBom::createWithSourceDest(byTool.get(), nullptr);
    everything->setRootSource(site());
    everything->setRootDest(destination);
    EXPECT_EQ(everything->createFiles(), QString());
    EXPECT_EQ(filesIn(destination), filesIn(site()));
}

// Half of a character is no text: a file whose name holds one (as the
// bytes of an encoded surrogate) is named among what cannot be listed by
// both listings, and a tree naming one is refused, never written or read
// as another name.
TEST_F(NameRoundTrip, HalfOfACharacterIsRefusedByName)
{
    writeAll(site() + QStringLiteral("/index.html"), "home");
    const QByteArray half = QFile::encodeName(site()) + "/a\xED\xA0\x80z.txt";
    const int fd = ::open(half.constData(), O_CREAT | O_WRONLY, 0644);
    ASSERT_GE(fd, 0);
    ::close(fd);
    const struct Listing {
        const char* what;
        std::function<std::shared_ptr<XmlD>()> list;
    } listings[] = {
        { "the listing tool", [&] { return lq::createXmlD(site() + QLatin1Char('/')); } },
        { "the program's listing", [&] { return lq::createXmlDWithCache(site(), dir.path() + QStringLiteral("/homepage.digests")); } },
    };
    for (const Listing& listing : listings) {
        SCOPED_TRACE(listing.what);
        const std::shared_ptr<XmlD> tree = listing.list();
        ASSERT_TRUE(tree);
        EXPECT_EQ(tree->filePaths(), QStringList { QStringLiteral("index.html") });
        ASSERT_EQ(tree->listingFailures().size(), 1);
        EXPECT_EQ(tree->listingFailures().first().path, QStringLiteral("a\\xED\\xA0\\x80z.txt"));
        EXPECT_EQ(tree->listingFailures().first().why, QStringLiteral("its name is not UTF-8 text"));
    }
    ::unlink(half.constData());

    // A tree that names half of a character, at the end, alone or in a pair turned round.
    const QString high = QString(QChar(char16_t(0xD800)));
    const QString low = QString(QChar(char16_t(0xDC00)));
    for (const QString& name : { QStringLiteral("a") + high, low, low + high + QStringLiteral(".txt") }) {
        SCOPED_TRACE(codesOf(name));
        auto tree = XmlD::create();
        tree->setName(QStringLiteral("homepage"));
        tree->addFileMd5(QStringLiteral("index.html"), QStringLiteral("1"));
        tree->addFileMd5(name, QStringLiteral("2"));
        EXPECT_FALSE(XmlD::isSafeName(name));
        EXPECT_TRUE(XmlD::unsafeNameReason(name).startsWith(QStringLiteral("its name is not text: it holds half of a character (U+D")))
            << XmlD::unsafeNameReason(name).toStdString();
        ASSERT_TRUE(lq::writeLastXmlD(dir.path(), tree.get(), nullptr));
        QString refusal;
        EXPECT_FALSE(lq::readLastXmlD(dir.path(), &refusal));
        EXPECT_TRUE(refusal.contains(XmlD::shownName(name))) << refusal.toStdString();
        EXPECT_TRUE(XmlD::shownName(name).contains(QStringLiteral("\\uD"))) << XmlD::shownName(name).toStdString();

        // The copy names the file with why, and copies the rest.
        const QString destination = dir.path() + QStringLiteral("/export");
        auto bom = XmlBom::createWithSourceDest(tree.get(), nullptr);
        bom->setRootSource(site());
        bom->setRootDest(destination);
        bom->createFiles();
        EXPECT_EQ(bom->failedFiles(), QStringList { name });
        EXPECT_EQ(bom->failures().value(0).why, XmlD::unsafeNameReason(name));
        EXPECT_EQ(filesIn(destination).keys(), QStringList { QStringLiteral("index.html") });
    }
}
