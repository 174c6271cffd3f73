#include "ui/app/SendPanel.h"

#include "platform/ExceptionFrame.h"
#include "platform/Workspace.h"
#include "ui/widgets/ModalHandler.h"
#include "ui/widgets/MyCancelButton.h"
#include "publish/SendController.h"
#include "ui/widgets/ScreenText.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollBar>
#include <QShortcut>
#include <QUrl>
#include <QVBoxLayout>

SendPanel::SendPanel(SendController& sender, QWidget* parent)
    : QFrame(parent)
    , _sender(sender)
{
    setFrameShape(QFrame::StyledPanel);
    auto* layout = new QVBoxLayout(this);
    _title = lq::plainLabel(QString(), this);
    QFont bold = _title->font();
    bold.setBold(true);
    _title->setFont(bold);
    _status1 = lq::plainLabel(QString(), this);
    _status2 = lq::plainLabel(QString(), this);
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
    _stopBuild = new MyCancelButton(0, QStringLiteral("Cancel"), this);
    _stopBuild->hide();
    buttons->addWidget(_open);
    buttons->addWidget(_retry);
    buttons->addWidget(_cancel);
    buttons->addWidget(_stopBuild);
    layout->addLayout(buttons);
    _debug = new QPlainTextEdit(this);
    _debug->setReadOnly(true);
    _debug->setMinimumHeight(90);
    _debug->setMaximumHeight(180);
    layout->addWidget(_debug);
    _cancel->installEventFilter(this);
    connect(_cancel, &QPushButton::clicked, this, [this] { lq::uiFrame(this, "cancelButton:", [this] { _sender.cancel(); }); });
    connect(_stopBuild, &QPushButton::clicked, this, [this] { lq::uiFrame(this, "cancelExport:", [this] { _sender.cancel(); }); });
    connect(_retry, &QPushButton::clicked, this, [this] { lq::uiFrame(this, "retryFTP:", [this] { _sender.retryFTP(); }); });
    connect(_open, &QPushButton::clicked, this, [this] {
        lq::uiFrame(this, "openInBrowser:", [this] {
            const QUrl site(_sender.resultAddress());
            QString why;
            if (!lq::openURL(site, &why))
                lq::runAlert(window(), QStringLiteral("The Site Did Not Open"),
                    (site.isLocalFile() ? site.toLocalFile() : site.toString()) + QStringLiteral(" could not be opened in the browser. ") + why);
        });
    });
    // Escape stops a run wherever it is, whatever has the keyboard in the window.
    _escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    _escape->setContext(Qt::WindowShortcut);
    _escape->setEnabled(false);
    connect(_escape, &QShortcut::activated, this, [this] {
        lq::uiFrame(this, "cancelButton:", [this] {
            if (_sender.isRunning())
                _sender.cancel();
        });
    });
    connect(_details, &QPushButton::toggled, this, [this](bool open) { showDetails(open); });
    _sender.addObserver(this);
    // What the uploader holds when the panel is made.
    _title->setText(_sender.title());
    _cancel->setText(_sender.cancelTitle());
    stageChanged(_sender.status1(), _sender.status2());
    progressChanged(_sender.progress(), _sender.progressIndeterminate());
    _retry->setVisible(_sender.retryVisible());
    _open->setVisible(_sender.resultShown() && !_sender.resultAddress().isEmpty());
    showDetails(_sender.debugOpen());
    setVisible(_sender.panelVisible());
    showCancel();
}

SendPanel::~SendPanel()
{
    _sender.removeObserver(this);
}

void SendPanel::runStarted(const QString& title, bool test)
{
    _title->setText(title);
    _cancel->setText(_sender.cancelTitle());
    _retry->setVisible(false);
    _open->setVisible(false);
    // A connection test shows the tools' talk; a publication hides it.
    showDetails(test);
    setVisible(true);
    showCancel();
}

void SendPanel::stageChanged(const QString& stage, const QString& detail)
{
    _status1->setText(stage);
    _status2->setText(detail);
    _status2->setVisible(!detail.isEmpty());
    showCancel();
}

void SendPanel::progressChanged(int percent, bool indeterminate)
{
    if (indeterminate) {
        _progress->setRange(0, 0);
    } else {
        _progress->setRange(0, 100);
        _progress->setValue(percent);
    }
}

void SendPanel::toolLine(const QString&)
{
    showToolTalk();
}

void SendPanel::runEnded(const Ending& ending)
{
    showCancel();
    // A cancelled publication stays too, saying what arrived, until Close.
    if (ending.outcome == Outcome::Cancelled && !_sender.panelVisible()) {
        setVisible(false);
        return;
    }
    _title->setText(ending.title);
    stageChanged(ending.line, ending.detail);
    _cancel->setText(_sender.cancelTitle());
    _retry->setVisible(ending.outcome == Outcome::Failed && ending.retry);
    _open->setVisible(ending.outcome == Outcome::Published && !ending.address.isEmpty());
    showToolTalk();
    setVisible(true);
    // A failure waits for the user: Return or Escape puts it away.
    if (ending.outcome == Outcome::Failed && _cancel->isVisibleTo(this))
        _cancel->setFocus(Qt::OtherFocusReason);
}

bool SendPanel::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == _cancel && (event->type() == QEvent::ShortcutOverride || event->type() == QEvent::KeyPress)) {
        auto* key = static_cast<QKeyEvent*>(event);
        const bool pressing = key->modifiers() == Qt::NoModifier
            && (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter || key->key() == Qt::Key_Escape);
        if (pressing) {
            // The button takes the key before any shortcut of the window.
            event->accept();
            if (event->type() == QEvent::KeyPress)
                _cancel->click();
            return true;
        }
    }
    return QFrame::eventFilter(watched, event);
}

void SendPanel::dismissed()
{
    _escape->setEnabled(false);
    _open->setVisible(false);
    setVisible(false);
}

void SendPanel::showCancel()
{
    _escape->setEnabled(_sender.isRunning());
    const bool building = _sender.isBuilding();
    if (building == _stopBuild->isVisibleTo(this))
        return;
    _cancel->setVisible(!building);
    _stopBuild->setVisible(building);
    if (building)
        _stopBuild->setFocus(Qt::OtherFocusReason);
}

void SendPanel::showDetails(bool open)
{
    _sender.debugSetState(open);
    {
        const QSignalBlocker quiet(_details);
        _details->setChecked(open);
    }
    _debug->setVisible(open);
    showToolTalk();
}

void SendPanel::showToolTalk()
{
    if (!_debug->isVisibleTo(this) || _debug->toPlainText() == _sender.debugLog())
        return;
    _debug->setPlainText(_sender.debugLog());
    _debug->verticalScrollBar()->setValue(_debug->verticalScrollBar()->maximum());
}
