// tools/check-disk-changes, run on this source tree and on a copy of it with
// one change of the disk planted where the table "Changes to the disk" of
// docs/architecture.md forbids or allows it.
#include "platform/FileHelpers.h"
#include "support/SourceTools.h"
#include "support/TestFiles.h"

#include <QDir>
#include <QMap>
#include <QTemporaryDir>

#include <algorithm>
#include <vector>

#include <gtest/gtest.h>

namespace {

const QString sourceDir = QStringLiteral(LQ_SOURCE_DIR);

lq::ProcessResult checkDiskChanges(const QString& root)
{
    return runSourceTool(QStringLiteral("check-disk-changes"), root);
}

// A copy of the architecture notes and of src/, where one file at a time is
// changed and put back.
class CopiedTree {
public:
    CopiedTree()
    {
        EXPECT_TRUE(dir.isValid());
        EXPECT_TRUE(QDir().mkpath(dir.filePath(QStringLiteral("docs"))));
        EXPECT_TRUE(lq::copyItem(sourceDir + QStringLiteral("/docs/architecture.md"), dir.filePath(QStringLiteral("docs/architecture.md"))));
        EXPECT_TRUE(lq::copyItem(sourceDir + QStringLiteral("/src"), dir.filePath(QStringLiteral("src"))));
    }
    QString root() const { return dir.path(); }
    QString path(const QString& relative) const { return dir.filePath(relative); }
    // The file as it is in this source tree.
    static QByteArray original(const QString& relative) { return readAll(sourceDir + QLatin1Char('/') + relative); }

private:
    QTemporaryDir dir;
};

// Where a case's code goes: into a function of the file (after the "{"
// below the first line that starts with `function`), or, when that is
// empty, at the file's end in a function of its own.
struct Planting {
    QByteArray function;
    QByteArray code;
    int line = 0;        // the line of the code's first line, once planted
    QString ownFunction; // the name of the function of its own
};

// The text with every planting put in; fills in where each went.
QByteArray planted(const QByteArray& text, QList<Planting*> plantings)
{
    const QList<QByteArray> rows = text.split('\n');
    // Into the functions: where each goes in the text as it is.
    QList<std::pair<qsizetype, Planting*>> inside;
    for (Planting* planting : plantings) {
        if (planting->function.isEmpty())
            continue;
        qsizetype at = rows.size();
        for (qsizetype i = 0; i < rows.size(); ++i) {
            if (rows[i].startsWith(planting->function)) {
                while (i < rows.size() && !rows[i].startsWith('{'))
                    ++i;
                at = i + 1;
                break;
            }
        }
        EXPECT_LT(at, rows.size()) << "no function " << planting->function.constData();
        inside.append({ at, planting });
    }
    std::stable_sort(inside.begin(), inside.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    QList<QByteArray> out;
    qsizetype next = 0;
    const auto put = [&](Planting* planting) {
        planting->line = int(out.size()) + 1;
        for (const QByteArray& line : planting->code.split('\n'))
            out.append("    " + line);
    };
    for (qsizetype i = 0; i <= rows.size(); ++i) {
        while (next < inside.size() && inside[next].first == i)
            put(inside[next++].second);
        if (i < rows.size())
            out.append(rows[i]);
    }
    // At the end, each in a function of its own.
    int number = 0;
    for (Planting* planting : plantings) {
        if (!planting->function.isEmpty())
            continue;
        planting->ownFunction = QStringLiteral("plantedChange") + QString::number(++number);
        out.append("void " + planting->ownFunction.toUtf8() + "(const QString& path, const QString& other)");
        out.append("{");
        put(planting);
        out.append("}");
    }
    return out.join('\n');
}

} // namespace

TEST(CheckDiskChanges, TheTreeChangesTheDiskOnlyThroughTheGatewayAndItsNamedPlaces)
{
    const lq::ProcessResult result = checkDiskChanges(sourceDir);
    EXPECT_TRUE(result.succeeded()) << result.output.constData() << result.error.constData();
    EXPECT_TRUE(result.output.isEmpty()) << result.output.constData();
}

TEST(CheckDiskChanges, AChangeOutsideTheTableFailsWithFileLineCallAndFunction)
{
    struct Case {
        const char* file;
        const char* function; // the function to plant into; "": one of its own at the end
        const char* code;
        const char* report; // what the report says of it; nothing: the code is allowed
        int line = 1; // the line of the code that the report names
    };
    const Case cases[] = {
        // Qt's own changes, static, on a temporary and on an object.
        { "elements/XmlWebText.cpp", "", "QFile::remove(path);", "QFile::remove in plantedChange" },
        { "elements/XmlWebText.cpp", "", "QFile::rename(path, other);", "QFile::rename in plantedChange" },
        { "elements/XmlWebText.cpp", "", "QFile::copy(path, other);", "QFile::copy in plantedChange" },
        { "elements/XmlWebText.cpp", "", "QFile::setPermissions(path, QFile::ReadOwner);", "QFile::setPermissions in plantedChange" },
        { "elements/XmlWebText.cpp", "", "QDir(path).removeRecursively();", "QDir::removeRecursively in plantedChange" },
        { "elements/XmlWebText.cpp", "", "QDir().mkpath(QFileInfo(path).path());", "QDir::mkpath in plantedChange" },
        { "elements/XmlWebText.cpp", "", "QDir folder(path);\nfolder.rmdir(other);", "rmdir of folder in plantedChange", 2 },
        { "elements/XmlWebText.cpp", "", "QFile file(path);\nfile.open(QIODevice::WriteOnly | QIODevice::Truncate);", "file opened for writing in plantedChange", 2 },
        { "elements/XmlWebText.cpp", "", "QFile file(path);\nfile.open(QIODevice::ReadOnly);", nullptr },
        { "elements/XmlWebText.cpp", "", "QBuffer buffer;\nbuffer.open(QIODevice::WriteOnly);", nullptr },
        { "elements/XmlWebText.cpp", "", "QSaveFile file(path);", "QSaveFile in plantedChange" },
        { "elements/XmlWebText.cpp", "", "QTemporaryDir scratch(path + \"/XXXXXX\");", "QTemporaryDir in plantedChange" },
        { "elements/XmlWebText.cpp", "", "QImage picture(4, 4, QImage::Format_RGB32);\npicture.save(path);", "the image picture saved to a file in plantedChange", 2 },
        // The system's calls, and std::filesystem under its own name or another.
        { "elements/XmlWebText.cpp", "", "::rename(path.toUtf8().constData(), other.toUtf8().constData());", "the system call rename in plantedChange" },
        { "elements/XmlWebText.cpp", "", "unlinkat(AT_FDCWD, path.toUtf8().constData(), 0);", "the system call unlinkat in plantedChange" },
        { "elements/XmlWebText.cpp", "", "::mkdir(path.toUtf8().constData(), 0700);", "the system call mkdir in plantedChange" },
        { "elements/XmlWebText.cpp", "", "const int fd = ::open(path.toUtf8().constData(),\n    O_WRONLY | O_CREAT, 0600);", "the system call open for writing in plantedChange" },
        { "elements/XmlWebText.cpp", "", "const int fd = ::open(path.toUtf8().constData(), O_RDONLY | O_CLOEXEC);", nullptr },
        { "elements/XmlWebText.cpp", "", "std::filesystem::remove_all(path.toStdString());", "std::filesystem::remove_all in plantedChange" },
        { "elements/XmlWebText.cpp", "", "namespace fs = std::filesystem;\nfs::rename(path.toStdString(), other.toStdString());", "std::filesystem::rename in plantedChange", 2 },
        { "elements/XmlWebText.cpp", "", "std::vector<int> numbers;\nnumbers.erase(std::remove(numbers.begin(), numbers.end(), 3), numbers.end());", nullptr },
        // The program's helpers on string paths.
        { "elements/XmlWebText.cpp", "", "lq::writeFileAtomically(path, QByteArray());", "lq::writeFileAtomically in plantedChange" },
        { "elements/XmlWebText.cpp", "", "lq::removeItem(path);", "lq::removeItem in plantedChange" },
        { "elements/XmlWebText.cpp", "", "lq::zipAdd(path, other, QString(), true);", "lq::zipAdd in plantedChange" },
        { "elements/XmlWebText.cpp", "", "rootElement()->saveToFile(path);", "saveToFile in plantedChange" },
        // Words that only look like changes: a comment, a string, a combo box's item.
        { "elements/XmlWebText.cpp", "", "// QFile::remove(path) would lose it", nullptr },
        { "elements/XmlWebText.cpp", "", "lq::log(QStringLiteral(\"QFile::remove(path) \"));", nullptr },
        { "elements/XmlWebText.cpp", "", "kinds->removeItem(3);", nullptr },
        // A file of the table may change the disk anywhere; a file of which
        // the table names functions, only in those.
        { "ui/app/StartupLog.cpp", "", "QFile::remove(path);", nullptr },
        { "ui/app/ThemeController.cpp", "void ThemeController::newFolder(", "QDir().mkdir(path);", nullptr },
        { "ui/app/ThemeController.cpp", "void ThemeController::importTheme(", "QDir().mkdir(path);", "QDir::mkdir in ThemeController::importTheme" },
        { "ui/app/ThemeController.cpp", "", "lq::removeItem(path);", "lq::removeItem in plantedChange" },
    };
    // Every case at once, each file with its own.
    QMap<QString, QList<Planting*>> byFile;
    std::vector<Planting> plantings(std::size(cases));
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        plantings[i].function = cases[i].function;
        plantings[i].code = cases[i].code;
        byFile[QStringLiteral("src/") + QString::fromLatin1(cases[i].file)].append(&plantings[i]);
    }
    CopiedTree tree;
    for (auto it = byFile.cbegin(); it != byFile.cend(); ++it) {
        const QByteArray before = CopiedTree::original(it.key());
        ASSERT_FALSE(before.isEmpty()) << it.key().toStdString();
        writeAll(tree.path(it.key()), planted(before, it.value()));
    }
    const lq::ProcessResult result = checkDiskChanges(tree.root());
    ASSERT_TRUE(result.started) << result.startError.toStdString();
    EXPECT_EQ(result.exitCode, 1);
    const QStringList reported = QString::fromUtf8(result.output).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    int forbidden = 0;
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        const Case& c = cases[i];
        SCOPED_TRACE(std::string(c.file) + ": " + c.code);
        const QString where = QStringLiteral("src/") + QString::fromLatin1(c.file) + QLatin1Char(':') + QString::number(plantings[i].line + c.line - 1)
            + QLatin1Char(':');
        const QStringList here = reported.filter(where);
        if (!c.report) {
            EXPECT_TRUE(here.isEmpty()) << here.join(QLatin1Char('\n')).toStdString();
            continue;
        }
        ++forbidden;
        const QString what = QString::fromLatin1(c.report).replace(QStringLiteral("plantedChange"), plantings[i].ownFunction);
        ASSERT_EQ(here.size(), 1) << where.toStdString() << "\n" << result.output.constData();
        EXPECT_TRUE(here.first().startsWith(where + QLatin1Char(' ') + what + QStringLiteral(" changes the disk outside the gateway")))
            << here.first().toStdString();
    }
    // Only the planted changes are reported.
    EXPECT_EQ(reported.size(), forbidden) << result.output.constData();
}

