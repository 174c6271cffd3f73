#include "ui/app/NotImportedSheet.h"

#include "ui/widgets/ModalHandler.h"
#include "ui/widgets/ScreenText.h"

#include <QDialogButtonBox>
#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace {

enum Column { FileColumn = 0, FaultColumn = 1, ReasonColumn = 2 };

} // namespace

NotImportedSheet::NotImportedSheet(QWidget* window, const QList<lq::RefusedPicture>& refused, int given)
    : QDialog(window)
{
    setObjectName(QStringLiteral("NotImportedSheet"));
    setWindowTitle(QStringLiteral("Some files were not imported"));
    auto* column = new QVBoxLayout(this);

    _heading = lq::plainLabel(summary(static_cast<int>(refused.size()), given), this);
    _heading->setWordWrap(true);
    column->addWidget(_heading);

    _list = new QTreeWidget(this);
    _list->setObjectName(QStringLiteral("notImportedList"));
    _list->setRootIsDecorated(false);
    _list->setSelectionMode(QAbstractItemView::NoSelection);
    _list->setFocusPolicy(Qt::NoFocus);
    _list->setHeaderLabels({ QStringLiteral("File"), QStringLiteral("Problem"), QStringLiteral("Why") });
    for (const lq::RefusedPicture& file : refused) {
        auto* row = new QTreeWidgetItem(_list);
        row->setText(FileColumn, QFileInfo(file.path).fileName());
        row->setText(FaultColumn, lq::pictureFaultName(file.refusal.fault));
        row->setText(ReasonColumn, file.refusal.reason);
        for (int each = FileColumn; each <= ReasonColumn; ++each)
            row->setToolTip(each, lq::plainToolTip(file.path));
    }
    _list->header()->setStretchLastSection(true);
    int wanted = 2 * _list->frameWidth() + 24;
    for (int each = FileColumn; each <= ReasonColumn; ++each) {
        _list->resizeColumnToContents(each);
        wanted += _list->columnWidth(each);
    }
    column->addWidget(_list, 1);

    // Only a whole picture comes in: the user needs another copy of a damaged one.
    const bool damaged = std::any_of(refused.begin(), refused.end(),
        [](const lq::RefusedPicture& file) { return file.refusal.fault == lq::PictureFault::Damaged; });
    if (damaged) {
        auto* note = lq::plainLabel(QStringLiteral("A damaged picture is never taken in part: import a whole copy of it."), this);
        note->setObjectName(QStringLiteral("damagedNote"));
        note->setWordWrap(true);
        column->addWidget(note);
    }

    auto* buttons = new QDialogButtonBox(this);
    _ok = buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
    _ok->setDefault(true);
    _ok->setFocus();
    connect(buttons, &QDialogButtonBox::accepted, this, [this] { done(1); });
    column->addWidget(buttons);
    // Wide enough for every row read in full, within reason; the rows'
    // tips hold the whole paths.
    resize(std::clamp(wanted + 2 * column->contentsMargins().left(), 520, 1000), 320);
}

void NotImportedSheet::run(QWidget* window, const QList<lq::RefusedPicture>& refused, int given)
{
    NotImportedSheet sheet(window, refused, given);
    lq::modalHandler().runSheet(&sheet);
}

QString NotImportedSheet::summary(int refused, int given)
{
    if (given <= 1 && refused == 1)
        return QStringLiteral("The file was not imported:");
    if (refused >= given)
        return QStringLiteral("None of the %1 files was imported:").arg(given);
    return QStringLiteral("%1 of the %2 files %3 not imported:").arg(QString::number(refused), QString::number(given),
        refused == 1 ? QStringLiteral("was") : QStringLiteral("were"));
}
