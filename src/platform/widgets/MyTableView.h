#pragma once
#include "platform/widgets/TaggedControl.h"
#include "platform/widgets/ItemModelAdaptor.h"

#include <QTableView>

// a table over an ItemDataSource, with columns by identifier; it carries a
// tag (tool tip from "Tooltip<tag>" for tags of 100 and more). The Delete
// keys and the end of a drag go to the data source.
class MyTableView : public TaggedControl<QTableView> {
    Q_OBJECT
public:
    explicit MyTableView(int tag = 0, QWidget* parent = nullptr);
    void localize();

    // The source is not owned; the columns may be set again later.
    void setDataSource(ItemDataSource* source, const QList<TableColumn>& columns);
    ItemDataSource* dataSource() const { return _source; }
    ItemModelAdaptor* adaptor() const { return _adaptor; }
    void reloadData();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void startDrag(Qt::DropActions supportedActions) override;

private:
    ItemDataSource* _source = nullptr;
    ItemModelAdaptor* _adaptor = nullptr;
};
