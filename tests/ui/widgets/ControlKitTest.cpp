// The control kit: tags, localisation by tag, the integer formatter, tagged
// pop-ups and matrices, tab items by identifier, the colour panel, the split
// view's hook and the ruler units.
#include "application/MyApplication.h"
#include "platform/StringTable.h"
#include "ui/widgets/ColorPanel.h"
#include "ui/widgets/ControlTags.h"
#include "ui/widgets/MyButton.h"
#include "ui/widgets/MyCancelButton.h"
#include "ui/widgets/MyCheckBox.h"
#include "ui/widgets/MyColorWell.h"
#include "ui/widgets/MyImageView.h"
#include "ui/widgets/MyIntegerField.h"
#include "ui/widgets/MyLabel.h"
#include "ui/widgets/MyMatrix.h"
#include "ui/widgets/MyMenu.h"
#include "ui/widgets/MyPopUpButton.h"
#include "ui/widgets/MySlider.h"
#include "ui/widgets/MyStepper.h"
#include "ui/widgets/MyTabView.h"
#include "ui/widgets/MyTextField.h"
#include "ui/widgets/RulerUnit.h"
#include "ui/widgets/RulerView.h"
#include "ui/widgets/SplitView.h"

#include <QColorDialog>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QVBoxLayout>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

namespace {

// Installs a string table for one test and puts the resource table back after.
class StringTableFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        lq::StringTable table;
        table.parse(QStringLiteral(R"("Button150" = "Go";
"Tooltip150" = "Starts it";
"Button50" = "Never";
"Tooltip50" = "Never";
"Button160" = " ";
"TextField300" = "Width";
"Tooltip300" = "Page width";
"Tooltip7" = "Opacity";
"Tooltip8" = "Background colour";
"Tooltip9" = "Never shown";
"TabView%@" = "wrong";
"TabViewlayout" = "Layout";
"SButton170" = "Preferred";
"Button170" = "Plain";
"Menu0" = "Fichier";
"Menu0Sub1" = "Ouvrir";
"Menu0Sub1Sub0" = "Récent";
"Menu2" = "Fenêtre";
"RectButton150" = "{{10, 20}, {80, 30}}";
"RectTextField300" = "{{5, 5}, {100, 22}}";
"RectButton180" = "{{oops}}";
)"));
        MyApplication::shared().setStringTable(table);
    }
    void TearDown() override
    {
        lq::StringTable resources;
        resources.loadFile(QStringLiteral(LQ_TEST_RESOURCES "/strings/Localizable.strings"));
        MyApplication::shared().setStringTable(resources);
    }
};

using Localising = StringTableFixture;

TEST_F(Localising, ButtonsLookTheirTextsUpOnlyFromTag100)
{
    MyButton go(150, QStringLiteral("Start"));
    go.localize();
    EXPECT_EQ(go.text(), QStringLiteral("Go"));
    EXPECT_EQ(go.toolTip(), QStringLiteral("Starts it"));

    MyButton low(50, QStringLiteral("Start"));
    low.localize();
    EXPECT_EQ(low.text(), QStringLiteral("Start"));
    EXPECT_TRUE(low.toolTip().isEmpty());

    MyButton missing(151, QStringLiteral("Start"));
    missing.localize();
    EXPECT_EQ(missing.text(), QStringLiteral("Start"));

    // A translation of exactly one blank means: keep the default.
    MyCheckBox blank(160, QStringLiteral("Show"));
    blank.localize();
    EXPECT_EQ(blank.text(), QStringLiteral("Show"));

    // "S" entries take precedence over plain ones.
    MyButton preferred(170, QStringLiteral("x"));
    preferred.localize();
    EXPECT_EQ(preferred.text(), QStringLiteral("Preferred"));
}

