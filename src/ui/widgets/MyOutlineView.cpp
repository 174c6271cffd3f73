#include "ui/widgets/MyOutlineView.h"

MyOutlineView::MyOutlineView(int tag, QWidget* parent)
    : DataSourceView<QTreeView>(tag, parent)
{
}
