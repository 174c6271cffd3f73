#pragma once

#include <QList>
#include <QString>

#include <functional>
#include <memory>
#include <utility>

class DocumentBase;
class XmlProcessor;

// A document's first-in, first-out queue of processor scripts (a script may
// also be queued to run next, ahead of the others) and its Activity log. The steps run on the main thread in time slices: a slice runs
// steps until half a second has gone by (at least one step, and the step
// during which the time ran out is finished), then the next slice is armed a
// tenth of a second later on the event loop, so that the user's events are
// handled in between. A slice that finds no step left goes idle; the next
// queued script starts it again.
//
// Each step's status line goes to the Activity log before it runs; a step
// that fails is logged there and counted, and the next one runs. The status line and the
// progress of the head script are kept for the window to show.
class ProcessorQueue {
public:
    static constexpr double sliceSeconds = 0.5;
    static constexpr double rearmSeconds = 0.1;

    explicit ProcessorQueue(DocumentBase* document);
    ~ProcessorQueue();
    ProcessorQueue(const ProcessorQueue&) = delete;
    ProcessorQueue& operator=(const ProcessorQueue&) = delete;

    // Milliseconds from any fixed start; the default is the monotonic clock.
    using Clock = std::function<qint64()>;
    void setClock(Clock clock);

    // --- Queue ----------------------------------------------------------------
    // Queues the script behind the others and arms a slice; a script without
    // steps (or nothing) is ignored.
    void startProcessor(const std::shared_ptr<XmlProcessor>& processor);
    // Queues the script ahead of the others, the one under way included:
    // its steps run next. A script without steps (or nothing) is ignored.
    void startProcessorNext(const std::shared_ptr<XmlProcessor>& processor);
    // One time slice.
    void processor();
    // Cancels the armed slices; the queue stays as it is.
    void stopProcessor();
    // Stops, drops every script, sets the progress to 0 and hides the status line.
    void cancelActivity();
    const QList<std::shared_ptr<XmlProcessor>>& processors() const { return _processors; }
    bool isIdle() const;
    // Calls `then` once the queue has run every script, those queued on the
    // way included (at once when it holds none), with true; with false when
    // cancelActivity dropped them first. Told at the end of the slice that
    // found no step left; the owner takes its calls back with forgetWaiters.
    void whenIdle(const void* owner, std::function<void(bool ranEverything)> then);
    void forgetWaiters(const void* owner);
    // The steps that failed (raised, or reported what they could not do)
    // since the count was last cleared: a build with any may not be published.
    int failedSteps() const { return _failedSteps; }
    // What the first of them reported ("" when none failed).
    const QString& firstFailure() const { return _firstFailure; }
    void clearFailedSteps()
    {
        _failedSteps = 0;
        _firstFailure.clear();
    }
    // Whether a slice is armed.
    bool isArmed() const;

    // The name and reason of the failure being handled (called in a catch
    // block); for a failure that came through exception frames, those of
    // the failure it began with.
    static std::pair<QString, QString> currentFailure();

    // --- Activity log -----------------------------------------------------------
    // Where each step's status line goes instead of the Activity log, when
    // set (a publication's build shows them in its details); what failed
    // is always written to the log.
    void setStepLog(std::function<void(const QString& line)> log) { _stepLog = std::move(log); }
    // Appends the line and a line feed.
    void addActivityString(const QString& line);
    // Appends the text as it is.
    void appendActivityText(const QString& text);
    const QString& activityText() const { return _activityText; }
    void setActivityText(const QString& text);

    // --- Status line and progress ----------------------------------------------
    bool statusHidden() const { return _statusHidden; }
    const QString& statusMessage() const { return _statusMessage; }
    double progress() const { return _progress; }

    // Called after a slice in which a step asked for it (the editor panels reload).
    void setRefreshHandler(std::function<void()> handler) { _refresh = std::move(handler); }
    // Called whenever the Activity log, the status line or the progress changed.
    void setDisplayHandler(std::function<void()> handler) { _display = std::move(handler); }

private:
    void queue(const std::shared_ptr<XmlProcessor>& processor, bool next);
    void arm();
    void noteFailure(const QString& what);
    void hideStatus();
    void showHeadStatus();
    void display();
    // Tells every waiter of whenIdle (those added meanwhile wait for the next time).
    void tellIdle(bool ranEverything);

    DocumentBase* _document;
    QList<std::shared_ptr<XmlProcessor>> _processors;
    Clock _clock;
    QString _activityText;
    QString _statusMessage;
    double _progress = 0.0;
    int _failedSteps = 0;
    QString _firstFailure;
    bool _statusHidden = true;
    std::function<void()> _refresh;
    std::function<void()> _display;
    std::function<void(const QString&)> _stepLog;
    struct Waiter {
        const void* owner;
        std::function<void(bool)> then;
    };
    QList<Waiter> _waiters;
};
