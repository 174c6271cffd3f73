#pragma once
// A new site document in a temporary folder, made from the shipped starter
// and opened in its window, with an album page "Holiday" first on the home
// page (the only one, unless the starter's own pages are kept) and real JPEG
// pictures outside the document to import from.
#include "ui/app/MyDocumentWindow.h"
#include "document/MyDocument.h"
#include "model/site/XmlAlbum.h"
#include "model/site/XmlHomePage.h"
#include "model/site/XmlPhoto.h"
#include "model/site/XmlSite.h"
#include "platform/UserDefaults.h"
#include "support/EventLoop.h"
#include "support/TestFiles.h"
#include "support/TestPictures.h"
#include "support/ui/ScriptedModalHandler.h"

#include <QSettings>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

class SiteWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(work.isValid());
        ASSERT_TRUE(sources.isValid());
        // A new site as the program makes it, from the starter it ships.
        ASSERT_TRUE(document.newDocument(work.filePath(QStringLiteral("Site.lqxl")))) << document.lastError().toStdString();
        if (!keepStarterPages) {
            XmlHomePage* home = document.site()->homepage();
            for (const auto& page : home->childrenOfType<XmlAlbum>())
                home->removeChild(page.get());
        }
        album = XmlAlbum::create();
        album->setName(QStringLiteral("Holiday"));
        document.site()->homepage()->insertChildAtIndex(album, 0);
        document.clearChangeCount();
        defaults = std::make_unique<lq::UserDefaults>(
            std::make_unique<QSettings>(work.filePath(QStringLiteral("prefs.conf")), QSettings::IniFormat));
        window = std::make_unique<MyDocumentWindow>(document, defaults.get());
    }

    // A JPEG picture of one colour outside the document; its path.
    QString sourcePicture(const QString& name, const QColor& colour, QSize size = QSize(160, 120))
    {
        const QString path = sources.filePath(name);
        writeAll(path, jpegBytes(size.width(), size.height(), colour, 90));
        return path;
    }
    // A photo imported from such a picture at the end of the page, as the
    // import step does; its caption is the file's name.
    std::shared_ptr<XmlPhoto> addPhoto(XmlAlbum& page, const QString& name, const QColor& colour, QSize size = QSize(160, 120))
    {
        return page.importPhotoIndexCaption(sourcePicture(name + QStringLiteral(".jpg"), colour, size), -1, QString());
    }
    // Runs the document's processor queue until it is empty.
    void drainQueue()
    {
        ASSERT_TRUE(processEventsUntil([&] { return document.queue().isIdle(); }));
    }

    // The starter's own pages stay after "Holiday" when a test sets this
    // before SetUp; otherwise "Holiday" is the home page's only page.
    bool keepStarterPages = false;
    QTemporaryDir work;
    QTemporaryDir sources;
    ScopedModalHandler modal;
    MyDocument document;
    std::shared_ptr<XmlAlbum> album;
    std::unique_ptr<lq::UserDefaults> defaults;
    std::unique_ptr<MyDocumentWindow> window;
};
