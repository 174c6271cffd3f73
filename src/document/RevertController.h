#pragma once

#include "document/Snapshots.h"

#include <QString>

#include <functional>
#include <limits>
#include <memory>

class MyDocument;
class XmlStandAloneFiles;

// The list of a document's snapshots ("revert" folder), newest first (in the
// order of Snapshots, whatever the clock said), with their comments: the
// model of the window's "Versions" tab. Whenever the list is refreshed, the
// user's own snapshots beyond their newest 20 that carry no comment are
// deleted, one every tenth of a second on the event loop, so the window
// stays responsive while the archives are read. The publications'
// snapshots are not counted among the user's, and stay (the open keeps
// the newest of them, see Snapshots).
class RevertController {
public:
    static constexpr int keptNewest = 20;
    static constexpr double trimInterval = 0.1;

    explicit RevertController(MyDocument* document);
    ~RevertController();
    RevertController(const RevertController&) = delete;
    RevertController& operator=(const RevertController&) = delete;

    // Reads the folder again, starts trimming when there are more than 20.
    void refreshFiles();
    // One trimming step.
    void deleteExtraReverts();
    // Stops trimming and goes back to editing.
    void cancel();
    // As cancel, then reverts the document to the snapshot of the row when
    // the row holds one; answers whether it did.
    bool revert(int row);

    // The table: columns "name" and "comment".
    int numberOfRows() const;
    QString objectValue(const QString& column, int row) const;
    void setObjectValue(const QString& value, const QString& column, int row);
    bool shouldEditColumn(const QString& column) const;
    // The snapshot's full path at the row, or "".
    QString pathAtRow(int row) const;

    // Whether the trimming message shows (trimming is under way).
    bool statusVisible() const { return _statusVisible; }
    // Called when the table must be drawn again, and to go back to editing.
    void setReloadHandler(std::function<void()> handler) { _reload = std::move(handler); }
    void setEditModeHandler(std::function<void()> handler) { _editMode = std::move(handler); }

private:
    void reload();
    void scheduleTrim();

    MyDocument* _document;
    std::shared_ptr<XmlStandAloneFiles> revertFiles;
    // The row the trimming looks at next, and what it kept before it.
    int _trimAt = 0;
    Snapshots::Trim _trim { keptNewest, true, std::numeric_limits<int>::max() };
    bool _statusVisible = false;
    std::function<void()> _reload;
    std::function<void()> _editMode;
};
