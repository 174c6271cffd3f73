#include "platform/DelayedCall.h"

#include <QTimer>

#include <algorithm>
#include <map>
#include <memory>
#include <vector>

namespace lq {

namespace {

struct Pending {
    quint64 id = 0;
    std::unique_ptr<QTimer> timer;
};

using CallKey = std::pair<const void*, QString>;

// Made once and never freed: timers may still be waiting when the program ends.
struct Scheduler {
    std::map<CallKey, std::vector<Pending>> pending;
    // Timers that fired or were cancelled. A timer cannot be deleted inside its
    // own signal, so they are deleted at the next firing or scheduling that
    // happens outside of any timer's signal of theirs.
    std::vector<std::unique_ptr<QTimer>> spent;
    int firing = 0;
};

Scheduler& scheduler()
{
    static auto* instance = new Scheduler;
    return *instance;
}

void sweep(QTimer* keep = nullptr)
{
    auto& spent = scheduler().spent;
    std::erase_if(spent, [&](const std::unique_ptr<QTimer>& timer) { return timer.get() != keep; });
}

void retire(Pending& call)
{
    call.timer->stop();
    scheduler().spent.push_back(std::move(call.timer));
}

// Takes the call out of the table; answers whether it was still waiting.
bool takeOut(const CallKey& key, quint64 id)
{
    auto& table = scheduler().pending;
    const auto found = table.find(key);
    if (found == table.end())
        return false;
    auto& calls = found->second;
    const auto call = std::find_if(calls.begin(), calls.end(), [&](const Pending& p) { return p.id == id; });
    if (call == calls.end())
        return false;
    retire(*call);
    calls.erase(call);
    if (calls.empty())
        table.erase(found);
    return true;
}

} // namespace

void performAfter(const void* target, const QString& key, double seconds, std::function<void()> call)
{
    static quint64 nextId = 0;
    const quint64 id = ++nextId;
    const CallKey callKey { target, key };

    auto timer = std::make_unique<QTimer>();
    timer->setSingleShot(true);
    timer->setTimerType(Qt::PreciseTimer);
    timer->setInterval(std::max(0, static_cast<int>(seconds * 1000.0 + 0.5)));
    QTimer* self = timer.get();
    QObject::connect(self, &QTimer::timeout, [callKey, id, self, call = std::move(call)]() mutable {
        Scheduler& s = scheduler();
        if (s.firing == 0)
            sweep(self);
        // The call leaves the table before it runs, so that it may schedule
        // or cancel calls under its own key.
        if (!takeOut(callKey, id))
            return;
        auto body = std::move(call);
        ++s.firing;
        struct Leave {
            int& firing;
            ~Leave() { --firing; }
        } leave { s.firing };
        if (body)
            body();
    });
    if (scheduler().firing == 0)
        sweep();
    timer->start();
    scheduler().pending[callKey].push_back(Pending { id, std::move(timer) });
}

void cancel(const void* target, const QString& key)
{
    auto& table = scheduler().pending;
    const auto found = table.find(CallKey { target, key });
    if (found == table.end())
        return;
    std::vector<Pending> calls = std::move(found->second);
    table.erase(found);
    for (Pending& call : calls)
        retire(call);
}

void cancelAll(const void* target)
{
    QStringList keys;
    for (const auto& [key, calls] : scheduler().pending)
        if (key.first == target)
            keys.append(key.second);
    for (const QString& key : keys)
        cancel(target, key);
}

int pendingCalls(const void* target, const QString& key)
{
    const auto& table = scheduler().pending;
    const auto found = table.find(CallKey { target, key });
    return found == table.end() ? 0 : static_cast<int>(found->second.size());
}

} // namespace lq
