#include "app/SendPanel.h"

#include "platform/ExceptionFrame.h"
#include "publish/SendController.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
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
    _progress = new QProgressBar(this);
    layout->addWidget(_title);
    layout->addWidget(_status1);
    layout->addWidget(_status2);
    layout->addWidget(_progress);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    _retry = new QPushButton(QStringLiteral("Retry"), this);
    _cancel = new QPushButton(QStringLiteral("Cancel"), this);
    buttons->addWidget(_retry);
    buttons->addWidget(_cancel);
    layout->addLayout(buttons);
    connect(_cancel, &QPushButton::clicked, this, [this] { lq::uiFrame(this, "cancelButton:", [this] { _sender.cancel(); }); });
    connect(_retry, &QPushButton::clicked, this, [this] { lq::uiFrame(this, "retryFTP:", [this] { _sender.retryFTP(); }); });
    connect(&_sender, &SendController::changed, this, [this] { display(); });
    connect(&_sender, &SendController::ended, this, [this] { display(); });
    display();
}

void SendPanel::display()
{
    _title->setText(_sender.title());
    _status1->setText(_sender.status1());
    _status2->setText(_sender.status2());
    _cancel->setText(_sender.cancelTitle());
    _retry->setVisible(_sender.retryVisible());
    if (_sender.progressIndeterminate()) {
        _progress->setRange(0, 0);
    } else {
        _progress->setRange(0, 100);
        _progress->setValue(_sender.progress());
    }
    setVisible(_sender.panelVisible());
}
