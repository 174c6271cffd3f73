#pragma once
// A site document open in its window with the real site navigator, trash,
// files and iPhoto panes; the other panels record what they are asked (so a
// test sees how often the window loaded one). The navigator is shown as a
// user sees it beside the editor area.
#include "ui/editors/QZFiles.h"
#include "ui/editors/QZNavViewer.h"
#include "ui/editors/QZTrash.h"
#include "ui/editors/iphoto/QZiPhoto.h"
#include "model/files/XmlFiles.h"
#include "model/site/XmlTrash.h"
#include "support/ScopedServices.h"
#include "support/ui/CheckedModels.h"
#include "support/ui/DropEvents.h"
#include "support/ui/OutlineRows.h"
#include "support/ui/RecordingEditorPanel.h"
#include "support/ui/SiteWindow.h"

#include <QItemSelectionModel>

// While it lives, windows make the real navigator and trash, files and
// iPhoto panes, and recording panels of every other kind.
class ScopedSitePanes {
    const ScopedServices _panels { [](lq::Services& services) {
        services.panelFactory = [](EditorKind kind) -> std::unique_ptr<EditorPanel> {
            switch (kind) {
            case EditorKind::Navigator:
            case EditorKind::Trash:
            case EditorKind::Files:
            case EditorKind::IPhoto: return nullptr;
            default: return std::make_unique<RecordingEditorPanel>(kind);
            }
        };
    } };
};

class SitePanesTest : public SiteWindowTest {
protected:
    void SetUp() override
    {
        SiteWindowTest::SetUp();
        window->resize(1000, 720);
        window->show();
        // Every table and outline of the window and its panes checks itself.
        models.watch(window.get());
        for (EditorKind kind : { EditorKind::Navigator, EditorKind::Trash, EditorKind::Files, EditorKind::IPhoto })
            models.watch(dynamic_cast<QObject*>(window->panel(kind)));
    }
    void TearDown() override
    {
        EXPECT_TRUE(CheckedModels::failures().isEmpty()) << CheckedModels::failures().join(QLatin1Char('\n')).toStdString();
        SiteWindowTest::TearDown();
    }

    QZNavViewer& navigator() const { return *dynamic_cast<QZNavViewer*>(window->panel(EditorKind::Navigator)); }
    QZTrash& trashPane() const { return *dynamic_cast<QZTrash*>(window->panel(EditorKind::Trash)); }
    QZFiles& filesPane() const { return *dynamic_cast<QZFiles*>(window->panel(EditorKind::Files)); }
    QZiPhoto& iPhotoPane() const { return *dynamic_cast<QZiPhoto*>(window->panel(EditorKind::IPhoto)); }
    RecordingEditorPanel* recording(EditorKind kind) const { return RecordingEditorPanel::of(*window, kind); }
    XmlOutlineView& navOutline() const { return *navigator().outline(); }

    XmlSite& site() { return *document.site(); }
    XmlHomePage& home() { return *document.site()->homepage(); }
    XmlTrash& trash() { return *document.site()->trash(); }
    XmlFiles& files() { return *document.site()->files(); }

    // Clicks the element's row in the outline, as a user chooses it.
    void choose(XmlOutlineView& outline, XmlBase* element)
    {
        outline.expandObject(element->parent());
        const QModelIndex row = rowOf(outline, element);
        ASSERT_TRUE(row.isValid()) << element->name().toStdString();
        outline.selectionModel()->setCurrentIndex(row, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    }
    // Files dropped from a file manager at the point of the outline.
    DragAnswer dropFiles(XmlOutlineView& outline, const QStringList& paths, QPoint at)
    {
        const std::unique_ptr<QMimeData> data = fileManagerData(paths);
        return dragAndDrop(outline.viewport(), data.get(), at, Qt::CopyAction | Qt::MoveAction);
    }
    // An element dragged from an element outline (this one or another) and
    // dropped at the point.
    DragAnswer dropElement(XmlOutlineView& outline, const XmlBase& dragged, QPoint at)
    {
        const std::unique_ptr<QMimeData> data = dragTextData(dragged.UUID());
        return dragAndDrop(outline.viewport(), data.get(), at, Qt::MoveAction | Qt::CopyAction);
    }
    int loads(EditorKind kind) const { return static_cast<int>(recording(kind)->calls().count(QStringLiteral("loadEditor"))); }

    ScopedSitePanes panes;
    CheckedModels models;
};
