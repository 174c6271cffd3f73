#pragma once
#include "editors/EditorPanel.h"

#include <QWidget>

// A panel that only names its kind: it stands in for the editors that are
// not written yet.
class StubEditorPanel : public QWidget, public EditorPanel {
    Q_OBJECT
public:
    explicit StubEditorPanel(EditorKind kind, QWidget* parent = nullptr);

    void setDocument(EditorHost* document) override { Q_UNUSED(document); }
    void loadEditor() override {}
    void saveEditor() override {}
    void refreshEditor() override {}
    QWidget* superView() override { return this; }
    int getMenuItemState(int tag) override;
};
