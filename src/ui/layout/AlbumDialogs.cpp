// The photo album sheet's two dialogs, run as sheets on the document
// window: the thumbnail size (width, height and how thumbnails take their
// photos' shapes) and the collage (how many pictures, which layout, the
// space between them, the block's size and whether visitors' photos go in),
// with a live miniature of the layout.
#include "ui/layout/AlbumDialogs.h"

#include "ui/layout/InspectorValues.h"
#include "ui/layout/LayoutController.h"

#include "ui/app/MyDocumentWindow.h"
#include "ui/editors/CollageThumb.h"
#include "elements/XmlWebPhotoAlbum.h"
#include "platform/ExceptionFrame.h"
#include "ui/widgets/ControlTags.h"
#include "ui/widgets/ControlValues.h"
#include "ui/widgets/ModalHandler.h"
#include "ui/widgets/MyIntegerField.h"
#include "ui/widgets/MyMatrix.h"
#include "ui/widgets/MyRadioButton.h"
#include "ui/widgets/SheetBuilder.h"

#include <QAbstractButton>
#include <QDialog>
#include <QHBoxLayout>
#include <QScopedValueRollback>

#include <algorithm>

namespace {

constexpr int largestThumbnail = 9999;

// The collage dialog's controls.
namespace CollageTag {
constexpr int numberPhotos = 1601;
constexpr int spaceBetween = 1603;
constexpr int firstStyle = 1606;
constexpr int width = 1609;
constexpr int height = 1611;
constexpr int allowPhotos = 1620;
} // namespace CollageTag

// The number the field's text stands for as it is now, typed and not yet
// committed included; its last good value when the text is no number.
int typedValue(const MyIntegerField* field)
{
    if (!field)
        return 0;
    bool ok = false;
    const int typed = field->text().trimmed().toInt(&ok);
    return ok ? typed : field->intValue();
}

} // namespace

AlbumDialogs::AlbumDialogs(LayoutController& controller)
    : _controller(controller)
{
}

// --- Thumbnail size -----------------------------------------------------------------------------------------

void AlbumDialogs::changeThumbnailSize(XmlWebPhotoAlbum* album)
{
    lq::uiFrame(&_controller, "changeThumbnailSize:", [&] {
        if (!album)
            return;
        QDialog sheet(&_controller.window());
        sheet.setWindowTitle(QStringLiteral("Thumbnail Size"));
        SheetBuilder rows(&sheet, &_controller, [](QWidget*) {});
        rows.text(0, QStringLiteral("The size of the album's thumbnails, in pixels:"));
        MyIntegerField* width = rows.label(QStringLiteral("Width")).intField(0, 1, largestThumbnail);
        MyIntegerField* height = rows.label(QStringLiteral("Height")).intField(0, 1, largestThumbnail);
        MyMatrix* sizing = rows.label(QStringLiteral("Thumbnails"))
                               .matrix(0, {{QStringLiteral("All the same size"), int(XmlWebPhotoAlbum::ThumbAspect::SameSize)},
                                              {QStringLiteral("Keep each photo's shape"), int(XmlWebPhotoAlbum::ThumbAspect::SameAspect)},
                                              {QStringLiteral("Keep the shape, centred"), int(XmlWebPhotoAlbum::ThumbAspect::Centred)}});
        width->setObjectName(QStringLiteral("ThumbnailWidth"));
        height->setObjectName(QStringLiteral("ThumbnailHeight"));
        sizing->setObjectName(QStringLiteral("ThumbnailSizing"));
        rows.sheetButtons(&sheet, QStringLiteral("Resize Thumbnails"));

        width->setIntValue(album->settings().thumbWidth());
        height->setIntValue(album->settings().thumbHeight());
        sizing->selectCellWithTag(static_cast<int>(album->settings().thumbAspect()));
        int answer = 0;
        {
            const QScopedValueRollback<QDialog*> shown(_thumbnailWindow, &sheet);
            answer = lq::modalHandler().runSheet(&sheet);
        }
        if (answer != 1)
            return;
        const XmlWebPhotoAlbum::ThumbSize size
            = PhotoAlbumSettings::createThumbSizeWithWidthHeight(std::clamp(typedValue(width), 1, largestThumbnail),
                std::clamp(typedValue(height), 1, largestThumbnail));
        album->settings().setThumbWidth(size.width);
        album->settings().setThumbHeight(size.height);
        const int aspect = sizing->selectedTag();
        if (aspect >= 0)
            album->settings().setThumbAspect(static_cast<XmlWebPhotoAlbum::ThumbAspect>(aspect));
    });
}

// --- Collage ------------------------------------------------------------------------------------------------

