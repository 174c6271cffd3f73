#include "ui/widgets/MyTabViewItem.h"

#include "ui/widgets/ControlTags.h"

MyTabViewItem::MyTabViewItem(const QString& identifier, const QString& label, QWidget* view)
    : _identifier(identifier)
    , _label(label)
    , _view(view ? view : new QWidget)
{
}

MyTabViewItem::~MyTabViewItem()
{
    // A view that is not shown in a tab has no parent: it is ours to delete.
    if (_view && !_view->parent())
        delete _view;
}

QWidget* MyTabViewItem::takeView(QWidget* replacement)
{
    QWidget* old = _view;
    _view = replacement ? replacement : new QWidget;
    return old;
}

void MyTabViewItem::localize()
{
    lq::applyLocalized(QStringLiteral("TabView") + _identifier, [this](const QString& text) { _label = text; });
}
