#include "pipeline/PageMaker.h"

#include "model/core/DocumentBase.h"
#include "model/core/ElementRegistry.h"
#include "model/core/XmlBase.h"
#include "model/feed/XmlRSS.h"
#include "model/site/XmlSite.h"
#include "pipeline/PageScripts.h"
#include "pipeline/SiteCopy.h"
#include "platform/Log.h"
#include "platform/Services.h"
#include "templates/XmlStyleSheet.h"

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <map>
#include <mutex>
#include <thread>

namespace lq {

namespace {

// -1: as many threads as the cores allow.
std::atomic<int> configuredThreads { -1 };
std::atomic<int> madeAheadInAll { 0 };
std::atomic<int> writtenAheadInAll { 0 };
std::atomic<int> threadsAtWork { 0 };

// Counts a thread of a maker off when it ends, however it ends.
struct AtWork {
    AtWork() = default;
    ~AtWork() { --threadsAtWork; }
    AtWork(const AtWork&) = delete;
    AtWork& operator=(const AtWork&) = delete;
};

// One thread writing ahead keeps up with the main thread, which writes
// every file and runs every other step of the queue: a second one seldom
// shortens a build, while each holds a copy of the whole site and lays out
// its own menus of every page (more memory, more work in all).
constexpr int mostThreads = 1;

QString feedText(DocumentBase* document)
{
    XmlRSS* feed = document ? document->rss() : nullptr;
    return feed ? feed->createXml() : QString();
}

} // namespace

struct PageMaker::Shared {
    enum class Slot { Open, Claimed, Made, Failed, Taken };

    std::vector<Page> pages;
    // Each template with the index of the last page that uses it, in that order.
    std::vector<std::pair<std::size_t, QString>> lastUses;
    std::vector<Slot> slots;
    std::vector<PageScript> made;
    std::mutex mutex;
    std::condition_variable changed;
    // The first page no thread has claimed yet, and the first page the main
    // thread has not come to yet: threads stay within `ahead` pages of it.
    std::size_t next = 0;
    std::size_t reached = 0;
    std::size_t ahead = 0;
    bool stopping = false;
    // What the threads copy the site from, dropped once every one has its copy.
    SiteCopy::Snapshot snapshot;
    int copying = 0;
    std::vector<std::thread> threads;

