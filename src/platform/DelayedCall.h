#pragma once

#include <QString>

#include <functional>

namespace lq {

// Calls that run later on the main event loop, filed under a target object and
// a key so that they can be cancelled before they run: the document's queue
// turns, the snapshot-trimming steps, the rebuild offer after an open.
//
// Several calls may wait under one target and key; cancel drops them all. A
// target that goes away must cancel its calls first (cancelAll).
void performAfter(const void* target, const QString& key, double seconds, std::function<void()> call);
void cancel(const void* target, const QString& key);
void cancelAll(const void* target);
// How many calls wait under the target and key.
int pendingCalls(const void* target, const QString& key);

} // namespace lq
