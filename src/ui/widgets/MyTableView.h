#pragma once
#include "ui/widgets/DataSourceView.h"

#include <QTableView>

// A table over an ItemDataSource (see DataSourceView).
class MyTableView : public DataSourceView<QTableView> {
    Q_OBJECT
public:
    explicit MyTableView(int tag = 0, QWidget* parent = nullptr);
};
