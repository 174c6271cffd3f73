#pragma once
// A stand-in editor panel that remembers the protocol calls it received,
// and a scope in which every document window makes its panels of this kind.
#include "ui/app/MyDocumentWindow.h"
#include "ui/editors/EditorPanel.h"
#include "model/core/XmlBase.h"
#include "support/ScopedServices.h"

#include <QStringList>
#include <QWidget>

class RecordingEditorPanel : public QWidget, public EditorPanel {
public:
    // Every kind of panel records alike.
    explicit RecordingEditorPanel(EditorKind) {}

    QWidget* superView() override { return this; }

    void setDocument(EditorHost* document) override
    {
        _document = document;
        _calls.append(QStringLiteral("setDocument"));
    }
    void loadEditor() override { _calls.append(QStringLiteral("loadEditor")); }
    void saveEditor() override { _calls.append(QStringLiteral("saveEditor")); }
    void refreshEditor() override { _calls.append(QStringLiteral("refreshEditor")); }
    void enableRTL(int flag) override { _calls.append(QStringLiteral("enableRTL:") + QString::number(flag)); }
    void clearLastPhotoUUID() override { _calls.append(QStringLiteral("clearLastPhotoUUID")); }
    void selectObject(XmlBase* object) override { _calls.append(QStringLiteral("selectObject:") + (object ? object->UUID() : QString())); }
    void reloadData() override { _calls.append(QStringLiteral("reloadData")); }
    int getMenuItemState(int tag) override { return tag == checkedTag ? 1 : menuState; }
    void menuClicked(int tag) override { _calls.append(QStringLiteral("menuClicked:") + QString::number(tag)); }
    void addGroup() override { _calls.append(QStringLiteral("addGroup")); }
    void addAlbum() override { _calls.append(QStringLiteral("addAlbum")); }

    // What getMenuItemState answers: for every tag, and 1 for the checked one.
    int menuState = 0;
    int checkedTag = 0;

    EditorHost* document() const { return _document; }
    // The protocol calls received, in order ("setDocument", "loadEditor"...).
    const QStringList& calls() const { return _calls; }

    // The recording panel of that kind in the window.
    static RecordingEditorPanel* of(MyDocumentWindow& window, EditorKind kind) { return dynamic_cast<RecordingEditorPanel*>(window.panel(kind)); }

private:
    EditorHost* _document = nullptr;
    QStringList _calls;
};

// While it lives, document windows make recording panels.
class ScopedRecordingPanels {
    const ScopedServices _panels { [](lq::Services& services) {
        services.panelFactory = [](EditorKind kind) { return std::make_unique<RecordingEditorPanel>(kind); };
    } };
};
