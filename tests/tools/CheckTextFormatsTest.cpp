// tools/check-text-formats, run on this source tree and on a tree of its
// own where each case is a file of the interface: a label, message box or
// tool tip that leaves its text format to guessing is refused with file and
// line, one that states it (or is made by the kit's helpers) is accepted.
#include "support/SourceTools.h"
#include "support/TestFiles.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

lq::ProcessResult checkTextFormats(const QString& root)
{
    return runSourceTool(QStringLiteral("check-text-formats"), root);
}

} // namespace

TEST(CheckTextFormats, TheInterfaceLeavesNoTextFormatToGuessing)
{
    const lq::ProcessResult result = checkTextFormats(QStringLiteral(LQ_SOURCE_DIR));
    EXPECT_TRUE(result.succeeded()) << result.output.constData() << result.error.constData();
    EXPECT_TRUE(result.output.isEmpty()) << result.output.constData();
}

TEST(CheckTextFormats, ALabelMessageBoxOrToolTipLeftToGuessingIsRefusedWithFileAndLine)
{
    struct Case {
        const char* code;
        const char* report; // what the report says of it; nothing: the code is accepted
        int line = 1;       // the line of the code that the report names
        bool fileScope = false; // the code is a class of its own, not a function's body
    };
    const Case cases[] = {
        // Made and left at Qt::AutoText, or stated too late or elsewhere.
        { "auto* label = new QLabel(text, this);", "the QLabel label is left to guess its text format" },
        { "layout()->addWidget(new QLabel(text, this));", "a QLabel made without a name" },
        { "auto box = std::make_unique<QMessageBox>(this);\nbox->setText(text);", "the QMessageBox box is left to guess its text format" },
        { "QMessageBox box;\nbox.setText(text);\nbox.exec();", "the QMessageBox box is left to guess its text format" },
        { "_label->setTextFormat(Qt::PlainText);\n_label = new QLabel;", "the QLabel _label is left to guess its text format", 2 },
        { "_label = new QLabel;\n}\nvoid later()\n{\n_label->setTextFormat(Qt::PlainText);", "the QLabel _label is left to guess its text format" },
        { "QLabel* label = other;\nlabel->setTextFormat(Qt::AutoText);", "setTextFormat is given Qt::AutoText", 2 },
        { "QLabel* label = other;\nlabel->setTextFormat(format);", "setTextFormat is given format", 2 },
        { "QMessageBox::warning(this, title, text);", "QMessageBox::warning guesses the format of its text" },
        { "QInputDialog::getText(this, title, text);", "QInputDialog guesses the format of its text" },
        { "form->addRow(text, field);", "a form row labelled by a text (text)" },
        { "form->addRow(QStringLiteral(\"Name\"), field);", "a form row labelled by a text" },
        { "button->setToolTip(text);", "setToolTip(text) is shown as markup" },
        { "item->setToolTip(0, path + QStringLiteral(\" (moved)\"));", "is shown as markup when it looks like markup" },
        { "combo->setItemData(0, text, Qt::ToolTipRole);", "a Qt::ToolTipRole value is shown as markup" },
        { "class Caption : public QLabel {\npublic:\n    explicit Caption(const QString& text) : QLabel(text) { setWordWrap(true); }\n};",
            "the constructor of Caption leaves its text format to guessing", 3, true },
        { "class Tagged : public TaggedControl<QLabel> {\n};", "Tagged derives from a label or message box and has no constructor", 0, true },
        // Stated in the same function, made by the kit, or no label at all.
        { "auto* label = new QLabel(text, this);\nlabel->setWordWrap(true);\nlabel->setTextFormat(Qt::PlainText);", nullptr },
        { "auto* link = new QLabel(this);\nlink->setTextFormat(Qt::RichText);\nlink->setText(QStringLiteral(\"<a href=\\\"x\\\">\") + lq::escape(text) + QStringLiteral(\"</a>\"));",
            nullptr },
        { "QMessageBox box;\nbox.setTextFormat(Qt::PlainText);", nullptr },
        { "layout()->addWidget(lq::plainLabel(text, this));", nullptr },
        { "form->addRow(lq::plainLabel(text), field);", nullptr },
        { "auto* caption = lq::plainLabel(text);\nform->addRow(caption, field);", nullptr },
        { "QLabel* label = other;\nlabel->setText(text);", nullptr },
        { "button->setToolTip(lq::plainToolTip(text));", nullptr },
        { "button->setToolTip(QStringLiteral(\"Used by \") + QString::number(pages) + QStringLiteral(\" pages\"));", nullptr },
        { "combo->setItemData(0, lq::plainToolTip(text), Qt::ToolTipRole);", nullptr },
        { "// layout()->addWidget(new QLabel(text));\nlq::log(QStringLiteral(\"new QLabel(text) and setToolTip(text)\"));", nullptr },
        { "class Heading : public QLabel {\npublic:\n    explicit Heading(const QString& text) : QLabel(text) { setTextFormat(Qt::PlainText); }\n};", nullptr, 1, true },
    };
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString folder = dir.filePath(QStringLiteral("src/ui/app"));
    ASSERT_TRUE(QDir().mkpath(folder));
    const int firstLine = 3; // below the include and the function's first two lines
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        const QByteArray code = cases[i].code;
        const QByteArray text = cases[i].fileScope
            ? "#include <QLabel>\n\n\n" + code + "\n"
            : "#include <QLabel>\nvoid sample(const QString& text, const QString& path, QWidget* other, QWidget* field)\n{\n" + code + "\n}\n";
        writeAll(folder + QStringLiteral("/Sample") + QString::number(i) + QStringLiteral(".cpp"), text);
    }
    const lq::ProcessResult result = checkTextFormats(dir.path());
    ASSERT_TRUE(result.started) << result.startError.toStdString();
    EXPECT_EQ(result.exitCode, 1);
    const QStringList reported = QString::fromUtf8(result.output).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    int refused = 0;
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        const Case& c = cases[i];
        SCOPED_TRACE(c.code);
        const QString file = QStringLiteral("src/ui/app/Sample") + QString::number(i) + QStringLiteral(".cpp");
        const QStringList here = reported.filter(file + QLatin1Char(':'));
        if (!c.report) {
            EXPECT_TRUE(here.isEmpty()) << here.join(QLatin1Char('\n')).toStdString();
            continue;
        }
        ++refused;
        ASSERT_EQ(here.size(), 1) << result.output.constData();
        const QString where = c.line == 0 ? file + QLatin1Char(':')
                                          : file + QLatin1Char(':') + QString::number(firstLine + c.line) + QStringLiteral(": ");
        EXPECT_TRUE(here.first().startsWith(where)) << here.first().toStdString() << "\nexpected at " << where.toStdString();
        EXPECT_TRUE(here.first().contains(QString::fromLatin1(c.report))) << here.first().toStdString();
    }
    // Only the refused cases are reported.
    EXPECT_EQ(reported.size(), refused) << result.output.constData();
}
