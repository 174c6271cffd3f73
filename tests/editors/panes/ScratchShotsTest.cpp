#include "editors/panes/QZAlbumEditor.h"
#include "editors/panes/QZGroupEditor.h"
#include "editors/panes/QZWebsiteEditor.h"
#include "editors/panes/QZHtmlEditor.h"
#include "editors/panes/QZPayPalEditor.h"
#include "model/site/XmlGroup.h"
#include "support/ui/PaneWindow.h"
#include "support/ui/ViewMouse.h"
#include "editors/QZArraySelectView2.h"
#include <gtest/gtest.h>
namespace {
class ScratchShots : public PaneWindowTest {};
TEST_F(ScratchShots, Shots)
{
    for (const auto& [name, colour] : { std::pair { "A", Qt::red }, std::pair { "B", Qt::green }, std::pair { "C", Qt::blue } })
        addPhoto(*album, QString::fromLatin1(name), colour);
    auto group = XmlGroup::create();
    document.site()->homepage()->addChild(group);
    group->newDocument();
    auto sub = XmlAlbum::create();
    group->addChild(sub);
    sub->newDocument();
    addPhoto(*sub, "D", Qt::yellow);
    auto shot = [&](const QString& name) { QApplication::processEvents(); window->grab().save("/tmp/shots/" + name + ".png"); };
    show(document.site()->homepage()); shot("website");
    window->switchToHTMLEditor(); shot("html");
    window->switchToRegularEditor();
    show(album.get());
    auto* e = pane<QZAlbumEditor>(EditorKind::Album);
    click(*e->arrayView(), e->arrayView()->rectOfObjectAtIndex(1).center());
    shot("album");
    window->switchToPayPalEditor(); shot("paypal");
    window->switchToRegularEditor();
    show(group.get()); shot("group");
}
}
