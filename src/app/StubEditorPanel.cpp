#include "app/StubEditorPanel.h"

#include "model/core/XmlBase.h"

#include <QLabel>
#include <QVBoxLayout>

StubEditorPanel::StubEditorPanel(EditorKind kind, QWidget* parent)
    : QWidget(parent)
    , _kind(kind)
{
    setObjectName(kindName(kind));
    auto* layout = new QVBoxLayout(this);
    auto* label = new QLabel(kindName(kind), this);
    label->setAlignment(Qt::AlignCenter);
    layout->addWidget(label);
}

void StubEditorPanel::setDocument(EditorHost* document)
{
    _document = document;
    _calls.append(QStringLiteral("setDocument"));
}

void StubEditorPanel::loadEditor()
{
    _calls.append(QStringLiteral("loadEditor"));
}

void StubEditorPanel::saveEditor()
{
    _calls.append(QStringLiteral("saveEditor"));
}

void StubEditorPanel::refreshEditor()
{
    _calls.append(QStringLiteral("refreshEditor"));
}

int StubEditorPanel::getMenuItemState(int tag)
{
    Q_UNUSED(tag);
    return 0;
}

QString StubEditorPanel::kindName(EditorKind kind)
{
    switch (kind) {
    case EditorKind::Album: return QStringLiteral("Album page");
    case EditorKind::Group: return QStringLiteral("Group page");
    case EditorKind::PayPal: return QStringLiteral("PayPal");
    case EditorKind::Website: return QStringLiteral("Website");
    case EditorKind::ImageWell: return QStringLiteral("Photo");
    case EditorKind::Trash: return QStringLiteral("Trash");
    case EditorKind::Files: return QStringLiteral("Files");
    case EditorKind::IPhoto: return QStringLiteral("iPhoto");
    case EditorKind::Html: return QStringLiteral("Home page HTML");
    case EditorKind::Navigator: return QStringLiteral("Navigator");
    }
    return QString();
}

void StubEditorPanel::selectObject(XmlBase* object)
{
    _calls.append(QStringLiteral("selectObject:") + (object ? object->UUID() : QString()));
}
