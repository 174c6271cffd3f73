#pragma once
#include "editors/EditorPanel.h"

#include <QStringList>
#include <QWidget>

// A panel that only names its kind and remembers what it was asked: it
// stands in for the editors that are not written yet.
class StubEditorPanel : public QWidget, public EditorPanel {
    Q_OBJECT
public:
    explicit StubEditorPanel(EditorKind kind, QWidget* parent = nullptr);

    void setDocument(EditorHost* document) override;
    void loadEditor() override;
    void saveEditor() override;
    void refreshEditor() override;
    QWidget* superView() override { return this; }
    int getMenuItemState(int tag) override;
    void enableRTL(int flag) override { _calls.append(QStringLiteral("enableRTL:%1").arg(flag)); }
    void clearLastPhotoUUID() override { _calls.append(QStringLiteral("clearLastPhotoUUID")); }
    void selectObject(XmlBase* object) override;
    void reloadData() override { _calls.append(QStringLiteral("reloadData")); }

    EditorKind kind() const { return _kind; }
    EditorHost* document() const { return _document; }
    // The protocol calls received, in order ("setDocument", "loadEditor"...).
    const QStringList& calls() const { return _calls; }

    static QString kindName(EditorKind kind);

private:
    EditorKind _kind;
    EditorHost* _document = nullptr;
    QStringList _calls;
};
