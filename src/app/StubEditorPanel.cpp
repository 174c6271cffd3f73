#include "app/StubEditorPanel.h"

#include <QLabel>
#include <QVBoxLayout>

namespace {

QString kindName(EditorKind kind)
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

} // namespace

StubEditorPanel::StubEditorPanel(EditorKind kind, QWidget* parent)
    : QWidget(parent)
{
    setObjectName(kindName(kind));
    auto* layout = new QVBoxLayout(this);
    auto* label = new QLabel(kindName(kind), this);
    label->setAlignment(Qt::AlignCenter);
    layout->addWidget(label);
}

int StubEditorPanel::getMenuItemState(int tag)
{
    Q_UNUSED(tag);
    return 0;
}

