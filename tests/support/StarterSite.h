#pragma once

// A site document made anew from the starter archive in a temporary folder,
// the parts whole-site tests add to it, and its build through the document's
// own processor queue.
#include "document/MyDocument.h"
#include "model/feed/XmlRSS.h"
#include "model/site/XmlAlbum.h"
#include "model/site/XmlGroup.h"
#include "model/site/XmlHomePage.h"
#include "model/site/XmlSite.h"
#include "theme/XmlTheme.h"
#include "pipeline/ProcessorQueue.h"
#include "support/TestFiles.h"
#include "templates/XmlStyleSheet.h"

#include <QDir>
#include <QDirIterator>
#include <QMap>
#include <QTemporaryDir>

#include <gtest/gtest.h>

class StarterSiteTest : public ::testing::Test {
protected:
    // The document folder's name (it may hold placeholders such as "%1").
    explicit StarterSiteTest(const QString& folderName)
        : _folderName(folderName)
    {
    }

    void SetUp() override
    {
        ASSERT_TRUE(work.isValid());
        folder = work.filePath(_folderName);
        ASSERT_TRUE(document.newDocument(folder)) << document.lastError().toStdString();
    }

    XmlSite& site() { return *document.site(); }
    XmlHomePage& home() { return *site().homepage(); }
    // A path in the generated site, or the generated site's folder itself.
    QString homepage(const QString& name = QString()) const { return folder + QStringLiteral("/homepage/") + name; }

    // The theme's template of the number, or nothing.
    XmlStyleSheet* templateNumbered(int number)
    {
        for (const XmlBasePtr& child : document.theme()->children())
            if (auto* sheet = XmlStyleSheet::cast(child.get()); sheet && sheet->templateSeqNum() == number)
                return sheet;
        return nullptr;
    }

    // A new page at the end of the parent (the home page or a group) on the
    // template of the number; named when a name is given.
    std::shared_ptr<XmlAlbum> addPage(XmlBase& parent, int templateNumber, const QString& name = QString())
    {
        auto page = XmlAlbum::create();
        parent.addChild(page);
        page->newDocument();
        if (!name.isNull())
            page->setName(name);
        page->setTemplate(templateNumbered(templateNumber));
        return page;
    }

    // A new group at the end of the home page.
    std::shared_ptr<XmlGroup> addGroup()
    {
        auto group = XmlGroup::create();
        home().addChild(group);
        group->newDocument();
        return group;
    }

    // The feed, published with the title and link.
    XmlRSS& publishFeed(const QString& title, const QString& link)
    {
        XmlRSS& feed = *document.rss();
        feed.setPublish(true);
        feed.setTitle(title);
        feed.setLink(link);
        return feed;
    }

    // Runs the document's queue until it has run every script.
    void runQueue()
    {
        for (int turn = 0; turn < 100000 && !document.queue().processors().isEmpty(); ++turn)
            document.queue().processor();
        document.queue().stopProcessor();
    }

    // Every file of the generated site (hidden ones included) with its bytes.
    QMap<QString, QByteArray> generated() const
    {
        QMap<QString, QByteArray> files;
        const QString root = homepage();
        QDirIterator it(root, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString path = it.next();
            files.insert(QDir(root).relativeFilePath(path), readAll(path));
        }
        return files;
    }

    QTemporaryDir work;
    QString folder;
    MyDocument document;

private:
    QString _folderName;
};
