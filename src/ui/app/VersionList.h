#pragma once
#include "document/RevertController.h"
#include "ui/widgets/ItemDataSource.h"

#include <QWidget>

class MyDocument;
class MyTableView;
class QLabel;
class QPushButton;

// The "Versions" tab of a document window: the table of the site's dated
// snapshots, newest first, with their comments (which the user may edit:
// the comment is the snapshot archive's own comment), the Revert and Cancel
// buttons and the line shown while snapshots beyond the newest 20 that
// carry no comment are being removed. What it shows and does is the
// RevertController's; this is its face.
class VersionList : public QWidget, public ItemDataSource {
    Q_OBJECT
public:
    explicit VersionList(MyDocument& document, QWidget* parent = nullptr);
    ~VersionList() override;

    RevertController& controller() { return _controller; }
    MyTableView* table() const { return _table; }
    QLabel* statusMessage() const { return _statusMessage; }
    QPushButton* revertButton() const { return _revertButton; }
    QPushButton* cancelButton() const { return _cancelButton; }

    // Reads the "revert" folder again (and starts trimming).
    void refreshFiles();
    // The buttons: leave the tab; revert to the selected snapshot (asking
    // first when the site has changes that were not saved).
    void cancel();
    void revert();
    // Called to go back to the "Editing" tab.
    void setEditModeHandler(std::function<void()> handler);

    // --- ItemDataSource --------------------------------------------------------
    int numberOfChildrenOfItem(const void* item) const override;
    void* childOfItem(int index, const void* item) const override;
    void* parentOfItem(const void* item) const override { return nullptr; }
    QVariant objectValueForColumn(const QString& column, const void* item) const override;
    bool setObjectValueForColumn(const QVariant& value, const QString& column, void* item) override;
    bool shouldEditColumn(const QString& column, const void* item) const override;
    bool isItemExpandable(const void* item) const override { return item == nullptr; }

private:
    static int rowOf(const void* item);
    void reload();
    int selectedRow() const;

    MyDocument& _document;
    RevertController _controller;
    MyTableView* _table = nullptr;
    QLabel* _statusMessage = nullptr;
    QPushButton* _revertButton = nullptr;
    QPushButton* _cancelButton = nullptr;
};
