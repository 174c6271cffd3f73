#include "app/SendPanel.h"

#include "platform/ExceptionFrame.h"
#include "platform/Workspace.h"
#include "publish/SendController.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollBar>
#include <QUrl>
#include <QVBoxLayout>

SendPanel::SendPanel(SendController& sender, QWidget* parent)
    : QFrame(parent)
    , _sender(sender)
{
    setFrameShape(QFrame::StyledPanel);
    auto* layout = new QVBoxLayout(this);
    _title = new QLabel(this);
    QFont bold = _title->font();
    bold.setBold(true);
    _title->setFont(bold);
    _status1 = new QLabel(this);
    _status2 = new QLabel(this);
    for (QLabel* line : {_status1, _status2}) {
        line->setWordWrap(true);
        line->setTextInteractionFlags(Qt::TextSelectableByMouse);
    }
    _progress = new QProgressBar(this);
    layout->addWidget(_title);
    layout->addWidget(_status1);
    layout->addWidget(_status2);
    layout->addWidget(_progress);
    auto* buttons = new QHBoxLayout;
    _details = new QPushButton(QStringLiteral("Details"), this);
    _details->setCheckable(true);
    buttons->addWidget(_details);
    buttons->addStretch();
    _open = new QPushButton(QStringLiteral("Open in browser"), this);
    _retry = new QPushButton(QStringLiteral("Retry"), this);
    _cancel = new QPushButton(QStringLiteral("Cancel"), this);
    buttons->addWidget(_open);
    buttons->addWidget(_retry);
    buttons->addWidget(_cancel);
    layout->addLayout(buttons);
    _debug = new QPlainTextEdit(this);
    _debug->setReadOnly(true);
    _debug->setMinimumHeight(90);
    _debug->setMaximumHeight(180);
    layout->addWidget(_debug);
    connect(_cancel, &QPushButton::clicked, this, [this] { lq::uiFrame(this, "cancelButton:", [this] { _sender.cancel(); }); });
    connect(_retry, &QPushButton::clicked, this, [this] { lq::uiFrame(this, "retryFTP:", [this] { _sender.retryFTP(); }); });
    connect(_open, &QPushButton::clicked, this, [this] {
        lq::uiFrame(this, "openInBrowser:", [this] { lq::openURL(QUrl(_sender.resultAddress())); });
    });
    connect(_details, &QPushButton::toggled, this, [this](bool open) { _sender.debugSetState(open); });
    connect(&_sender, &SendController::changed, this, [this] { display(); });
    connect(&_sender, &SendController::ended, this, [this] { display(); });
    display();
}

void SendPanel::display()
{
    _title->setText(_sender.title());
    _status1->setText(_sender.status1());
    _status2->setText(_sender.status2());
    _status2->setVisible(!_sender.status2().isEmpty());
    _cancel->setText(_sender.cancelTitle());
    _retry->setVisible(_sender.retryVisible());
    _open->setVisible(_sender.resultShown() && !_sender.resultAddress().isEmpty());
    if (_sender.progressIndeterminate()) {
        _progress->setRange(0, 0);
    } else {
        _progress->setRange(0, 100);
        _progress->setValue(_sender.progress());
    }
    {
        const QSignalBlocker quiet(_details);
        _details->setChecked(_sender.debugOpen());
    }
    _debug->setVisible(_sender.debugOpen());
    if (_sender.debugOpen() && _debug->toPlainText() != _sender.debugLog()) {
        _debug->setPlainText(_sender.debugLog());
        _debug->verticalScrollBar()->setValue(_debug->verticalScrollBar()->maximum());
    }
    setVisible(_sender.panelVisible());
}
