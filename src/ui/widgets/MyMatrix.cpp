#include "ui/widgets/MyMatrix.h"

#include "ui/widgets/ControlTags.h"

#include <QBoxLayout>
#include <QButtonGroup>
#include <QRadioButton>

MyMatrix::MyMatrix(int tag, Qt::Orientation orientation, QWidget* parent)
    : TaggedControl<QWidget>(parent)
    , _group(new QButtonGroup(this))
    , _layout(new QBoxLayout(orientation == Qt::Vertical ? QBoxLayout::TopToBottom : QBoxLayout::LeftToRight, this))
{
    setTag(tag);
    _layout->setContentsMargins(0, 0, 0, 0);
    connect(_group, &QButtonGroup::idClicked, this, &MyMatrix::selectionChanged);
}

void MyMatrix::localize()
{
    localizeToolTipByTag();
}

QRadioButton* MyMatrix::addCell(const QString& title, int cellTag)
{
    auto* cell = new QRadioButton(title, this);
    _group->addButton(cell, cellTag);
    _layout->addWidget(cell);
    return cell;
}

bool MyMatrix::selectCellWithTag(int cellTag)
{
    QAbstractButton* cell = _group->button(cellTag);
    if (!cell)
        return false;
    cell->setChecked(true);
    return true;
}

int MyMatrix::selectedTag() const
{
    return _group->checkedId();
}
