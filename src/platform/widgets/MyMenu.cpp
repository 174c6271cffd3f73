#include "platform/widgets/MyMenu.h"

#include "platform/widgets/ControlTags.h"

namespace {

void localizeLevel(QMenu* menu, const QString& prefix, int depth)
{
    int position = 0;
    for (QAction* action : menu->actions()) {
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
            localizeLevel(submenu, key + QStringLiteral("Sub"), depth + 1);
    }
}

} // namespace

void MyMenu::localizeMenu(QMenu* menu)
{
    localizeLevel(menu, QStringLiteral("Menu"), 0);
}
