#include "ui/editors/QZTrash.h"

#include "document/MyDocument.h"
#include "document/SitePictures.h"
#include "ui/editors/EditorHost.h"
#include "ui/editors/XmlOutlineView.h"
#include "model/site/XmlAlbum.h"
#include "model/site/XmlContent.h"
#include "model/site/XmlGroup.h"
#include "model/site/XmlPhoto.h"
#include "model/site/XmlSite.h"
#include "model/site/XmlTrash.h"
#include "platform/ConfinedFolder.h"
#include "platform/ExceptionFrame.h"
#include "platform/Log.h"
#include "ui/widgets/ActionConnection.h"
#include "ui/widgets/ModalHandler.h"
#include "ui/widgets/MyButton.h"

#include <QHBoxLayout>
#include <QVBoxLayout>

#include <typeinfo>

namespace {

// The name of the photo's picture under "pictures", as the site lists it.
QString pictureName(const XmlPhoto& photo)
{
    return QStringLiteral("image%1.jpg").arg(photo.imageSeqNumber());
}

} // namespace

const QString QZTrash::itemColumn = QStringLiteral("item");
const QString QZTrash::descriptionColumn = QStringLiteral("description");

QZTrash::QZTrash(QWidget* parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("QZTrash"));
    auto* column = new QVBoxLayout(this);
    auto* heading = new QHBoxLayout;
    auto* empty = new MyButton(0, QStringLiteral("Empty Trash"), this);
    empty->setObjectName(QStringLiteral("emptyTrash"));
    empty->setToolTip(QStringLiteral("Deletes the pages and photos in the trash for good, with their pictures"));
    lq::connectAction(empty, &QPushButton::clicked, this, "emptyTrash:", [this] { emptyTrash(); });
    heading->addStretch(1);
    heading->addWidget(empty);
    column->addLayout(heading);

    TrashOutline = new XmlOutlineView(0, this);
    TrashOutline->setObjectName(QStringLiteral("TrashOutline"));
    TrashOutline->setColumns({ { itemColumn, QStringLiteral("Name"), TableColumn::Kind::Text, true, {} },
        { descriptionColumn, QStringLiteral("Title"), TableColumn::Kind::Text, false, {} } });
    TrashOutline->setController(this);
    TrashOutline->setTextImageCell();
    TrashOutline->setAllowsDragging();
    column->addWidget(TrashOutline, 1);
}

QZTrash::~QZTrash()
{
    TrashOutline->setController(nullptr);
}

void QZTrash::setDocument(EditorHost* document)
{
    lq::uiFrame(this, "setDocument:", [&] {
        _document = document;
        XmlSite* site = document ? document->document().site() : nullptr;
        TrashOutline->setXmlBase(site && site->trash() ? site->trash()->UUID() : QString());
    });
}

void QZTrash::loadEditor()
{
    TrashOutline->reloadData();
}

void QZTrash::refreshEditor()
{
    TrashOutline->reloadData();
}

void QZTrash::emptyTrash()
{
    lq::uiFrame(this, "emptyTrash:", [&] {
        XmlSite* site = _document ? _document->document().site() : nullptr;
        XmlTrash* trash = site ? site->trash() : nullptr;
        if (!trash || _document->currentObject().get() != trash || trash->numberChildren() == 0)
            return;
        const int choice = lq::runAlert(_document->myWindow(), QStringLiteral("Empty the trash?"),
            QStringLiteral("The pages and photos in the trash are deleted for good, with their pictures. This cannot be undone."),
            { QStringLiteral("Empty Trash"), QStringLiteral("Cancel") });
        if (choice != 0)
            return;
        const QSet<QString> kept = picturesKeptWithout(trash->children());
        QString failure;
        while (const XmlBasePtr item = trash->firstChild()) {
            if (!deleteFilesInChildren(*item, &failure, kept))
                break;
            item->removeFromParent();
        }
        TrashOutline->reloadData();
        if (!failure.isEmpty())
            tellFailure(QStringLiteral("The trash could not be emptied"), failure);
    });
}

bool QZTrash::deleteFiles(int number, QString* failure)
{
    if (!_document || !_document->document().site())
        return true;
    return SitePictures(_document->document()).removePictureFiles(number, failure);
}

bool QZTrash::deleteFilesInChildren(XmlBase& element, QString* failure, const QSet<QString>& kept)
{
    return lq::modelFrame(this, "deleteFilesInChildren:", [&] {
        if (typeid(element) == typeid(XmlPhoto)) {
            auto& photo = static_cast<XmlPhoto&>(element);
            if (!kept.contains(pictureName(photo))) {
                photo.deleteFiles();
                if (!deleteFiles(photo.imageSeqNumber(), failure))
                    return false;
            }
        }
        for (const XmlBasePtr& child : element.children()) {
            if (!deleteFilesInChildren(*child, failure, kept))
                return false;
        }
        return true;
    });
}

QStringList QZTrash::picturesOfPhotos(XmlBase& element)
{
    QStringList names;
    element.callSelectorOnObject([&](XmlBase& each) {
        if (typeid(each) == typeid(XmlPhoto))
            names.append(pictureName(static_cast<XmlPhoto&>(each)));
    });
    return names;
}

QSet<QString> QZTrash::picturesKeptWithout(const XmlBaseList& items) const
{
    if (!_document)
        return {};
    QStringList leaving;
    for (const XmlBasePtr& item : items)
        leaving.append(picturesOfPhotos(*item));
    return SitePictures(_document->document()).picturesInUse(leaving);
}

std::optional<QVariant> QZTrash::outlineViewObjectValueForTableColumnByItem(XmlOutlineView&, const QString& column, XmlBase& item)
{
    return lq::modelFrame(this, "outlineView:objectValueForTableColumn:byItem:", [&]() -> std::optional<QVariant> {
        if (column != descriptionColumn)
            return std::nullopt;
        if (XmlGroup::cast(&item))
            return QVariant(QString());
        // An album page's title is its own content, plain text.
        if (XmlAlbum* page = XmlAlbum::cast(&item))
            return QVariant(page->content());
        return QVariant(QString());
    });
}

std::optional<bool> QZTrash::outlineViewShouldEditTableColumnItem(XmlOutlineView&, const QString& column, XmlBase&)
{
    if (column == descriptionColumn)
        return false;
    return std::nullopt;
}

std::optional<bool> QZTrash::canDeleteObject(XmlBase& element)
{
    return lq::uiFrame(this, "canDeleteObject:", [&] {
        const int choice = lq::runAlert(_document ? _document->myWindow() : nullptr,
            QStringLiteral("Delete \"") + element.name() + QStringLiteral("\" for good?"),
            QStringLiteral("It is taken out of the trash with the pictures of its photos. This cannot be undone."),
            { QStringLiteral("Delete"), QStringLiteral("Cancel") });
        if (choice != 0)
            return false;
        QString failure;
        if (deleteFilesInChildren(element, &failure, picturesKeptWithout({ element.shared_from_this() })))
            return true;
        tellFailure(QStringLiteral("\"") + element.name() + QStringLiteral("\" could not be deleted"), failure);
        return false;
    });
}

void QZTrash::dropDone()
{
    lq::uiFrame(this, "dropDone", [&] {
        if (_document)
            _document->updateNavEditor();
    });
}

void QZTrash::tellFailure(const QString& title, const QString& failure)
{
    lq::log(title + QStringLiteral(": ") + failure);
    lq::runAlert(_document ? _document->myWindow() : nullptr, title,
        failure + QStringLiteral(". What was not deleted stays in the trash."));
}