TEST_F(Localising, TextFieldsSlidersColourWellsAndTabs)
{
    MyTextField field(300);
    field.localize();
    EXPECT_EQ(field.text(), QStringLiteral("Width"));
    EXPECT_EQ(field.toolTip(), QStringLiteral("Page width"));
    MyLabel label(300, QStringLiteral("w"));
    label.localize();
    EXPECT_EQ(label.text(), QStringLiteral("Width"));

    // Sliders and colour wells look their tool tips up whatever the tag; the others do not.
    MySlider slider(7);
    slider.localize();
    EXPECT_EQ(slider.toolTip(), QStringLiteral("Opacity"));
    MyColorWell well(8);
    well.localize();
    EXPECT_EQ(well.toolTip(), QStringLiteral("Background colour"));
    MyStepper stepper(9);
    stepper.localize();
    MyPopUpButton popUp(9);
    popUp.localize();
    MyImageView image(9);
    image.localize();
    MyMatrix matrix(9);
    matrix.localize();
    for (QWidget* untouched : std::initializer_list<QWidget*>{&stepper, &popUp, &image, &matrix})
        EXPECT_TRUE(untouched->toolTip().isEmpty()) << untouched->metaObject()->className();

    MyTabView tabs;
    tabs.addTabViewItem(QStringLiteral("layout"), QStringLiteral("layout"), nullptr);
    tabs.addTabViewItem(QStringLiteral("preview"), QStringLiteral("Preview"), nullptr);
    tabs.localize();
    EXPECT_EQ(tabs.tabText(0), QStringLiteral("Layout"));
    EXPECT_EQ(tabs.tabText(1), QStringLiteral("Preview"));
}

TEST_F(Localising, FramesApplyOnlyToAbsolutelyPlacedControls)
{
    // Frames count from the parent's bottom left corner.
    QWidget free;
    free.resize(300, 200);
    MyButton placed(150, QStringLiteral("Start"), &free);
    placed.localize();
    EXPECT_EQ(placed.geometry(), QRect(10, 150, 80, 30));
    MyTextField field(300, &free);
    field.localize();
    EXPECT_EQ(field.geometry(), QRect(5, 173, 100, 22));
    // A frame that does not parse keeps the control where it was, visible.
    MyButton broken(180, QStringLiteral("Keep"), &free);
    broken.setGeometry(1, 2, 60, 20);
    broken.localize();
    EXPECT_EQ(broken.geometry(), QRect(1, 2, 60, 20));

    // A control in a layout keeps the layout's place.
    QWidget laidOut;
    auto* layout = new QHBoxLayout(&laidOut);
    auto* inLayout = new MyButton(150, QStringLiteral("Start"));
    layout->addWidget(inLayout);
    laidOut.resize(300, 200);
    const QRect before = inLayout->geometry();
    inLayout->localize();
    EXPECT_EQ(inLayout->geometry(), before);
    EXPECT_EQ(inLayout->text(), QStringLiteral("Go"));
}

TEST_F(Localising, MenusCountPositionsWithoutSeparators)
{
    MyMenu bar;
    QMenu* file = bar.addMenu(QStringLiteral("File"));
    file->addAction(QStringLiteral("New"));
    QMenu* open = file->addMenu(QStringLiteral("Open"));
    QAction* recent = open->addAction(QStringLiteral("Recent"));
    QAction* edit = bar.addAction(QStringLiteral("Edit"));
    bar.addSeparator();
    QAction* window = bar.addAction(QStringLiteral("Window"));
    bar.localize();

    EXPECT_EQ(file->title(), QStringLiteral("Fichier"));
    EXPECT_EQ(file->menuAction()->text(), QStringLiteral("Fichier"));
    EXPECT_EQ(open->title(), QStringLiteral("Ouvrir"));
    EXPECT_EQ(recent->text(), QStringLiteral("Récent"));
    EXPECT_EQ(edit->text(), QStringLiteral("Edit"));   // "Menu1" has no translation
    EXPECT_EQ(window->text(), QStringLiteral("Fenêtre"));   // Menu2, not Menu3
}

