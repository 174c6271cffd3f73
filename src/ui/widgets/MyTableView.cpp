#include "ui/widgets/MyTableView.h"

MyTableView::MyTableView(int tag, QWidget* parent)
    : DataSourceView<QTableView>(tag, parent)
{
}
