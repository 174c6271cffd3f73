#include "ui/widgets/MyMenu.h"

#include "ui/widgets/ControlTags.h"

#include <QMenuBar>

namespace {

void localizeLevel(const QList<QAction*>& actions, const QString& prefix, int depth)
{
    int position = 0;
    for (QAction* action : actions) {
        if (action->isSeparator())
            continue;
        const QString key = prefix + QString::number(position++);
        QMenu* submenu = action->menu();
        lq::applyLocalized(key, [&](const QString& title) {
            action->setText(title);
            if (submenu && depth < 2)
                submenu->setTitle(title);
        });
        if (submenu && depth < 2)
            localizeLevel(submenu->actions(), key + QStringLiteral("Sub"), depth + 1);
    }
}

} // namespace

void MyMenu::localizeMenu(QMenu* menu)
{
    localizeLevel(menu->actions(), QStringLiteral("Menu"), 0);
}

void MyMenu::localizeMenuBar(QMenuBar* menuBar)
{
    localizeLevel(menuBar->actions(), QStringLiteral("Menu"), 0);
}
