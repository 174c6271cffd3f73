// No failure leaves a slot, an action or an event handler: it is logged with
// the closing rule and the program goes on.
#include "platform/Exception.h"
#include "ui/widgets/ActionConnection.h"
#include "ui/widgets/ControlTags.h"
#include "ui/widgets/GuiApplication.h"
#include "ui/widgets/MyButton.h"
#include "ui/widgets/MyCheckBox.h"
#include "ui/widgets/SheetBuilder.h"
#include "ui/widgets/MyIntegerField.h"
#include "support/LogCapture.h"

#include <QEvent>
#include <QSpinBox>
#include <QTest>

#include <gtest/gtest.h>
#include <stdexcept>

namespace {

bool loggedStoppedFailure(const QStringList& lines, const QString& reason)
{
    bool caught = false;
    for (const QString& line : lines)
        caught = caught || (line.startsWith(QStringLiteral("Catch:")) && line.contains(reason));
    return caught && lines.contains(QStringLiteral("-----------------------------------------"));
}

TEST(UiFrame, AFailureInAnActionIsLoggedAndTheProgramGoesOn)
{
    LogCapture log;
    QWidget window;
    MyButton button(150, QStringLiteral("Go"), &window);
    int runs = 0;
    lq::connectAction(&button, &QPushButton::clicked, &window, "go:", [&] {
        ++runs;
        throw std::runtime_error("broken action");
    });
    QTest::mouseClick(&button, Qt::LeftButton);
    QTest::mouseClick(&button, Qt::LeftButton);
    EXPECT_EQ(runs, 2);   // still wired after the first failure
    EXPECT_TRUE(loggedStoppedFailure(log.lines, QStringLiteral("broken action")));
}

TEST(UiFrame, BuilderActionsRunInTheFrame)
{
    LogCapture log;
    QWidget sheet;
    QList<int> tags;
    SheetBuilder b(&sheet, &sheet, [&](QWidget* sender) {
        tags.append(sender->property("tag").toInt());
        if (tags.size() == 1)
            throw std::runtime_error("first change fails");
    });
    MyCheckBox* check = b.check(214, QStringLiteral("Captions"));
    MyIntegerField* width = b.intPair(211, 1, 200);
    QTest::mouseClick(check, Qt::LeftButton);
    width->setText(QStringLiteral("42"));
    Q_EMIT width->editingFinished();
    EXPECT_EQ(tags, (QList<int>{214, 211}));
    EXPECT_TRUE(loggedStoppedFailure(log.lines, QStringLiteral("first change fails")));
    // The pair's stepper (tag + 1) follows the field.
    auto* arrows = qobject_cast<QSpinBox*>(lq::viewWithTag(&sheet, 212));
    ASSERT_NE(arrows, nullptr);
    EXPECT_EQ(arrows->value(), 42);
    arrows->stepUp();
    EXPECT_EQ(width->intValue(), 43);
}

TEST(UiFrame, BuilderControlsOutliveTheBuilder)
{
    // Panels build their controls with a builder local to their constructor.
    QWidget sheet;
    QList<int> tags;
    MyCheckBox* check = nullptr;
    MyIntegerField* width = nullptr;
    {
        SheetBuilder b(&sheet, &sheet, [&](QWidget* sender) { tags.append(sender->property("tag").toInt()); });
        check = b.check(214, QStringLiteral("Captions"));
        width = b.intPair(211, 1, 200);
    }
    QTest::mouseClick(check, Qt::LeftButton);
    qobject_cast<QSpinBox*>(lq::viewWithTag(&sheet, 212))->stepUp();
    EXPECT_EQ(tags, (QList<int>{214, 211}));
    EXPECT_EQ(width->intValue(), 2);
}

class ThrowingWidget : public QWidget {
protected:
    bool event(QEvent* e) override
    {
        if (e->type() == QEvent::User)
            throw std::runtime_error("event handler failed");
        return QWidget::event(e);
    }
};

TEST(UiFrame, EventDeliveryStopsFailures)
{
    LogCapture log;
    ThrowingWidget widget;
    QEvent event(QEvent::User);
    const bool handled = GuiApplication::deliverSafely(&widget, &event, [&] { return QApplication::sendEvent(&widget, &event); });
    EXPECT_TRUE(handled);
    EXPECT_TRUE(loggedStoppedFailure(log.lines, QStringLiteral("event handler failed")));
    // Deliveries that succeed answer what the receiver answered.
    EXPECT_FALSE(GuiApplication::deliverSafely(&widget, &event, [] { return false; }));
}

} // namespace
