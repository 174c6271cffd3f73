#pragma once

#include <QString>

#include <memory>
#include <vector>

class XmlSite;

namespace lq {

// Writes the HTML scripts of a build's pages ahead of the queue, on other
// cores, while the main thread runs the queue as it always does.
//
// Each thread works on a copy of the site of its own (SiteCopy), taken when
// the first page's generator step runs, so that the model is only ever read
// and changed on the main thread. The generator step of each page, when the
// queue reaches it, takes the script written ahead for its page and queues
// it exactly as if it had written it then; it writes the page itself when
// no thread has (yet) begun it, when the thread could not write it from its
// copy without asking more of the document than questions, or once the
// document changed since the copy was taken (an edit between two time
// slices, another site read, the feed or what the window shows changed):
// from then on every page is written on the main thread. So the queue's
// order, its slices, its Activity log and the bytes written stay as they
// are, and the pages written ahead are the ones the main thread would have
// written. Once a thread has come past the last page of the build that uses
// a template, the template of its copy lets its laid-out state go.
class PageMaker {
public:
    struct Page {
        QString page;  // the page's UUID
        QString sheet; // its template's UUID
    };

    // The pages of one build, in the order of their generator steps.
    explicit PageMaker(std::vector<Page> pages);
    // Stops the threads (a page under way is finished first) and drops
    // what they wrote.
    ~PageMaker();
    PageMaker(const PageMaker&) = delete;
    PageMaker& operator=(const PageMaker&) = delete;

    // The threads a build uses to write pages ahead: one, none on one core.
    // A build of fewer pages than the threads could share uses none.
    static int threads();
    // Sets the number of threads for the builds that follow (0: none, every
    // page written on the main thread; -1: as the cores allow).
    static void setThreads(int count);
    // Whether a build of that many pages writes pages ahead.
    static bool worthIt(std::size_t pages);

    // On the main thread, when the generator step of the page at that
    // index runs: queues the script written ahead for it on the site's
    // document and answers true; or answers false, and the step writes the
    // page itself.
    bool queueMadeAhead(XmlSite& site, std::size_t index, const QString& page, const QString& sheet);
    // On the main thread, after the step wrote the page at that index itself.
    void notePageMadeHere(XmlSite& site, std::size_t index);
    // How many pages were queued from scripts written ahead.
    int pagesMadeAhead() const { return _madeAhead; }
    // The pages queued from scripts written ahead, and the pages the
    // threads wrote (queued or not), by every maker of the program so far.
    static int pagesMadeAheadInAll();
    static int pagesWrittenAheadInAll();
    // The threads of every maker that have not ended yet, each holding its
    // copy of the site: none once every build has ended or was dropped.
    static int threadsAtWorkInAll();

private:
    struct Shared;
    bool stillTheSame(XmlSite& site) const;
    void start(XmlSite& site, std::size_t first);
    void stop();

    std::shared_ptr<Shared> _shared;
    bool _started = false;
    bool _abandoned = false;
    int _madeAhead = 0;
    // What the document was when the copy was taken (or the main thread
    // last wrote a page itself).
    XmlSite* _site = nullptr;
    const void* _theme = nullptr;
    quint64 _changesSeen = 0;
    QString _feed;
    bool _testMode = false;
    int _globalIndex = -1;
};

} // namespace lq
