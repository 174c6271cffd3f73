// The page controls of the layout and preview tabs.
#include "ui/layout/PageNavigation.h"

#include "ui/app/MyDocumentWindow.h"
#include "document/MyDocument.h"
#include "ui/layout/CanvasController.h"
#include "ui/layout/LayoutController.h"
#include "model/site/XmlAlbum.h"
#include "model/site/XmlSite.h"
#include "platform/ExceptionFrame.h"
#include "ui/widgets/MyButton.h"
#include "ui/widgets/MyPopUpButton.h"
#include "ui/widgets/ScreenText.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QSignalBlocker>

namespace {

MyButton* pushButton(const QString& title, QWidget* parent)
{
    auto* button = new MyButton(0, title, parent);
    button->setAutoDefault(false);
    return button;
}

} // namespace

PageNavigation::PageNavigation(LayoutController& controller)
    : _controller(controller)
{
}

QWidget* PageNavigation::buildPageControls(bool preview)
{
    auto* pages = new MyPopUpButton(0);
    (preview ? _webPage2 : _webPage) = pages;
    auto* bar = new QWidget;
    auto* row = new QHBoxLayout(bar);
    row->setContentsMargins(0, 0, 0, 0);
    row->addWidget(lq::plainLabel(QStringLiteral("Page:")));
    pages->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    pages->setMinimumContentsLength(16);
    QObject::connect(pages, &QComboBox::activated, &_controller, [this, pages] { selectPage(pages); });
    row->addWidget(pages);
    auto* previous = pushButton(QStringLiteral("Previous"), bar);
    auto* next = pushButton(QStringLiteral("Next"), bar);
    auto* home = pushButton(QStringLiteral("Home"), bar);
    QObject::connect(previous, &QPushButton::clicked, &_controller, [this] { prevPage(); });
    QObject::connect(next, &QPushButton::clicked, &_controller, [this] { nextPage(); });
    QObject::connect(home, &QPushButton::clicked, &_controller, [this] { homePage(); });
    row->addWidget(previous);
    row->addWidget(next);
    row->addWidget(home);
    if (preview) {
        _statusLine = lq::plainLabel();
        row->addWidget(_statusLine, 1);
    } else {
        row->addStretch(1);
        row->addWidget(_controller.canvasController().buildCompactButton(bar));
    }
    return bar;
}

void PageNavigation::fillWebPages()
{
    lq::uiFrame(&_controller, "fillWebPages", [&] {
        const std::shared_ptr<XmlAlbum> current = _controller.getAlbum();
        if (!current)
            return;
        const QList<std::shared_ptr<XmlBase>> pages = _controller.document().webItems();
        int selected = 0;
        for (int index = 0; index < pages.size(); ++index) {
            if (pages[index] == current)
                selected = index;
        }
        for (MyPopUpButton* popUp : {_webPage, _webPage2}) {
            const QSignalBlocker quiet(popUp);
            popUp->clear();
            for (const std::shared_ptr<XmlBase>& page : pages)
                popUp->addItem(page->name());
            popUp->setCurrentIndex(pages.isEmpty() ? -1 : selected);
        }
    });
}

void PageNavigation::displayStatusString()
{
    if (_controller.getAlbum())
        _statusLine->setText(QStringLiteral("Control + Click to Edit Photos"));
}

int PageNavigation::selectedPageIndex() const
{
    return _webPage->currentIndex();
}

void PageNavigation::showPageAt(int index)
{
    const QList<std::shared_ptr<XmlBase>> pages = _controller.document().webItems();
    if (index < 0 || index >= pages.size())
        return;
    _controller.setPreviewPageIndex(pages[index]->UUID(), -1);
}

void PageNavigation::selectPage(MyPopUpButton* sender)
{
    lq::uiFrame(&_controller, "selectPage:", [&] { showPageAt(sender ? sender->currentIndex() : selectedPageIndex()); });
}

void PageNavigation::homePage()
{
    lq::uiFrame(&_controller, "homePage:", [&] {
        if (XmlSite* site = _controller.document().site()) {
            if (const XmlBasePtr page = site->defaultAlbum())
                _controller.setPreviewPageIndex(page->UUID(), -1);
        }
    });
}

void PageNavigation::nextPage()
{
    lq::uiFrame(&_controller, "nextPage:", [&] {
        const qsizetype count = _controller.document().webItems().size();
        if (count == 0)
            return;
        showPageAt(int((selectedPageIndex() + 1) % count));
    });
}

void PageNavigation::prevPage()
{
    lq::uiFrame(&_controller, "prevPage:", [&] {
        // A picture preview goes back to its page first.
        if (_controller.globalIndex() != -1) {
            _controller.setPreviewPageIndex(_controller.currentAlbum(), -1);
            return;
        }
        const qsizetype count = _controller.document().webItems().size();
        if (count == 0)
            return;
        showPageAt(int((selectedPageIndex() - 1 + count) % count));
    });
}
