#include "ui/editors/iphoto/QZiPhoto.h"

#include "document/MyDocument.h"
#include "ui/editors/EditorHost.h"
#include "ui/editors/XmlOutlineView.h"
#include "ui/editors/iphoto/iPhoto.h"
#include "ui/editors/iphoto/iPhotoAlbum.h"
#include "model/site/XmlAlbum.h"
#include "model/site/XmlHomePage.h"
#include "model/site/XmlSite.h"
#include "pipeline/XmlImportPhoto.h"
#include "pipeline/XmlProcessor.h"
#include "platform/ExceptionFrame.h"
#include "ui/widgets/ActionConnection.h"
#include "ui/widgets/MyButton.h"
#include "ui/widgets/ScreenText.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

QZiPhoto::QZiPhoto(QWidget* parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("QZiPhoto"));
    auto* column = new QVBoxLayout(this);
    auto* buttons = new QHBoxLayout;
    auto* import = new MyButton(0, QStringLiteral("Import"), this);
    import->setObjectName(QStringLiteral("importPhotoLibrary"));
    import->setToolTip(QStringLiteral("Makes a new album page of the selected album's photos"));
    auto* refreshButton = new MyButton(0, QStringLiteral("Refresh"), this);
    refreshButton->setObjectName(QStringLiteral("refresh"));
    refreshButton->setToolTip(QStringLiteral("Reads the photo library again"));
    lq::connectAction(import, &QPushButton::clicked, this, "importPhotoLibrary:", [this] { importPhotoLibrary(); });
    lq::connectAction(refreshButton, &QPushButton::clicked, this, "refresh:", [this] { refresh(); });
    buttons->addWidget(import);
    buttons->addWidget(refreshButton);
    buttons->addStretch(1);
    column->addLayout(buttons);

    _notFound = lq::plainLabel(QString(), this);
    _notFound->setObjectName(QStringLiteral("libraryNotFound"));
    _notFound->setWordWrap(true);
    _notFound->setTextInteractionFlags(Qt::TextSelectableByMouse);
    _notFound->hide();
    column->addWidget(_notFound);

    iPhotoOutline = new XmlOutlineView(0, this);
    iPhotoOutline->setObjectName(QStringLiteral("iPhotoOutline"));
    iPhotoOutline->setController(this);
    iPhotoOutline->setTextImageCell();
    // Albums are dragged out onto the site navigator.
    iPhotoOutline->setAllowsDragging();
    column->addWidget(iPhotoOutline, 1);
}

QZiPhoto::~QZiPhoto()
{
    iPhotoOutline->setController(nullptr);
}

void QZiPhoto::setDocument(EditorHost* document)
{
    lq::uiFrame(this, "setDocument:", [&] {
        _document = document;
        const std::shared_ptr<iPhoto> library = document ? document->iPhotoLibrary() : nullptr;
        iPhotoOutline->setXmlBase(library ? library->UUID() : QString());
    });
}

void QZiPhoto::loadEditor()
{
    refreshEditor();
}

void QZiPhoto::refreshEditor()
{
    iPhotoOutline->reloadData();
    const std::shared_ptr<iPhoto> library = _document ? _document->iPhotoLibrary() : nullptr;
    const QString why = library ? library->whyNotFound() : QString();
    _notFound->setText(why.isEmpty() ? QString() : QStringLiteral("No iPhoto library was found. ") + why);
    _notFound->setVisible(!why.isEmpty());
}

void QZiPhoto::refresh()
{
    lq::uiFrame(this, "refresh:", [&] {
        if (const std::shared_ptr<iPhoto> library = _document ? _document->iPhotoLibrary() : nullptr)
            library->importFromLibrary();
        refreshEditor();
    });
}

void QZiPhoto::importPhotoLibrary()
{
    lq::uiFrame(this, "importPhotoLibrary:", [&] {
        iPhotoAlbum* album = iPhotoAlbum::cast(iPhotoOutline->selectedObject().get());
        XmlSite* site = _document ? _document->document().site() : nullptr;
        if (!album || !site || !site->homepage())
            return;
        const std::shared_ptr<XmlAlbum> page = XmlAlbum::create();
        site->homepage()->addChild(page);
        page->newDocument();
        const std::shared_ptr<XmlProcessor> processor = XmlProcessor::create();
        processor->setStatusMessage(QStringLiteral("Importing iPhotos..."));
        importPhotoAlbumXmlAlbumProcessor(*album, *page, *processor);
        XmlImportPhoto::tallyTogether(*processor);
        _document->document().startProcessor(processor);
        _document->updateNavEditor();
    });
}

void QZiPhoto::importPhotoAlbumXmlAlbumProcessor(iPhotoAlbum& album, XmlAlbum& page, XmlProcessor& processor)
{
    lq::modelFrame(this, "importPhotoAlbum:xmlAlbum:processor:", [&] {
        if (album.isFolder()) {
            for (const XmlBasePtr& child : album.children()) {
                if (iPhotoAlbum* inner = iPhotoAlbum::cast(child.get()))
                    importPhotoAlbumXmlAlbumProcessor(*inner, page, processor);
            }
            return;
        }
        const QStringList& photos = album.photos();
        for (auto path = photos.crbegin(); path != photos.crend(); ++path)
            processor.addChild(XmlImportPhoto::createForFileAlbumIndex(*path, page.UUID(), 0));
    });
}

std::optional<bool> QZiPhoto::outlineViewIsItemExpandable(XmlOutlineView&, XmlBase& item)
{
    const iPhotoAlbum* album = iPhotoAlbum::cast(&item);
    return album && album->isFolder();
}

std::optional<bool> QZiPhoto::outlineViewShouldExpandItem(XmlOutlineView& view, XmlBase& item)
{
    return outlineViewIsItemExpandable(view, item);
}

std::optional<bool> QZiPhoto::outlineViewShouldEditTableColumnItem(XmlOutlineView&, const QString&, XmlBase&)
{
    return false;
}

std::optional<bool> QZiPhoto::outlineViewCanDropFilesOnItem(XmlOutlineView&, XmlBase&)
{
    return false;
}

std::optional<bool> QZiPhoto::outlineViewCanDropItemOnItem(XmlOutlineView&, XmlBase&, XmlBase&)
{
    return false;
}

std::optional<bool> QZiPhoto::canDeleteObject(XmlBase&)
{
    return false;
}