TEST(ControlTags, ViewWithTagSearchesDepthFirstFromTheRoot)
{
    QWidget root;
    lq::setWidgetTag(&root, 7);
    auto* box = new QWidget(&root);
    auto* nested = new MyButton(150, QStringLiteral("Go"), box);
    auto* later = new MyButton(150, QStringLiteral("Later"), &root);
    auto* field = new MyTextField(211, box);

    EXPECT_EQ(lq::viewWithTag(&root, 7), &root);
    EXPECT_EQ(lq::viewWithTag(&root, 150), nested);   // the first one depth-first
    EXPECT_EQ(lq::viewWithTag(&root, 211), field);
    EXPECT_EQ(lq::viewWithTag(&root, 999), nullptr);
    // Untagged widgets are never found, not even for the tag 0.
    EXPECT_EQ(lq::viewWithTag(&root, 0), nullptr);
    EXPECT_EQ(lq::viewWithTag(nullptr, 7), nullptr);
    EXPECT_EQ(later->tag(), 150);
}

TEST(IntegerField, FormatterReportsWhyItRefuses)
{
    const struct {
        const char* text;
        std::optional<int> value;
        const char* reason;
    } cases[] = {
        {"1", 1, ""},
        {" 200 ", 200, ""},
        {"201", std::nullopt, "Maximum exceeded"},
        {"0", std::nullopt, "Fell short of minimum"},
        {"-5", std::nullopt, "Fell short of minimum"},
        {"99999999999999", std::nullopt, "Maximum exceeded"},
        {"12px", std::nullopt, "Not a whole number"},
        {"", std::nullopt, "Not a whole number"},
        // A stepper's limit as the field is given it after a refusal.
        {"200.000000", 200, ""},
        {"12.5", std::nullopt, "Not a whole number"},
        {"1e400", std::nullopt, "Not a whole number"},
        {"nan", std::nullopt, "Not a whole number"},
        {"300.0", std::nullopt, "Maximum exceeded"},
    };
    for (const auto& c : cases) {
        QString reason;
        EXPECT_EQ(MyIntegerField::parse(QString::fromUtf8(c.text), 1, 200, &reason), c.value) << c.text;
        EXPECT_EQ(reason, QString::fromUtf8(c.reason)) << c.text;
    }
}

TEST(IntegerField, RefusedTextGoesBackToTheLastGoodValue)
{
    MyIntegerField field(211, 1, 200);
    field.setIntValue(40);
    QSignalSpy errors(&field, &MyIntegerField::formatError);
    QSignalSpy values(&field, &MyIntegerField::valueChanged);
    field.setText(QStringLiteral("500"));
    Q_EMIT field.editingFinished();
    EXPECT_EQ(field.text(), QStringLiteral("40"));
    ASSERT_EQ(errors.size(), 1);
    EXPECT_EQ(errors[0][0].toString(), QStringLiteral("Maximum exceeded"));
    EXPECT_EQ(values.size(), 0);

    field.setText(QStringLiteral("120"));
    Q_EMIT field.editingFinished();
    EXPECT_EQ(field.intValue(), 120);
    ASSERT_EQ(values.size(), 1);
    EXPECT_EQ(values[0][0].toInt(), 120);

    field.setIntValue(1000);   // clamped
    EXPECT_EQ(field.intValue(), 200);

    // The text put in after a refusal is shown as it is and is the value.
    field.setIntValue(40);
    field.setStringValue(QStringLiteral("150.000000"));
    EXPECT_EQ(field.text(), QStringLiteral("150.000000"));
    EXPECT_EQ(field.intValue(), 150);
    values.clear();
    Q_EMIT field.editingFinished();
    EXPECT_EQ(values.size(), 0) << "the same value again is no change";
    EXPECT_EQ(field.intValue(), 150);
}

