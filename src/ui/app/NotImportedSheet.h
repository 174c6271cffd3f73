#pragma once
#include "platform/ImageFiles.h"

#include <QDialog>
#include <QList>

class QLabel;
class QPushButton;
class QTreeWidget;

// The sheet that tells, once an import of photos has ended, which of the
// files it was given were left out and why: one row per file (its name, and
// the whole path as the row's tip) with the kind of fault and the reason.
// Nothing is left to decide, so its one button, OK, is the default: Return,
// Escape and the button all close it.
class NotImportedSheet : public QDialog {
    Q_OBJECT
public:
    NotImportedSheet(QWidget* window, const QList<lq::RefusedPicture>& refused, int given);

    // Shows the sheet on the window through the modal handler and waits
    // until the user closes it.
    static void run(QWidget* window, const QList<lq::RefusedPicture>& refused, int given);

    // "2 of the 5 files were not imported:" and the like.
    static QString summary(int refused, int given);

    QLabel* heading() const { return _heading; }
    QTreeWidget* list() const { return _list; }
    QPushButton* okButton() const { return _ok; }

private:
    QLabel* _heading = nullptr;
    QTreeWidget* _list = nullptr;
    QPushButton* _ok = nullptr;
};
