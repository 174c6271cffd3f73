#include "ui/editors/panes/GroupPicSelector.h"

#include "ui/editors/QZArraySelectView.h"
#include "model/site/XmlAlbum.h"
#include "model/site/XmlPhoto.h"
#include "model/site/XmlPhotoRep.h"
#include "platform/ExceptionFrame.h"
#include "ui/widgets/ModalHandler.h"
#include "ui/widgets/SheetBuilder.h"
#include "ui/widgets/ScreenText.h"

#include <QDialog>
#include <QLabel>
#include <QScrollArea>
#include <QVBoxLayout>

GroupPicSelector::GroupPicSelector(QObject* parent)
    : QObject(parent)
{
}

GroupPicSelector::~GroupPicSelector()
{
    delete _sheet;
}

void GroupPicSelector::makeSheet(QWidget* window)
{
    _sheet = new QDialog(window);
    _sheet->setWindowTitle(QStringLiteral("Page Picture"));
    auto* column = new QVBoxLayout(_sheet);
    _prompt = lq::plainLabel(QString(), _sheet);
    _prompt->setWordWrap(true);
    column->addWidget(_prompt);
    _albumViewer = new QZArraySelectView;
    QScrollArea* scroller = _albumViewer->makeScrollView(_sheet);
    scroller->setMinimumSize(440, 300);
    column->addWidget(scroller, 1);
    // A double click chooses the photo at once.
    _albumViewer->setTargetAction([sheet = _sheet.data()](QZArraySelectView*) { sheet->done(1); });
    SheetBuilder(_sheet, this, {}).sheetButtons(_sheet, QStringLiteral("Choose"));
}

void GroupPicSelector::selectPicFromAlbum(XmlAlbum* album, QWidget* window)
{
    lq::uiFrame(this, "selectPicFromAlbum:", [&] {
        if (!album)
            return;
        if (!_sheet)
            makeSheet(window);
        _albumViewer->setItemSize(QSizeF(120, 90));
        _albumViewer->setAlbum(album);
        _albumViewer->fitMe();
        _selectFromAlbum = album->sharedFromThis();
        _prompt->setText(QStringLiteral("Choose the photo that stands for \"") + album->name()
                         + QStringLiteral("\" on its group's page."));
        if (lq::modalHandler().runSheet(_sheet) == 1)
            apply();
        _sheet->hide();
    });
}

void GroupPicSelector::apply()
{
    lq::uiFrame(this, "apply:", [&] {
        const std::shared_ptr<XmlAlbum> album = std::dynamic_pointer_cast<XmlAlbum>(_selectFromAlbum.lock());
        if (!album)
            return;
        const int index = _albumViewer->selectedIndex();
        const XmlBasePtr child = index >= 0 && index < album->numberChildren() ? album->childAtIndex(index) : nullptr;
        auto* photo = XmlPhoto::cast(child.get());
        if (!photo)
            return;
        if (const std::shared_ptr<XmlPhotoRep> rep = album->rep())
            rep->setNewImageFromFile(photo->originalFilename());
    });
}
