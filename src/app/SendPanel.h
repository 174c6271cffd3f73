#pragma once
#include <QFrame>

class QLabel;
class QProgressBar;
class QPushButton;
class SendController;

// The uploader's panel in the document window: its title, the two status
// lines, the progress, Cancel and Retry. It shows while the uploader says so.
class SendPanel : public QFrame {
    Q_OBJECT
public:
    SendPanel(SendController& sender, QWidget* parent = nullptr);

    QLabel* status1() const { return _status1; }
    QLabel* status2() const { return _status2; }
    QPushButton* retryButton() const { return _retry; }
    QPushButton* cancelButton() const { return _cancel; }

private:
    void display();

    SendController& _sender;
    QLabel* _title;
    QLabel* _status1;
    QLabel* _status2;
    QProgressBar* _progress;
    QPushButton* _cancel;
    QPushButton* _retry;
};
