// The standard modal handler's alerts: sized to their text, the default
// and Escape buttons where a user expects them; its panel for several files.
#include "ui/widgets/ModalHandler.h"
#include "ui/widgets/ScreenText.h"

#include "support/ui/ShownText.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QFile>
#include <QFileDialog>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

int shownWidth(QMessageBox& box)
{
    box.show();
    box.adjustSize();
    const int width = box.width();
    box.hide();
    return width;
}

} // namespace

TEST(AlertBox, WidthFollowsTheTextUpToHalfTheScreen)
{
    const int half = QGuiApplication::primaryScreen()->availableGeometry().width() / 2;
    const QFontMetrics metrics(QApplication::font());
    const QString sentence = QStringLiteral("No site in that folder.");
    ASSERT_LT(metrics.horizontalAdvance(sentence), half / 2);
    struct Case {
        const char* what;
        QString message;
        int atLeast;
        int atMost;
    };
    const QString reason = QStringLiteral("The website at /home/someone/Sites/Travel.lqxl could not be opened: it holds no Lumenquill website.");
    ASSERT_GT(metrics.horizontalAdvance(reason), half);
    const QList<Case> cases = {
        // One line that fits: at least as wide as the line needs.
        {"a sentence", sentence, metrics.horizontalAdvance(sentence), half},
        // A line wider than the room: the box takes the room there is (a
        // message box of its own would stay about 200 points wide).
        {"a long line", reason, half * 3 / 4, half},
        {"a long text", sentence.repeated(40), half * 3 / 4, half},
    };
    for (const Case& c : cases) {
        std::unique_ptr<QMessageBox> box = lq::makeAlertBox({nullptr, QStringLiteral("Whoops"), c.message, {}});
        const int width = shownWidth(*box);
        EXPECT_GE(width, c.atLeast) << c.what;
        EXPECT_LE(width, c.atMost) << c.what;
    }
}

TEST(AlertBox, FirstButtonIsTheDefaultAndCancelTakesEscape)
{
    struct Case {
        QStringList buttons;
        int escape;
    };
    const QList<Case> cases = {
        {{QStringLiteral("Save"), QStringLiteral("Don't Save"), QStringLiteral("Cancel")}, 2},
        {{QStringLiteral("OK")}, 0},
        {{QStringLiteral("Continue"), QStringLiteral("ReImport File"), QStringLiteral("More Info Please")}, 0},
    };
    for (const Case& c : cases) {
        std::unique_ptr<QMessageBox> box = lq::makeAlertBox({nullptr, QStringLiteral("Question"), QStringLiteral("Text"), c.buttons});
        ASSERT_TRUE(box->defaultButton());
        EXPECT_EQ(box->defaultButton()->text(), c.buttons.first());
        ASSERT_TRUE(box->escapeButton());
        EXPECT_EQ(box->escapeButton()->text(), c.buttons[c.escape]);
        // Escape ends a shown box with that button.
        box->show();
        QTest::keyClick(box.get(), Qt::Key_Escape);
        EXPECT_EQ(box->clickedButton(), box->escapeButton());
    }
}

// The standard panel for several files: the picture types only, Return
// answers every file chosen, Escape none.
TEST(FilesPanel, ReturnAnswersTheChosenFilesAndEscapeNone)
{
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    for (const char* name : { "b.jpg", "a.png", "notes.txt" }) {
        QFile file(folder.filePath(QString::fromLatin1(name)));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }
    lq::FilePanelRequest request;
    request.title = QStringLiteral("Add Photos");
    request.prompt = QStringLiteral("Add");
    request.folder = folder.path();
    request.fileTypes = { QStringLiteral("jpg"), QStringLiteral("png") };
    request.typesLabel = QStringLiteral("Pictures");

    struct Case {
        const char* what;
        Qt::Key key;
        QStringList answer;
    };
    const QList<Case> cases {
        { "Return", Qt::Key_Return, { folder.filePath(QStringLiteral("a.png")), folder.filePath(QStringLiteral("b.jpg")) } },
        { "Escape", Qt::Key_Escape, {} },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        QStringList filters;
        QString accept;
        // Plays the user's part once the panel shows: both pictures chosen, then the key.
        QTimer user;
        QObject::connect(&user, &QTimer::timeout, [&] {
            auto* panel = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            if (!panel || !panel->isVisible())
                return;
            user.stop();
            filters = panel->nameFilters();
            if (auto* button = panel->findChild<QDialogButtonBox*>())
                accept = button->button(QDialogButtonBox::Open) ? button->button(QDialogButtonBox::Open)->text() : QString();
            panel->selectFile(QStringLiteral("\"a.png\" \"b.jpg\""));
            QTest::keyClick(panel, c.key);
        });
        user.start(20);
        QStringList chosen = lq::ModalHandler().runOpenFilesPanel(request);
        chosen.sort();
        EXPECT_EQ(chosen, c.answer);
        EXPECT_EQ(filters, QStringList { QStringLiteral("Pictures (*.jpg *.png)") });
        EXPECT_EQ(accept, QStringLiteral("Add"));
    }
}

