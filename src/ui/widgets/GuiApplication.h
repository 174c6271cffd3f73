#pragma once
#include <QApplication>

#include <functional>

// The program's Qt application: no failure leaves an event handler or a slot.
// A failure thrown while an event is delivered is logged like every failure
// the interface stops, with the closing rule, and the event counts as handled.
class GuiApplication : public QApplication {
    Q_OBJECT
public:
    GuiApplication(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* event) override;

    // The frame notify runs every delivery in (tests call it directly).
    static bool deliverSafely(QObject* receiver, QEvent* event, const std::function<bool()>& deliver);
};