    void work();
    void releaseTemplatesDoneBy(std::size_t index, std::size_t& released);
};

// A template the thread will not lay out again in this build lets its laid-out
// state go (its menus keep an item for every page of the site).
void PageMaker::Shared::releaseTemplatesDoneBy(std::size_t index, std::size_t& released)
{
    for (; released < lastUses.size() && lastUses[released].first <= index; ++released) {
        try {
            if (const XmlBasePtr sheet = XmlBase::UUID(lastUses[released].second))
                if (XmlStyleSheet* style = XmlStyleSheet::cast(sheet.get()))
                    style->cleanup();
        } catch (...) {
            // What it keeps is only memory: the pages to come do not use it.
        }
    }
}

void PageMaker::Shared::work()
{
    const AtWork counted;
    // The copy lives in this thread's own registry, with no hooks into the
    // interface, and whatever writing a page would log stays here.
    Services none;
    ThreadServicesScope noServices(none);
    ElementRegistry::ThreadScope registry;
    bool logged = false;
    ThreadLogSink quiet([&logged](const QString&) { logged = true; });
    try {
        std::unique_ptr<SiteCopy> copy = SiteCopy::make(snapshot);
        {
            std::lock_guard lock(mutex);
            if (--copying == 0)
                snapshot = SiteCopy::Snapshot();
        }
        if (!copy || logged) {
            // Nothing can be written ahead: every page is left to the main thread.
            std::lock_guard lock(mutex);
            stopping = true;
            changed.notify_all();
            return;
        }
        std::size_t released = 0;
        for (;;) {
            std::size_t index = 0;
            {
                std::unique_lock lock(mutex);
                changed.wait(lock, [&] { return stopping || next >= pages.size() || next < reached + ahead; });
                while (next < pages.size() && slots[next] != Slot::Open)
                    ++next;
                if (stopping || next >= pages.size())
                    break;
                if (next >= reached + ahead)
                    continue;
                index = next++;
                slots[index] = Slot::Claimed;
            }
            copy->clearDisturbed();
            logged = false;
            const quint64 drawn = ElementRegistry::uuidsDrawnOnThisThread();
            PageScript page;
            bool written = false;
            try {
                page = writeHTMLScript(*copy->site(), pages[index].page, pages[index].sheet);
                // What the page's steps take in is worked out here, not
                // when the main thread queues them.
                readPageFilesAhead(page);
                // A page that asked the document for more than answers, logged
                // anything or named an element the main thread does not know
                // is written there instead.
                written = !copy->disturbed() && !logged && ElementRegistry::uuidsDrawnOnThisThread() == drawn;
            } catch (...) {
                written = false;
            }
            if (written) {
                // Kept until the main thread comes to it: no more room than it needs.
                page.script.squeeze();
                for (XmlStyleSheet::PageFile& file : page.files)
                    file.html.squeeze();
            }
            {
                std::lock_guard lock(mutex);
                if (written) {
                    made[index] = std::move(page);
                    ++writtenAheadInAll;
                }
                slots[index] = written ? Slot::Made : Slot::Failed;
                changed.notify_all();
            }
            releaseTemplatesDoneBy(index, released);
        }
        // The copy goes while the registry it lives in is still there.
        copy.reset();
    } catch (...) {
        std::lock_guard lock(mutex);
        stopping = true;
        changed.notify_all();
    }
}

PageMaker::PageMaker(std::vector<Page> pages)
    : _shared(std::make_shared<Shared>())
{
    _shared->slots.assign(pages.size(), Shared::Slot::Open);
    _shared->made.resize(pages.size());
    _shared->pages = std::move(pages);
    std::map<QString, std::size_t> last;
    for (std::size_t i = 0; i < _shared->pages.size(); ++i)
        last[_shared->pages[i].sheet] = i;
    for (const auto& [sheet, index] : last)
        _shared->lastUses.emplace_back(index, sheet);
    std::sort(_shared->lastUses.begin(), _shared->lastUses.end());
}

PageMaker::~PageMaker()
{
    stop();
}

int PageMaker::threads()
{
    const int configured = configuredThreads.load();
    if (configured >= 0)
        return configured;
    const int cores = static_cast<int>(std::thread::hardware_concurrency());
    return std::clamp(cores - 1, 0, mostThreads);
}

void PageMaker::setThreads(int count)
{
    configuredThreads = count;
}

bool PageMaker::worthIt(std::size_t pages)
{
    const int count = threads();
    return count > 0 && pages >= static_cast<std::size_t>(2 * count + 2);
}

int PageMaker::pagesMadeAheadInAll()
{
    return madeAheadInAll.load();
}

int PageMaker::pagesWrittenAheadInAll()
{
    return writtenAheadInAll.load();
}

int PageMaker::threadsAtWorkInAll()
{
    return threadsAtWork.load();
}

bool PageMaker::stillTheSame(XmlSite& site) const
{
    DocumentBase* document = site.document();
    if (!document || &site != _site || document->site() != _site || static_cast<const void*>(document->theme()) != _theme)
        return false;
    const std::optional<quint64> seen = document->changesSeen();
    return seen && *seen == _changesSeen && document->testMode() == _testMode && document->globalIndex() == _globalIndex
        && feedText(document) == _feed;
}

void PageMaker::start(XmlSite& site, std::size_t first)
{
    _started = true;
    DocumentBase* document = site.document();
    const std::optional<quint64> seen = document ? document->changesSeen() : std::nullopt;
    if (!seen) {
        _abandoned = true;
        return;
    }
    _site = &site;
    _theme = document->theme();
    _changesSeen = *seen;
    _feed = feedText(document);
    _testMode = document->testMode();
    _globalIndex = document->globalIndex();
    _shared->snapshot = SiteCopy::take(*document);
    // Drawing the UUIDs for the snapshot is no change of the document.
    if (const std::optional<quint64> after = document->changesSeen())
        _changesSeen = *after;
    const int count = threads();
    // Each page held for the main thread is a whole page's text (a menu of
    // every page makes it large): one page ahead per thread, and one being
    // made, keep the main thread supplied.
    _shared->ahead = static_cast<std::size_t>(count + 1);
    _shared->next = first;
    _shared->reached = first;
    _shared->copying = count;
    for (int t = 0; t < count; ++t) {
        ++threadsAtWork;
        try {
            _shared->threads.emplace_back([shared = _shared] { shared->work(); });
        } catch (...) {
            --threadsAtWork;
            throw;
        }
    }
}

void PageMaker::stop()
{
    {
        std::lock_guard lock(_shared->mutex);
        _shared->stopping = true;
        _shared->changed.notify_all();
    }
    for (std::thread& thread : _shared->threads)
        thread.join();
    _shared->threads.clear();
}

bool PageMaker::queueMadeAhead(XmlSite& site, std::size_t index, const QString& page, const QString& sheet)
{
    if (_abandoned || index >= _shared->pages.size() || _shared->pages[index].page != page || _shared->pages[index].sheet != sheet)
        return false;
    if (!_started) {
        // The copy is taken as the first page is written: this one is the
        // main thread's, the threads begin with the next.
        start(site, index + 1);
        return false;
    }
    if (!stillTheSame(site)) {
        _abandoned = true;
        stop();
        return false;
    }
    PageScript made;
    {
        std::unique_lock lock(_shared->mutex);
        _shared->reached = std::max(_shared->reached, index + 1);
        _shared->changed.notify_all();
        if (_shared->slots[index] == Shared::Slot::Open) {
            _shared->slots[index] = Shared::Slot::Taken;
            return false;
        }
        _shared->changed.wait(lock, [&] { return _shared->slots[index] != Shared::Slot::Claimed; });
        const bool written = _shared->slots[index] == Shared::Slot::Made;
        _shared->slots[index] = Shared::Slot::Taken;
        if (!written)
            return false;
        made = std::move(_shared->made[index]);
        _shared->made[index] = PageScript();
    }
    queueHTMLScript(site, made);
    ++_madeAhead;
    ++madeAheadInAll;
    return true;
}

void PageMaker::notePageMadeHere(XmlSite& site, std::size_t index)
{
    if (!_started || _abandoned)
        return;
    // Writing a page changes the model's own state (held back from the
    // document's count); that is no change the copies miss.
    DocumentBase* document = site.document();
    if (const std::optional<quint64> seen = document ? document->changesSeen() : std::nullopt)
        _changesSeen = *seen;
    std::lock_guard lock(_shared->mutex);
    _shared->reached = std::max(_shared->reached, index + 1);
    _shared->changed.notify_all();
}

} // namespace lq
