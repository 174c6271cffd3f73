#pragma once
#include "ui/widgets/DataSourceView.h"

#include <QTreeView>

// A outline over an ItemDataSource (see DataSourceView).
class MyOutlineView : public DataSourceView<QTreeView> {
    Q_OBJECT
public:
    explicit MyOutlineView(int tag = 0, QWidget* parent = nullptr);
};