TEST(TaggedChoices, PopUpItemsAndMatrixCellsCarryTags)
{
    MyPopUpButton popUp(120);
    popUp.addItemWithTag(QStringLiteral("Left"), 10);
    popUp.addItemWithTag(QStringLiteral("Right"), 30);
    EXPECT_TRUE(popUp.selectItemWithTag(30));
    EXPECT_EQ(popUp.selectedTag(), 30);
    EXPECT_FALSE(popUp.selectItemWithTag(20));
    EXPECT_EQ(popUp.selectedTag(), 30);

    MyMatrix matrix(121);
    matrix.addCell(QStringLiteral("Title"), 0);
    QRadioButton* comments = matrix.addCell(QStringLiteral("Comments"), 1);
    matrix.addCell(QStringLiteral("Both"), 2);
    EXPECT_EQ(matrix.selectedTag(), -1);
    QSignalSpy changed(&matrix, &MyMatrix::selectionChanged);
    QTest::mouseClick(comments, Qt::LeftButton);
    EXPECT_EQ(matrix.selectedTag(), 1);
    ASSERT_EQ(changed.size(), 1);
    EXPECT_EQ(changed[0][0].toInt(), 1);
    EXPECT_TRUE(matrix.selectCellWithTag(2));
    EXPECT_EQ(matrix.selectedTag(), 2);
    EXPECT_FALSE(matrix.selectCellWithTag(5));
}

TEST(TabView, ItemsLiveOnWhileRemovedAndViewsCanBeSwapped)
{
    MyTabView tabs;
    auto* editing = new QWidget;
    tabs.addTabViewItem(QStringLiteral("Editing"), QStringLiteral("Editing"), editing);
    tabs.addTabViewItem(QStringLiteral("Activity"), QStringLiteral("Activity"), nullptr);
    tabs.addTabViewItem(QStringLiteral("Send"), QStringLiteral("Send"), nullptr);

    tabs.removeTabViewItem(QStringLiteral("Send"));
    EXPECT_EQ(tabs.count(), 2);
    EXPECT_EQ(tabs.indexOfTabViewItemWithIdentifier(QStringLiteral("Send")), -1);
    ASSERT_NE(tabs.tabViewItemWithIdentifier(QStringLiteral("Send")), nullptr);
    EXPECT_FALSE(tabs.selectTabViewItemWithIdentifier(QStringLiteral("Send")));

    tabs.insertTabViewItem(QStringLiteral("Send"), 1);
    EXPECT_EQ(tabs.indexOfTabViewItemWithIdentifier(QStringLiteral("Send")), 1);
    EXPECT_TRUE(tabs.selectTabViewItemWithIdentifier(QStringLiteral("Send")));
    EXPECT_EQ(tabs.selectedIdentifier(), QStringLiteral("Send"));

    auto* panel = new QWidget;
    tabs.setViewOfItem(QStringLiteral("Send"), panel);
    EXPECT_EQ(tabs.widget(1), panel);
    EXPECT_EQ(tabs.selectedIdentifier(), QStringLiteral("Send"));

    // A removed item's view is deleted with the tab view (no leak), a shown one too.
    tabs.removeTabViewItem(QStringLiteral("Editing"));
    EXPECT_EQ(tabs.tabViewItemWithIdentifier(QStringLiteral("Editing"))->view(), editing);
}

TEST(ColorPanel, OnePanelServesTheActiveWell)
{
    MyColorWell first(1);
    MyColorWell second(2);
    first.setColor(Qt::red);
    QSignalSpy firstChanged(&first, &MyColorWell::colorChanged);

    QTest::mouseClick(&first, Qt::LeftButton);
    EXPECT_TRUE(first.isActive());
    QColorDialog* panel = ColorPanel::shared().dialog();
    EXPECT_FALSE(panel->isModal());
    EXPECT_EQ(panel->currentColor(), QColor(Qt::red));
    panel->setCurrentColor(Qt::blue);
    EXPECT_EQ(first.color(), QColor(Qt::blue));
    EXPECT_EQ(firstChanged.size(), 1);

    // Activating another well deactivates the first: picks go to the second only.
    second.setActive(true);
    EXPECT_FALSE(first.isActive());
    EXPECT_EQ(ColorPanel::shared().activeWell(), &second);
    panel->setCurrentColor(Qt::green);
    EXPECT_EQ(first.color(), QColor(Qt::blue));
    EXPECT_EQ(second.color(), QColor(Qt::green));

    second.setActive(false);
    panel->setCurrentColor(Qt::yellow);
    EXPECT_EQ(second.color(), QColor(Qt::green));
    panel->hide();
}

