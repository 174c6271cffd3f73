#include "ui/app/FSBrowser.h"

#include <QDir>
#include <QFileIconProvider>
#include <QFileInfo>
#include <QHeaderView>
#include <QTreeWidget>
#include <QVBoxLayout>

FSBrowser::FSBrowser(QWidget* parent)
    : QWidget(parent)
    , _tree(new QTreeWidget(this))
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(_tree);
    _tree->setHeaderHidden(true);
    _tree->setIconSize(QSize(16, 16));
    connect(_tree, &QTreeWidget::itemExpanded, this, [this](QTreeWidgetItem* item) {
        if (item->childCount() == 1 && item->child(0)->text(0).isEmpty()) {
            delete item->takeChild(0);
            fill(item, homeFolder() + pathOf(item));
        }
    });
    connect(_tree, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* item) {
        _path = item ? pathOf(item) : QStringLiteral("/");
        Q_EMIT pathChanged(_path);
    });
    loadColumnZero();
}

QString FSBrowser::homeFolder()
{
    return QDir::homePath();
}

QStringList FSBrowser::visibleSubNodes(const QString& absolutePath)
{
    QStringList names;
    const QFileInfoList entries = QDir(absolutePath).entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name);
    for (const QFileInfo& entry : entries) {
        // Site documents are folders that count as one file: never a place to export to.
        if (entry.fileName().isEmpty() || entry.fileName().startsWith(QLatin1Char('.')) || !entry.isDir() || entry.isBundle()
            || entry.suffix() == QStringLiteral("lqxl"))
            continue;
        names.append(entry.fileName());
    }
    return names;
}

void FSBrowser::fill(QTreeWidgetItem* item, const QString& absolutePath)
{
    static QFileIconProvider icons;
    for (const QString& name : visibleSubNodes(absolutePath)) {
        const QFileInfo info(absolutePath + QLatin1Char('/') + name);
        auto* child = new QTreeWidgetItem(QStringList{name});
        child->setIcon(0, icons.icon(info));
        if (info.isSymLink()) {
            QFont underlined = child->font(0);
            underlined.setUnderline(true);
            child->setFont(0, underlined);
        }
        if (!info.isReadable())
            child->setFlags(child->flags() & ~Qt::ItemIsEnabled);
        // A placeholder so the row can open; its folders are read on opening.
        child->addChild(new QTreeWidgetItem(QStringList{QString()}));
        if (item)
            item->addChild(child);
        else
            _tree->addTopLevelItem(child);
    }
}

QString FSBrowser::pathOf(QTreeWidgetItem* item) const
{
    QStringList parts;
    for (; item; item = item->parent())
        parts.prepend(item->text(0));
    return QStringLiteral("/") + parts.join(QLatin1Char('/'));
}

void FSBrowser::loadColumnZero()
{
    const QSignalBlocker block(_tree);
    _tree->clear();
    fill(nullptr, homeFolder());
    _path = QStringLiteral("/");
}

bool FSBrowser::setPath(const QString& path)
{
    const QStringList parts = path.split(QLatin1Char('/'), Qt::SkipEmptyParts);
    if (parts.isEmpty()) {
        // The home folder itself: no row chosen. Told as any other choice.
        const bool chosen = _tree->currentItem() != nullptr;
        _tree->setCurrentItem(nullptr);
        _path = QStringLiteral("/");
        if (!chosen)
            Q_EMIT pathChanged(_path);
        return true;
    }
    QTreeWidgetItem* item = nullptr;
    for (const QString& part : parts) {
        QTreeWidgetItem* found = nullptr;
        if (item)
            item->setExpanded(true);
        const int count = item ? item->childCount() : _tree->topLevelItemCount();
        for (int i = 0; i < count && !found; ++i) {
            QTreeWidgetItem* candidate = item ? item->child(i) : _tree->topLevelItem(i);
            if (candidate->text(0) == part)
                found = candidate;
        }
        if (!found)
            return false;
        item = found;
    }
    _tree->setCurrentItem(item);
    _path = pathOf(item);
    return true;
}
