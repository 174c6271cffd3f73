#include "ui/widgets/SplitView.h"

SplitView::SplitView(Qt::Orientation orientation, QWidget* parent)
    : QSplitter(orientation, parent)
{
    connect(this, &QSplitter::splitterMoved, this, [this](int position, int index) {
        if (!_constrain || _constraining)
            return;
        const int wanted = _constrain(position, index - 1);
        if (wanted != position) {
            _constraining = true;
            moveSplitter(wanted, index);
            _constraining = false;
        }
    });
}

void SplitView::setDividerPosition(int position, int index)
{
    const int wanted = _constrain ? _constrain(position, index) : position;
    _constraining = true;
    moveSplitter(wanted, index + 1);
    _constraining = false;
}