TEST(CancelButton, KeepsTheFocusWhileShown)
{
    QWidget window;
    auto* layout = new QVBoxLayout(&window);
    auto* field = new QLineEdit(&window);
    auto* cancel = new MyCancelButton(0, QStringLiteral("Cancel"), &window);
    auto* other = new QPushButton(QStringLiteral("Other"), &window);
    layout->addWidget(field);
    layout->addWidget(cancel);
    layout->addWidget(other);
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));

    cancel->setFocus(Qt::OtherFocusReason);
    ASSERT_TRUE(cancel->hasFocus());
    QTest::keyClick(cancel, Qt::Key_Tab);
    EXPECT_TRUE(cancel->hasFocus()) << "Tab leaves the focus on it";
    QTest::keyClick(cancel, Qt::Key_Backtab);
    EXPECT_TRUE(cancel->hasFocus());
    QTest::mouseClick(field, Qt::LeftButton);
    QApplication::processEvents();
    EXPECT_TRUE(cancel->hasFocus()) << "a click elsewhere gives it back";

    // Its keys click it at once, each once.
    int clicks = 0;
    QObject::connect(cancel, &QPushButton::clicked, cancel, [&clicks] { ++clicks; });
    for (Qt::Key key : {Qt::Key_Escape, Qt::Key_Return, Qt::Key_Enter, Qt::Key_Space}) {
        const int before = clicks;
        QTest::keyClick(window.focusWidget(), key);
        EXPECT_EQ(clicks, before + 1) << key;
        EXPECT_TRUE(cancel->hasFocus()) << key;
    }
    QTest::keyClick(cancel, Qt::Key_A);
    EXPECT_EQ(clicks, 4) << "another key does nothing";

    // Hidden, it lets the focus go like any button.
    cancel->hide();
    field->setFocus(Qt::MouseFocusReason);
    QApplication::processEvents();
    EXPECT_TRUE(field->hasFocus());
    QTest::keyClick(field, Qt::Key_Tab);
    EXPECT_TRUE(other->hasFocus());
}

TEST(SplitView, DividerPositionsGoThroughTheHook)
{
    SplitView split(Qt::Horizontal);
    split.addWidget(new QWidget);
    split.addWidget(new QWidget);
    split.resize(600, 300);
    split.show();
    split.setConstrainHook([](int proposed, int) { return std::clamp(proposed, 150, 400); });
    split.setDividerPosition(50, 0);
    EXPECT_EQ(split.sizes().value(0), 150);
    split.setDividerPosition(250, 0);
    EXPECT_EQ(split.sizes().value(0), 250);
    split.setDividerPosition(580, 0);
    EXPECT_EQ(split.sizes().value(0), 400);
}

TEST(Ruler, RegisteredUnitsScaleReadingsFromTheOrigin)
{
    RulerUnit::registerUnit(RulerUnit{QStringLiteral("Grummets"), QStringLiteral("gt"), 100.0, {2.0}, {0.5, 0.2}});
    RulerView ruler(Qt::Horizontal);
    ruler.resize(800, 18);
    EXPECT_FALSE(ruler.setMeasurementUnits(QStringLiteral("Furlongs")));
    EXPECT_EQ(ruler.unit().name, QStringLiteral("Points"));
    ASSERT_TRUE(ruler.setMeasurementUnits(QStringLiteral("Grummets")));
    EXPECT_DOUBLE_EQ(ruler.unitsAtPosition(200), 2.0);
    ruler.setOriginOffset(50);
    EXPECT_DOUBLE_EQ(ruler.unitsAtPosition(250), 2.0);
    EXPECT_DOUBLE_EQ(ruler.unitsAtPosition(0), -0.5);
    // The zero mark stands at the origin, and marks are evenly spaced.
    const QList<double> marks = ruler.majorMarkPositions();
    ASSERT_GE(marks.size(), 3);
    EXPECT_TRUE(marks.contains(50.0));
    EXPECT_NEAR(marks[2] - marks[1], marks[1] - marks[0], 1e-9);
}

} // namespace
