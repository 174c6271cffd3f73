#pragma once
#include <QFrame>

class QLabel;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class SendController;

// The uploader's panel in the document window: its title, the two status
// lines, the progress, Cancel (Close once done) and Retry, "Open in
// browser" after a publication that went through, and the debug log of the
// tools' own talk behind "Details". It shows while the uploader says so.
class SendPanel : public QFrame {
    Q_OBJECT
public:
    SendPanel(SendController& sender, QWidget* parent = nullptr);

    QLabel* status1() const { return _status1; }
    QLabel* status2() const { return _status2; }
    QPushButton* retryButton() const { return _retry; }
    QPushButton* cancelButton() const { return _cancel; }
    QPushButton* openButton() const { return _open; }
    QPushButton* detailsButton() const { return _details; }
    QPlainTextEdit* debugView() const { return _debug; }

private:
    void display();

    SendController& _sender;
    QLabel* _title;
    QLabel* _status1;
    QLabel* _status2;
    QProgressBar* _progress;
    QPushButton* _details;
    QPushButton* _open;
    QPushButton* _cancel;
    QPushButton* _retry;
    QPlainTextEdit* _debug;
};
