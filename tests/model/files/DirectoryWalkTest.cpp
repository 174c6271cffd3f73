#include "model/files/DirectoryWalk.h"
#include "model/files/XmlFile.h"
#include "model/files/XmlFolder.h"
#include "model/files/XmlQVZIPFile.h"
#include "model/files/XmlExternalFiles.h"
#include "support/TestFiles.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <vector>

namespace {

// One line per element below the parent, depth first: its class letter
// (F file, Z archive, D folder), its name and its depth.
void describe(const XmlBase& parent, const QString& indent, QStringList& lines)
{
    for (const XmlBasePtr& child : parent.children()) {
        if (auto* archive = XmlQVZIPFile::cast(child.get()))
            lines.append(indent + "Z " + archive->filename());
        else if (auto* file = XmlFile::cast(child.get()))
            lines.append(indent + "F " + file->filename());
        else if (auto* folder = XmlFolder::cast(child.get())) {
            lines.append(indent + "D " + folder->foldername());
            describe(*child, indent + "  ", lines);
        }
    }
}

} // namespace

TEST(DirectoryWalk, EachOptionShapesTheTree)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString root = dir.path();
    ASSERT_TRUE(QDir(root).mkpath("sub/.deep"));
    for (const char* name : { "a.txt", ".hidden", "b.qvzip", ".c.qvzip", "sub/d.txt", "sub/.deep/e.txt" })
        writeAll(root + "/" + name, "x");
    ASSERT_TRUE(QFile::link(root + "/sub", root + "/z-link"));

    using Folders = DirectoryWalk::Folders;
    struct Case {
        const char* what;
        DirectoryWalk walk;
        QStringList expected;
    };
    const std::vector<Case> cases = {
        { "tree, everything", {},
            { "F .c.qvzip", "F .hidden", "F a.txt", "F b.qvzip", "D sub", "  D .deep", "    F e.txt", "  F d.txt" } },
        { "tree, archives, no hidden files", { .hiddenFiles = false, .archives = true },
            { "Z .c.qvzip", "F a.txt", "Z b.qvzip", "D sub", "  D .deep", "    F e.txt", "  F d.txt" } },
        { "files only", { .folders = Folders::Skip },
            { "F .c.qvzip", "F .hidden", "F a.txt", "F b.qvzip" } },
        { "folders only", { .files = false }, { "D sub", "  D .deep" } },
        { "flat, full paths", { .folders = Folders::Flatten },
            { "F " + root + "/.c.qvzip", "F " + root + "/.hidden", "F " + root + "/a.txt", "F " + root + "/b.qvzip",
                "F " + root + "/sub/.deep/e.txt", "F " + root + "/sub/d.txt" } },
    };
    for (const Case& c : cases) {
        const auto parent = XmlExternalFiles::create();
        addDirectoryTree(root, parent.get(), c.walk);
        QStringList lines;
        describe(*parent, "", lines);
        EXPECT_EQ(lines, c.expected) << c.what;
    }

    const auto parent = XmlExternalFiles::create();
    addDirectoryTree(root + "/missing", parent.get(), {});
    addDirectoryTree(root, nullptr, {});
    EXPECT_EQ(parent->numberChildren(), 0);
}
