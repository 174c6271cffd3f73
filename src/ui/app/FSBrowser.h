#pragma once
#include <QWidget>

class QTreeWidget;
class QTreeWidgetItem;

// The folder browser of the local-folder destination, rooted at the user's
// home folder: visible ordinary folders only (no site documents), each with
// its icon; symbolic links are underlined. Its path is relative to the home folder and begins
// with "/" ("/" is the home folder itself).
class FSBrowser : public QWidget {
    Q_OBJECT
public:
    explicit FSBrowser(QWidget* parent = nullptr);

    static QString homeFolder();
    QString path() const { return _path; }
    // Selects the folder; false (and nothing changes) when it is not a
    // visible folder under the home folder.
    bool setPath(const QString& path);
    // Re-reads the folders from the top.
    void loadColumnZero();
    // The home folder followed directly by the path.
    QString absolutePath() const { return homeFolder() + (_path == QStringLiteral("/") ? QString() : _path); }
    // The names of the visible ordinary folders in the folder, sorted.
    static QStringList visibleSubNodes(const QString& absolutePath);

Q_SIGNALS:
    void pathChanged(const QString& path);

private:
    void fill(QTreeWidgetItem* item, const QString& absolutePath);
    QString pathOf(QTreeWidgetItem* item) const;

    QTreeWidget* _tree;
    QString _path = QStringLiteral("/");
};
