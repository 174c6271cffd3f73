#pragma once

// A site document whose Activity log and scripts go through a real processor
// queue, as in the site document, and a site in a temporary folder that it
// documents.
#include "pipeline/ProcessorQueue.h"
#include "pipeline/XmlProcessor.h"
#include "support/EventLoop.h"
#include "support/SiteInDocument.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

class QueueDocument : public FakeDocument {
public:
    void addActivityString(const QString& line) override { queue.addActivityString(line); }
    void startProcessor(const std::shared_ptr<XmlProcessor>& processor) override { queue.startProcessor(processor); }
    void startProcessorNext(const std::shared_ptr<XmlProcessor>& processor) override { queue.startProcessorNext(processor); }
    // Runs slices until the queue has nothing left.
    void drain() { ASSERT_TRUE(processEventsUntil([&] { return queue.isIdle(); })); }
    ProcessorQueue queue { this };
};

// The processor of a script text, or nothing.
inline std::shared_ptr<XmlProcessor> processorScript(const QString& text)
{
    return std::dynamic_pointer_cast<XmlProcessor>(XmlBase::createWithXmlRootDir(text, QString()));
}

// A site in a temporary folder (whose name holds placeholders) with an album
// page and a "homepage" folder, documented by a queue document.
class SiteWithQueueTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(folder.isValid());
        site->newDocument();
        site->setRootDir(folder.path());
        document.siteRoot = site.get();
        site->setDocument(&document);
        site->homepage()->addChild(album);
        ASSERT_TRUE(QDir(folder.path()).mkpath(QStringLiteral("pictures")));
        ASSERT_TRUE(QDir(folder.path()).mkpath(QStringLiteral("homepage/pictures")));
    }
    void TearDown() override { site->setDocument(nullptr); }

    QString homepage(const QString& name) const { return folder.path() + QStringLiteral("/homepage/") + name; }

    QTemporaryDir folder { QDir::tempPath() + QStringLiteral("/lq %1 %2-XXXXXX") };
    QueueDocument document;
    std::shared_ptr<XmlSite> site = XmlSite::create();
    std::shared_ptr<XmlAlbum> album = XmlAlbum::create();
};
