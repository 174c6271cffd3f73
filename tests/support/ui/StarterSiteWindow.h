#pragma once
// The starter site in a document window whose panels note what they are
// asked; every save is a second later than the one before, so that each
// makes a snapshot of its own.
#include "ui/app/MyDocumentWindow.h"
#include "document/MyDocument.h"
#include "model/site/XmlAlbum.h"
#include "support/ui/RecordingEditorPanel.h"
#include "support/ui/ScriptedModalHandler.h"

#include <QDateTime>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

class StarterSiteWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(work.isValid());
        folder = work.filePath(QStringLiteral("Site.lqxl"));
        document.setNow([this] { return clock = clock.addSecs(1); });
        ASSERT_TRUE(document.newDocument(folder)) << document.lastError().toStdString();
        window = std::make_unique<MyDocumentWindow>(document, nullptr);
    }

    // The page of the site with that name, or none.
    std::shared_ptr<XmlAlbum> page(const QString& name)
    {
        for (const XmlBasePtr& item : document.webItems()) {
            if (item->name() == name)
                return std::dynamic_pointer_cast<XmlAlbum>(item);
        }
        return nullptr;
    }
    RecordingEditorPanel* panel(EditorKind kind) { return RecordingEditorPanel::of(*window, kind); }
    // The snapshot the last save made.
    QString newestSnapshot() const
    {
        return folder + QStringLiteral("/revert/") + MyDocument::snapshotName(clock) + QStringLiteral(".qvzip");
    }

    QTemporaryDir work;
    QString folder;
    ScopedModalHandler modal;
    ScopedRecordingPanels panels;
    QDateTime clock {QDate(2026, 12, 7), QTime(23, 21, 16)};
    MyDocument document;
    std::unique_ptr<MyDocumentWindow> window;
};
