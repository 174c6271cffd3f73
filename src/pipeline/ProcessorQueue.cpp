#include "pipeline/ProcessorQueue.h"

#include "pipeline/XmlProcessor.h"
#include "pipeline/XmlRun.h"
#include "platform/DelayedCall.h"
#include "platform/Exception.h"
#include "platform/ExceptionFrame.h"
#include "platform/Log.h"

#include <QElapsedTimer>

namespace {

const QString sliceKey = QStringLiteral("processor:");

qint64 monotonicMilliseconds()
{
    static QElapsedTimer start = [] {
        QElapsedTimer timer;
        timer.start();
        return timer;
    }();
    return start.elapsed();
}

} // namespace

std::pair<QString, QString> ProcessorQueue::currentFailure()
{
    try {
        throw;
    } catch (const lq::Exception& failure) {
        if (failure.isTrace() && !failure.originName().isEmpty())
            return { failure.originName(), failure.originReason() };
        return { failure.name(), failure.reason() };
    } catch (const std::exception& failure) {
        return { QStringLiteral("std::exception"), QString::fromUtf8(failure.what()) };
    } catch (...) {
        return { QStringLiteral("unknown"), QStringLiteral("unknown failure") };
    }
}

ProcessorQueue::ProcessorQueue(DocumentBase* document)
    : _document(document)
    , _clock(&monotonicMilliseconds)
{
}

ProcessorQueue::~ProcessorQueue()
{
    stopProcessor();
}

void ProcessorQueue::setClock(Clock clock)
{
    _clock = clock ? std::move(clock) : Clock(&monotonicMilliseconds);
}

void ProcessorQueue::startProcessor(const std::shared_ptr<XmlProcessor>& processor)
{
    queue(processor, false);
}

void ProcessorQueue::startProcessorNext(const std::shared_ptr<XmlProcessor>& processor)
{
    queue(processor, true);
}

void ProcessorQueue::queue(const std::shared_ptr<XmlProcessor>& processor, bool next)
{
    if (!processor || processor->numberChildren() == 0)
        return;
    processor->setTotalCount();
    processor->setDocument(_document);
    stopProcessor();
    if (next)
        _processors.prepend(processor);
    else
        _processors.append(processor);
    arm();
}

void ProcessorQueue::arm()
{
    lq::performAfter(this, sliceKey, rearmSeconds, [this] { processor(); });
}

void ProcessorQueue::stopProcessor()
{
    lq::cancel(this, sliceKey);
}

bool ProcessorQueue::isArmed() const
{
    return lq::pendingCalls(this, sliceKey) > 0;
}

bool ProcessorQueue::isIdle() const
{
    return _processors.isEmpty() && !isArmed();
}

void ProcessorQueue::cancelActivity()
{
    stopProcessor();
    _processors.clear();
    _progress = 0.0;
    _statusHidden = true;
    display();
    tellIdle(false);
}

void ProcessorQueue::whenIdle(const void* owner, std::function<void(bool ranEverything)> then)
{
    if (!then)
        return;
    if (_processors.isEmpty()) {
        then(true);
        return;
    }
    _waiters.append({ owner, std::move(then) });
}

void ProcessorQueue::forgetWaiters(const void* owner)
{
    _waiters.removeIf([owner](const Waiter& waiter) { return waiter.owner == owner; });
}

void ProcessorQueue::tellIdle(bool ranEverything)
{
    const QList<Waiter> told = std::exchange(_waiters, {});
    for (const Waiter& waiter : told) {
        try {
            waiter.then(ranEverything);
        } catch (...) {
            const auto [name, reason] = currentFailure();
            lq::log(QStringLiteral("error after the queue ran: ") + name + QStringLiteral(": ") + reason);
        }
    }
}

void ProcessorQueue::processor()
{
    try {
        const qint64 start = _clock();
        bool refresh = false;
        bool timeRanOut = false;
        for (;;) {
            if (_clock() - start >= static_cast<qint64>(sliceSeconds * 1000)) {
                timeRanOut = true;
                break;
            }

            // Take the next step out of the head script; emptied scripts leave.
            while (!_processors.isEmpty() && _processors.first()->numberChildren() == 0)
                _processors.removeFirst();
            if (_processors.isEmpty()) {
                try {
                    hideStatus();
                } catch (...) {
                    lq::log(QStringLiteral("+non fatal error updating status bar"));
                }
                break;
            }
            const std::shared_ptr<XmlProcessor> head = _processors.first();
            const XmlBasePtr next = head->firstChild();
            head->removeChildWithoutDeletingChildren(next.get());
            const std::shared_ptr<XmlRun> step = std::dynamic_pointer_cast<XmlRun>(next);
            if (step) {
                step->setDocument(_document);
                step->setParent(head.get());
                try {
                    if (_stepLog)
                        _stepLog(step->statusMessage());
                    else
                        appendActivityText(step->statusMessage());
                    if (step->run())
                        refresh = true;
                    if (step->failed())
                        noteFailure(step->failure());
                } catch (...) {
                    const auto [name, reason] = currentFailure();
                    noteFailure(name + QStringLiteral(": ") + reason);
                    addActivityString(QStringLiteral("**** ERROR ****"));
                    addActivityString(QStringLiteral("processor error: ") + name + QStringLiteral(": ") + reason);
                    addActivityString(lq::className(typeid(*step)));
                }
                step->setParent(nullptr);
            }

            try {
                showHeadStatus();
            } catch (...) {
                lq::log(QStringLiteral("+non fatal error updating status bar"));
            }
        }

        if (refresh && _refresh) {
            try {
                _refresh();
            } catch (...) {
                lq::log(QStringLiteral("+non fatal error updating editor"));
            }
        }
        if (timeRanOut)
            arm();
        else if (_processors.isEmpty())
            tellIdle(true);
    } catch (...) {
        const auto [name, reason] = currentFailure();
        lq::log(QStringLiteral("*** FATAL ERROR IN PROCESSOR ***"));
        lq::log(QStringLiteral("processor error: ") + name + QStringLiteral(": ") + reason);
    }
}

void ProcessorQueue::noteFailure(const QString& what)
{
    if (_failedSteps++ == 0)
        _firstFailure = what;
}

void ProcessorQueue::hideStatus()
{
    _progress = 0.0;
    _statusHidden = true;
    display();
}

void ProcessorQueue::showHeadStatus()
{
    // The head is the script whose steps are under way (the one just emptied
    // stays the head until the next step is taken).
    if (_processors.isEmpty())
        return;
    const std::shared_ptr<XmlProcessor>& head = _processors.first();
    _statusHidden = false;
    _statusMessage = head->statusMessage();
    _progress = head->progress();
    display();
}

void ProcessorQueue::addActivityString(const QString& line)
{
    appendActivityText(line + QLatin1Char('\n'));
}

void ProcessorQueue::appendActivityText(const QString& text)
{
    _activityText += text;
    display();
}

void ProcessorQueue::setActivityText(const QString& text)
{
    _activityText = text;
    display();
}

void ProcessorQueue::display()
{
    if (_display)
        _display();
}