void AlbumDialogs::changeCollageSettings(XmlWebPhotoAlbum* album)
{
    lq::uiFrame(&_controller, "changeCollageSettings:", [&] {
        if (!album)
            return;
        QDialog sheet(&_controller.window());
        sheet.setWindowTitle(QStringLiteral("Collage"));
        auto* columns = new QHBoxLayout(&sheet);
        auto* miniature = new CollageThumb(&sheet);
        miniature->setObjectName(QStringLiteral("CollageMiniView"));
        columns->addWidget(miniature, 0, Qt::AlignTop);
        auto* controls = new QWidget(&sheet);
        columns->addWidget(controls, 1);

        SheetBuilder rows(controls, &_controller, [this](QWidget* sender) { collageAction(sender); });
        rows.label(QStringLiteral("Pictures")).intPair(CollageTag::numberPhotos, 1, 8);
        rows.label(QStringLiteral("Layout")).beginRow();
        rows.radio(CollageTag::firstStyle, QStringLiteral("First"));
        rows.radio(CollageTag::firstStyle + 1, QStringLiteral("Second"));
        rows.radio(CollageTag::firstStyle + 2, QStringLiteral("Third"));
        rows.endRow();
        rows.label(QStringLiteral("Space between")).intPair(CollageTag::spaceBetween, 0, 999);
        rows.label(QStringLiteral("Width")).intPair(CollageTag::width, 20, 5000);
        rows.label(QStringLiteral("Height")).intPair(CollageTag::height, 10, 5000);
        rows.check(CollageTag::allowPhotos, QStringLiteral("Visitors' photos may fill the cells"));
        rows.sheetButtons(&sheet, QStringLiteral("Done"));

        const QScopedValueRollback<QDialog*> shownSheet(_collageWindow, &sheet);
        const QScopedValueRollback<QWidget*> shownControls(_photoCollage, controls);
        const QScopedValueRollback<CollageThumb*> shownMiniature(_collageMiniView, miniature);
        miniature->setCollageString(album->settings().collageString());
        showCollageParameters();
        const int answer = lq::modalHandler().runSheet(&sheet);
        if (answer == 1) {
            // Numbers typed and not yet committed count.
            CollageParameters parameters = miniature->parameters();
            parameters.setSpaceBetween(typedValue(qobject_cast<MyIntegerField*>(lq::viewWithTag(controls, CollageTag::spaceBetween))));
            parameters.setWidth(typedValue(qobject_cast<MyIntegerField*>(lq::viewWithTag(controls, CollageTag::width))));
            parameters.setHeight(typedValue(qobject_cast<MyIntegerField*>(lq::viewWithTag(controls, CollageTag::height))));
            miniature->setParameters(parameters);
        }
        if (answer == 1)
            album->settings().setCollageString(miniature->collageString());
    });
}

void AlbumDialogs::showCollageParameters()
{
    if (!_collageMiniView || !_photoCollage)
        return;
    const CollageParameters& parameters = _collageMiniView->parameters();
    QWidget* view = _photoCollage;
    lq::showNumberPair(view, CollageTag::numberPhotos, parameters.numberPhotos());
    for (int style = 0; style < 3; ++style)
        lq::showState(view, CollageTag::firstStyle + style, parameters.style() == style);
    lq::showNumberPair(view, CollageTag::spaceBetween, parameters.spaceBetween());
    lq::showNumberPair(view, CollageTag::width, parameters.width());
    lq::showNumberPair(view, CollageTag::height, parameters.height());
    lq::showState(view, CollageTag::allowPhotos, parameters.allowPhotos());
}

void AlbumDialogs::collageAction(QWidget* sender)
{
    lq::uiFrame(&_controller, "collageAction:", [&] {
        if (!_collageMiniView || !sender)
            return;
        lq::inspector::pairNumberControls(sender);
        const int tag = lq::widgetTag(sender);
        const auto* field = qobject_cast<MyIntegerField*>(sender);
        const int value = field ? field->intValue() : 0;
        CollageParameters parameters = _collageMiniView->parameters();
        switch (tag) {
        case CollageTag::numberPhotos:
        case CollageTag::numberPhotos + 1: _collageMiniView->setNumberPhotos(value); return;
        case CollageTag::spaceBetween:
        case CollageTag::spaceBetween + 1: parameters.setSpaceBetween(value); break;
        case CollageTag::width:
        case CollageTag::width + 1: parameters.setWidth(value); break;
        case CollageTag::height:
        case CollageTag::height + 1: parameters.setHeight(value); break;
        case CollageTag::allowPhotos: {
            auto* check = qobject_cast<QAbstractButton*>(sender);
            parameters.setAllowPhotos(check && check->isChecked());
            break;
        }
        case CollageTag::firstStyle:
        case CollageTag::firstStyle + 1:
        case CollageTag::firstStyle + 2:
            _collageMiniView->setStyle(tag - CollageTag::firstStyle);
            for (int style = 0; style < 3; ++style)
                lq::showState(_photoCollage, CollageTag::firstStyle + style, _collageMiniView->style() == style);
            return;
        default: return;
        }
        _collageMiniView->setParameters(parameters);
    });
}