// The question stands whole in the box; the title bar, which the window
// manager cuts to its width ("Save changes to…\" before closing?"), names
// only the program.
TEST(AlertBox, TheQuestionStandsWholeInTheBoxNotInItsTitleBar)
{
    for (const QString& name : {QStringLiteral("Feed"), QStringLiteral("My Travels Around The Mediterranean In 2026").repeated(3)}) {
        const QString question = QStringLiteral("Save changes to \"") + name + QStringLiteral("\" before closing?");
        std::unique_ptr<QMessageBox> box = lq::makeAlertBox({nullptr, question, QStringLiteral("If you don't save, your changes will be lost."),
            {QStringLiteral("Save"), QStringLiteral("Don't Save"), QStringLiteral("Cancel")}});
        EXPECT_EQ(box->windowTitle(), QGuiApplication::applicationDisplayName());
        EXPECT_FALSE(box->windowTitle().isEmpty());
        box->show();
        auto* label = box->findChild<QLabel*>(QStringLiteral("qt_msgbox_label"));
        ASSERT_NE(label, nullptr);
        EXPECT_EQ(label->text(), question);
        // Every line of it is shown.
        EXPECT_GE(label->height(), label->heightForWidth(label->width())) << name.size();
        box->hide();
    }
}

TEST(AlertBox, AReasonOrNameHoldingMarkupIsShownAsItsCharacters)
{
    for (const QString& words : wordsWithMarkup()) {
        SCOPED_TRACE(words.toStdString());
        const QString title = QStringLiteral("Could not open \"") + words + QStringLiteral(".lqxl\".");
        const QString message = words;
        std::unique_ptr<QMessageBox> box = lq::makeAlertBox({nullptr, title, message, {}});
        box->show();
        for (const auto& [name, shown] : {std::pair{"qt_msgbox_label", title}, std::pair{"qt_msgbox_informativelabel", message}}) {
            auto* label = box->findChild<QLabel*>(QString::fromLatin1(name));
            ASSERT_NE(label, nullptr) << name;
            EXPECT_EQ(label->textFormat(), Qt::PlainText) << name;
            EXPECT_EQ(label->text(), shown) << name;
            EXPECT_EQ(shownText(*label), shown) << name;
        }
        box->hide();
    }
}

TEST(ScreenText, LabelsAndToolTipsShowOutsideWordsAsTheirCharacters)
{
    for (const QString& words : wordsWithMarkup()) {
        SCOPED_TRACE(words.toStdString());
        const std::unique_ptr<QLabel> label(lq::plainLabel(words));
        EXPECT_EQ(label->textFormat(), Qt::PlainText);
        EXPECT_EQ(shownText(*label), words);
        // Set again later, as the panels do: still plain.
        label->setText(QStringLiteral("Failed: ") + words);
        EXPECT_EQ(shownText(*label), QStringLiteral("Failed: ") + words);
        EXPECT_EQ(shownToolTip(lq::plainToolTip(words)), words);
        EXPECT_EQ(shownToolTip(lq::plainToolTip(QStringLiteral("/home/ann/") + words + QStringLiteral(".jpg"))),
            QStringLiteral("/home/ann/") + words + QStringLiteral(".jpg"));
    }
    // The program's own words go unchanged.
    EXPECT_EQ(lq::plainToolTip(QStringLiteral("Shows the album's next photo")), QStringLiteral("Shows the album's next photo"));
}