TEST(CheckDiskChanges, ARowThatAllowsNothingFails)
{
    // The table as this tree has it, with one row changed: a file that is
    // gone, a function that does not change the disk.
    struct Case {
        const char* row;
        const char* changed;
        const char* report;
    };
    const Case cases[] = {
        { "| `src/ui/app/StartupLog.cpp` |", "| `src/ui/app/StartupLogGone.cpp` |", "src/ui/app/StartupLogGone.cpp of \"Changes to the disk\" is no file" },
        { "| `src/ui/app/main.cpp`: `main` |", "| `src/ui/app/main.cpp`: `main`, `parseOptions` |",
          "parseOptions of src/ui/app/main.cpp in \"Changes to the disk\" changes nothing on the disk" },
    };
    CopiedTree tree;
    const QByteArray notes = CopiedTree::original(QStringLiteral("docs/architecture.md"));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.changed);
        ASSERT_TRUE(notes.contains(c.row));
        writeAll(tree.path(QStringLiteral("docs/architecture.md")), QByteArray(notes).replace(c.row, c.changed));
        const lq::ProcessResult result = checkDiskChanges(tree.root());
        ASSERT_TRUE(result.started) << result.startError.toStdString();
        EXPECT_EQ(result.exitCode, 1);
        EXPECT_TRUE(result.output.contains(c.report)) << result.output.constData();
    }
    // The file that a row allowed, gone from the tree, fails the same.
    writeAll(tree.path(QStringLiteral("docs/architecture.md")), notes);
    ASSERT_TRUE(QFile::remove(tree.path(QStringLiteral("src/ui/app/StartupLog.cpp"))));
    const lq::ProcessResult result = checkDiskChanges(tree.root());
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_TRUE(result.output.contains("src/ui/app/StartupLog.cpp of \"Changes to the disk\" is no file")) << result.output.constData();
}
