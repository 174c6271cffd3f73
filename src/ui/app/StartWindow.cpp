#include "ui/app/StartWindow.h"

#include "ui/app/MyDocumentController.h"
#include "platform/ExceptionFrame.h"
#include "ui/widgets/ActionConnection.h"
#include "ui/widgets/MyButton.h"
#include "ui/widgets/MyImageView.h"
#include "ui/widgets/MyLabel.h"
#include "ui/widgets/MyPopUpButton.h"
#include "ui/widgets/ScreenText.h"

#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QShortcut>
#include <QVBoxLayout>

namespace {
// Where a recent website's item keeps its path; its tool tip shows the path.
constexpr int recentPathRole = Qt::UserRole + 1;
} // namespace

StartWindow::StartWindow(MyDocumentController* controller, QWidget* parent)
    : QWidget(parent, Qt::Window)
    , _controller(controller)
    , _recent(new MyPopUpButton(52, this))
{
    setWindowTitle(QStringLiteral("Lumenquill"));
    auto* layout = new QVBoxLayout(this);

    auto* header = new QHBoxLayout;
    auto* logo = new MyImageView(2000, this);
    logo->setFixedSize(72, 72);
    logo->localize();
    header->addWidget(logo);
    auto* title = new MyLabel(0, QStringLiteral("<b>Lumenquill</b><br>Design your website and publish it."), this);
    title->setTextFormat(Qt::RichText);
    header->addWidget(title, 1);
    layout->addLayout(header);

    auto* buttons = new QGridLayout;
    const struct {
        int tag;
        const char* title;
        int row;
        int column;
    } commands[] = {
        {50, "New Website…", 0, 0},
        {51, "Open…", 0, 1},
        {53, "Preferences…", 1, 0},
        {55, "Help", 1, 1},
        {57, "Report a Bug…", 2, 0},
        {56, "Check for Updates…", 2, 1},
    };
    for (const auto& command : commands) {
        auto* button = new MyButton(command.tag, QString::fromUtf8(command.title), this);
        button->localize();
        const int tag = command.tag;
        lq::connectAction(button, &QPushButton::clicked, _controller, "menuClicked:", [this, tag] { _controller->menuClicked(tag); });
        buttons->addWidget(button, command.row, command.column);
    }
    layout->addLayout(buttons);

    auto* recentRow = new QHBoxLayout;
    recentRow->addWidget(new MyLabel(0, QStringLiteral("Recent:"), this));
    recentRow->addWidget(_recent, 1);
    layout->addLayout(recentRow);
    lq::connectAction(_recent, &QComboBox::activated, _controller, "openRecent:", [this] {
        const QString path = _recent->currentData(recentPathRole).toString();
        if (!path.isEmpty())
            _controller->openDocumentAtPath(path);
    });
    connect(_controller, &MyDocumentController::recentDocumentsChanged, this, &StartWindow::reloadRecent);
    reloadRecent();
    setMinimumWidth(380);
    connect(new QShortcut(QKeySequence::Quit, this), &QShortcut::activated, _controller, [this] { _controller->terminate(); });
}

void StartWindow::reloadRecent()
{
    _recent->clear();
    const QStringList recent = _controller->recentDocuments();
    _recent->setEnabled(!recent.isEmpty());
    if (recent.isEmpty()) {
        _recent->addItemWithTag(QStringLiteral("No recent websites"), -1);
        return;
    }
    int tag = 0;
    for (const QString& path : recent) {
        _recent->addItemWithTag(QFileInfo(path).completeBaseName(), tag++);
        _recent->setItemData(_recent->count() - 1, path, recentPathRole);
        _recent->setItemData(_recent->count() - 1, lq::plainToolTip(path), Qt::ToolTipRole);
    }
}
