#pragma once

// An observer that writes down everything a publication tells, in order:
// as readable lines (for messages and whole-sequence checks) and as the
// values tests look at (starts, progress, endings).
#include "publish/PublishObserver.h"

#include "support/EventLoop.h"

#include <QList>
#include <QStringList>

struct RecordingPublishObserver : PublishObserver {
    struct Progress {
        int percent;
        bool indeterminate;
    };

    QStringList events;
    QStringList titles;     // of each run started
    QStringList stages;     // each first status line told
    QStringList activity;   // each Activity line told
    QList<Progress> progress;
    QList<Ending> endings;
    int dismissals = 0;

    void buildFailed(const QString& why) override { events << QStringLiteral("build failed: ") + why; }
    void publicationRefused(const QString& title, const QString& why) override
    {
        events << QStringLiteral("refused: ") + title + QStringLiteral(": ") + why;
    }
    void destinationNeeded() override { events << QStringLiteral("destination needed"); }
    void runStarted(const QString& title, bool test) override
    {
        titles << title;
        events << (test ? QStringLiteral("test started: ") : QStringLiteral("started: ")) + title;
    }
    void stageChanged(const QString& stage, const QString& detail) override
    {
        stages << stage;
        events << QStringLiteral("stage: ") + stage + (detail.isEmpty() ? QString() : QStringLiteral(" | ") + detail);
    }
    void progressChanged(int percent, bool indeterminate) override
    {
        progress << Progress { percent, indeterminate };
        events << QStringLiteral("progress: ") + (indeterminate ? QStringLiteral("?") : QString::number(percent));
    }
    void activityLine(const QString& line) override
    {
        activity << line;
        events << QStringLiteral("activity: ") + line;
    }
    // The tools' talk is long; the uploader's debug log keeps it.
    void toolLine(const QString&) override { }
    void runEnded(const Ending& ending) override
    {
        endings << ending;
        events << QStringLiteral("ended: ") + outcomeName(ending.outcome) + QStringLiteral(": ") + ending.line
                + (ending.detail.isEmpty() ? QString() : QStringLiteral(" | ") + ending.detail);
    }
    void dismissed() override
    {
        ++dismissals;
        events << QStringLiteral("dismissed");
    }

    static QString outcomeName(Outcome outcome)
    {
        switch (outcome) {
        case Outcome::Published: return QStringLiteral("published");
        case Outcome::TestPassed: return QStringLiteral("test passed");
        case Outcome::Failed: return QStringLiteral("failed");
        case Outcome::Cancelled: return QStringLiteral("cancelled");
        }
        return QString();
    }
    const Ending* lastEnding() const { return endings.isEmpty() ? nullptr : &endings.last(); }
    // Runs the event loop until a run ended after the `before`th ending.
    bool waitForEnding(qsizetype before, int limitMilliseconds = 120000)
    {
        return processEventsUntil([&] { return endings.size() > before; }, limitMilliseconds);
    }
    // The determinate percentages told, in order.
    QList<int> percents() const
    {
        QList<int> values;
        for (const Progress& step : progress) {
            if (!step.indeterminate)
                values << step.percent;
        }
        return values;
    }
    QString story() const { return events.join(QLatin1Char('\n')); }
};
