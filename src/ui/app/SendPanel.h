#pragma once
#include "publish/PublishObserver.h"

#include <QFrame>

class MyCancelButton;
class QLabel;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QShortcut;
class SendController;

// The uploader's panel in the document window: its title, the two status
// lines, the progress, Cancel (Close once done) and Retry, "Open in
// browser" after a publication that went through, and the debug log of the
// tools' own talk behind "Details". It shows what the uploader tells its
// observers, from the start of a run until Cancel or Close puts it away.
// While the site is built before it is sent, the window's keys go to the
// build's own Cancel (Return, Space or Escape stop the build): nothing is
// edited under a build that is reading the site. Escape anywhere in the
// window stops a run under way at any stage; a cancelled publication stays
// on the panel with its line (what arrived) until Close.
class SendPanel : public QFrame, public PublishObserver {
    Q_OBJECT
public:
    SendPanel(SendController& sender, QWidget* parent = nullptr);
    ~SendPanel() override;

    QLabel* status1() const { return _status1; }
    QLabel* status2() const { return _status2; }
    QProgressBar* progressBar() const { return _progress; }
    QPushButton* retryButton() const { return _retry; }
    QPushButton* cancelButton() const { return _cancel; }
    // The Cancel shown in its place while the site is built.
    MyCancelButton* buildCancelButton() const { return _stopBuild; }
    QPushButton* openButton() const { return _open; }
    QPushButton* detailsButton() const { return _details; }
    QPlainTextEdit* debugView() const { return _debug; }

    // What the uploader tells.
    void runStarted(const QString& title, bool test) override;
    void stageChanged(const QString& stage, const QString& detail) override;
    void progressChanged(int percent, bool indeterminate) override;
    void toolLine(const QString& line) override;
    void runEnded(const Ending& ending) override;
    void dismissed() override;

protected:
    // Return, Enter and Escape press the focused Cancel (or Close).
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void showDetails(bool open);
    void showToolTalk();
    // The build's Cancel while the uploader builds, the run's otherwise.
    void showCancel();

    SendController& _sender;
    QLabel* _title;
    QLabel* _status1;
    QLabel* _status2;
    QProgressBar* _progress;
    QPushButton* _details;
    QPushButton* _open;
    QPushButton* _cancel;
    MyCancelButton* _stopBuild;
    QPushButton* _retry;
    QPlainTextEdit* _debug;
    QShortcut* _escape = nullptr;
};
