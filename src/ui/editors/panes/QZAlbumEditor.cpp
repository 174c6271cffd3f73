#include "ui/editors/panes/QZAlbumEditor.h"

#include "document/MyDocument.h"
#include "ui/editors/EditorHost.h"
#include "ui/editors/QZArraySelectView2.h"
#include "ui/editors/panes/TextEditorArea.h"
#include "model/core/SuppressedChanges.h"
#include "model/site/XmlAlbum.h"
#include "model/site/XmlCaption.h"
#include "model/site/XmlContent.h"
#include "model/site/XmlHomePage.h"
#include "model/site/XmlPhoto.h"
#include "model/site/XmlSite.h"
#include "platform/ExceptionFrame.h"
#include "ui/widgets/ActionConnection.h"
#include "ui/widgets/ModalHandler.h"
#include "ui/widgets/MyButton.h"
#include "ui/widgets/MyLabel.h"
#include "ui/widgets/MyPopUpButton.h"
#include "ui/widgets/MyTextField.h"
#include "ui/widgets/SplitView.h"

#include <QAbstractButton>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QScrollArea>
#include <QStandardPaths>
#include <QVBoxLayout>

#include <typeinfo>

const QString QZAlbumEditor::chooseHeading = QStringLiteral("Select Photo Above to Edit Caption");
const QString QZAlbumEditor::captionHeading = QStringLiteral("Caption for Selected Photo");
const QStringList QZAlbumEditor::photoFileTypes { QStringLiteral("jpg"), QStringLiteral("jpeg"), QStringLiteral("png"),
    QStringLiteral("gif"), QStringLiteral("tif"), QStringLiteral("tiff"), QStringLiteral("bmp"), QStringLiteral("JPG"),
    QStringLiteral("JPEG"), QStringLiteral("PNG"), QStringLiteral("GIF"), QStringLiteral("TIF"), QStringLiteral("TIFF"),
    QStringLiteral("BMP") };

namespace {

// The grid's cells.
const QSizeF photoItemSize(120, 90);

QHBoxLayout* tightRow()
{
    auto* row = new QHBoxLayout;
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(4);
    return row;
}

} // namespace

QZAlbumEditor::QZAlbumEditor(QWidget* parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("QZAlbumEditor"));
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(4, 4, 4, 4);
    column->addWidget(buildTitleRow());

    _description = new TextEditorArea(QStringLiteral("Description"), {}, this);
    _arrayView = new QZArraySelectView2;
    _arrayView->setItemSize(photoItemSize);
    _arrayView->setTargetAction([this](QZArraySelectView2*) { arrayAction(); });
    _arrayView->setClick([this](QZArraySelectView2*) { arrayClick(); });
    _arrayView->setDragDropEnabled(true);

    _albumSplitter = new SplitView(Qt::Vertical);
    _albumSplitter->addWidget(_arrayView->makeScrollView());
    _albumSplitter->addWidget(buildCaptionArea());
    _albumSplitter->setStretchFactor(0, 1);
    _albumSplitter->setConstrainHook([this](int proposed, int) { return constrainAlbumDivider(proposed); });

    _mainSplitter = new SplitView(Qt::Vertical, this);
    _mainSplitter->addWidget(_description);
    _mainSplitter->addWidget(_albumSplitter);
    _mainSplitter->setStretchFactor(1, 1);
    _mainSplitter->setConstrainHook([this](int proposed, int) { return constrainMainDivider(proposed); });
    // The dividers decide how small the areas get: they may close them.
    _description->setMinimumHeight(1);
    _albumSplitter->setMinimumHeight(1);
    _mainSplitter->setSizes({ 160, 480 });
    _albumSplitter->setSizes({ 260, 220 });
    column->addWidget(_mainSplitter, 1);

    changeLinkType(LinkOnWords);
    clearLastPhotoUUID();
}

QZAlbumEditor::~QZAlbumEditor() = default;

QWidget* QZAlbumEditor::buildTitleRow()
{
    auto* holder = new QWidget(this);
    auto* row = tightRow();
    holder->setLayout(row);
    row->addWidget(new MyLabel(0, QStringLiteral("Title"), holder));
    _albumTitle = new MyTextField(0, holder);
    _albumTitle->setToolTip(QStringLiteral("The page's title"));
    row->addWidget(_albumTitle, 1);
    lq::connectAction(_albumTitle, &QLineEdit::textEdited, this, "controlTextDidChange:", [this] { markChanged(); });
    _addPhotos = new MyButton(0, QStringLiteral("Add Photos…"), holder);
    _addPhotos->setToolTip(QStringLiteral("Chooses picture files to add to this page, after its last photo"));
    lq::connectAction(_addPhotos, &QPushButton::clicked, this, "addPhotos:", [this] { addPhotos(); });
    row->addWidget(_addPhotos);
    auto* siteSettings = new MyButton(0, QStringLiteral("Site Settings"), holder);
    siteSettings->setToolTip(QStringLiteral("Edits the masthead, the footer and the pages of the site"));
    lq::connectAction(siteSettings, &QPushButton::clicked, this, "editMastHead:", [this] { editMastHead(); });
    row->addWidget(siteSettings);
    auto* payPalButton = new MyButton(0, QStringLiteral("PayPal"), holder);
    payPalButton->setToolTip(QStringLiteral("Sells this page's photos through PayPal"));
    lq::connectAction(payPalButton, &QPushButton::clicked, this, "PayPal:", [this] { payPal(); });
    row->addWidget(payPalButton);
    return holder;
}

QWidget* QZAlbumEditor::buildCaptionArea()
{
    auto* area = new QWidget;
    auto* column = new QVBoxLayout(area);
    column->setContentsMargins(0, 4, 0, 0);
    column->setSpacing(4);
    _selectPhotoText = new MyLabel(0, chooseHeading, area);
    QFont bold = _selectPhotoText->font();
    bold.setBold(true);
    _selectPhotoText->setFont(bold);
    column->addWidget(_selectPhotoText);

    QZTextEditor::ControlOptions options;
    options.kindPopUp = false;
    _caption = new TextEditorArea(QString(), options, area);
    column->addWidget(_caption, 1);

    // The link controls go in a row of their own, after the link type.
    auto* linkRow = tightRow();
    _imageLink = new MyPopUpButton(0, area);
    _imageLink->addItemWithTag(QStringLiteral("Link on Words"), LinkOnWords);
    _imageLink->addItemWithTag(QStringLiteral("Link on Photo"), LinkOnPhoto);
    _imageLink->addItemWithTag(QStringLiteral("Alternate Text"), AlternateText);
    _imageLink->setToolTip(QStringLiteral("Links selected words of the caption, links the whole photo, or edits the "
                                          "text shown in place of the photo"));
    lq::connectAction(_imageLink, &QComboBox::activated, this, "changeLinkType:",
                      [this] { changeLinkType(_imageLink->currentIndex()); });
    linkRow->addWidget(_imageLink);
    const QZTextEditor::Controls& controls = _caption->editor()->controls();
    for (QWidget* control : std::initializer_list<QWidget*> { controls.lLink, controls.linkButton, controls.NewWindow }) {
        _caption->controlsRow()->removeWidget(control);
        control->setParent(area);
        linkRow->addWidget(control, control == controls.lLink ? 1 : 0);
    }
    _caption->controlsRow()->addStretch(1);
    _altText = new MyTextField(0, area);
    _altText->setPlaceholderText(QStringLiteral("Shown in place of the photo"));
    linkRow->addWidget(_altText, 1);
    column->addLayout(linkRow);
    return area;
}

// --- Editor panel -----------------------------------------------------------------------------

void QZAlbumEditor::setDocument(EditorHost* document)
{
    _document = document;
    _description->setHost(document);
    _caption->setHost(document);
    _arrayView->setVerdaneDocument(document);
}

XmlAlbum* QZAlbumEditor::album() const
{
    if (!_document)
        return nullptr;
    const std::shared_ptr<XmlBase> current = _document->currentObject();
    // Groups are album pages too, with a panel of their own.
    if (!current || typeid(*current) != typeid(XmlAlbum))
        return nullptr;
    return XmlAlbum::cast(current.get());
}

std::shared_ptr<XmlPhoto> QZAlbumEditor::photoAtSelection(XmlAlbum& page) const
{
    const XmlBaseList photos = page.photoObjects();
    const int index = _arrayView->firstSelectedItem();
    if (index < 0 || index >= photos.size())
        return nullptr;
    return std::dynamic_pointer_cast<XmlPhoto>(photos[index]);
}

std::shared_ptr<XmlPhoto> QZAlbumEditor::chosenPhoto() const
{
    if (_lastPhotoUUID.isEmpty())
        return nullptr;
    return std::dynamic_pointer_cast<XmlPhoto>(XmlBase::UUID(_lastPhotoUUID));
}

void QZAlbumEditor::loadEditor()
{
    lq::uiFrame(this, "loadEditor", [&] {
        XmlAlbum* page = album();
        if (!page)
            return;
        _description->editor()->loadMyTextView(page->webcontent().get());
        _albumTitle->setText(page->content());
        _arrayView->setXmlBase(page->UUID());
        _arrayView->fitMe();
        if (const std::shared_ptr<XmlPhoto> photo = photoAtSelection(*page)) {
            _arrayView->selectIndexClearAll(_arrayView->firstSelectedItem(), true);
            setLastPhotoUUID(photo->UUID());
        } else {
            clearLastPhotoUUID();
        }
    });
}

void QZAlbumEditor::addPhotos()
{
    lq::uiFrame(this, "addPhotos:", [&] {
        if (!album())
            return;
        lq::FilePanelRequest request;
        request.window = window();
        request.title = QStringLiteral("Add Photos");
        request.prompt = QStringLiteral("Add");
        request.folder = QStandardPaths::writableLocation(QStandardPaths::PicturesLocation);
        if (!QFileInfo(request.folder).isDir())
            request.folder = QDir::homePath();
        request.fileTypes = photoFileTypes;
        request.typesLabel = QStringLiteral("Pictures");
        const QStringList chosen = lq::modalHandler().runOpenFilesPanel(request);
        if (!chosen.isEmpty())
            _arrayView->addFiles(chosen);
    });
}

void QZAlbumEditor::saveEditor()
{
    lq::uiFrame(this, "saveEditor", [&] {
        XmlAlbum* page = album();
        if (!page)
            return;
        {
            const SuppressedChanges quiet(*page);
            _description->editor()->saveMyTextView(page->webcontent().get());
            page->setContent(_albumTitle->text());
        }
        saveChosenPhoto();
    });
}

void QZAlbumEditor::saveChosenPhoto()
{
    const std::shared_ptr<XmlPhoto> photo = chosenPhoto();
    if (!photo)
        return;
    _caption->editor()->saveMyTextView(photo->caption().get());
    // The alternate text is no text the user types into the page: a
    // changed one marks the document when it is stored.
    if (_altText->text() != photo->altText())
        photo->setAltText(_altText->text());
}

void QZAlbumEditor::refreshEditor()
{
    lq::uiFrame(this, "refreshEditor", [&] {
        XmlAlbum* page = album();
        if (!page)
            return;
        _arrayView->fitMe();
        // A chosen photo that left the page (deleted, or dragged elsewhere)
        // is chosen no more; what was typed for it is kept with it.
        if (const std::shared_ptr<XmlPhoto> photo = chosenPhoto(); photo && photo->parent() != page) {
            saveChosenPhoto();
            clearLastPhotoUUID();
        }
    });
}

int QZAlbumEditor::getMenuItemState(int tag)
{
    Q_UNUSED(tag);
    return TextEditorArea::menuItemState({ caption(), description() });
}

void QZAlbumEditor::menuClicked(int tag)
{
    TextEditorArea::menuClicked(tag, { caption(), description() });
}

void QZAlbumEditor::enableRTL(int flag)
{
    caption()->enableRTL(flag != 0);
    description()->enableRTL(flag != 0);
}

// --- The chosen photo ------------------------------------------------------------------------

void QZAlbumEditor::clearLastPhotoUUID()
{
    lq::uiFrame(this, "clearLastPhotoUUID", [&] {
        _lastPhotoUUID = QStringLiteral("");
        _arrayView->clearSelection();
        _arrayView->update();
        caption()->loadMyTextView(nullptr);
        caption()->displayLinkParams();
        _altText->clear();
        _altText->setEnabled(false);
        _selectPhotoText->setText(chooseHeading);
        _imageLink->setEnabled(false);
    });
}

void QZAlbumEditor::setLastPhotoUUID(const QString& uuid)
{
    lq::uiFrame(this, "setLastPhotoUUID:", [&] {
        _lastPhotoUUID = uuid;
        const std::shared_ptr<XmlPhoto> photo = chosenPhoto();
        if (!photo) {
            clearLastPhotoUUID();
            return;
        }
        caption()->loadMyTextView(photo->caption().get());
        caption()->displayLinkParams();
        _altText->setText(photo->altText());
        _altText->setEnabled(true);
        _selectPhotoText->setText(captionHeading);
        _imageLink->setEnabled(true);
    });
}

void QZAlbumEditor::arrayClick()
{
    lq::uiFrame(this, "arrayClick:", [&] {
        XmlAlbum* page = album();
        if (!page)
            return;
        saveChosenPhoto();
        if (const std::shared_ptr<XmlPhoto> photo = photoAtSelection(*page))
            setLastPhotoUUID(photo->UUID());
        else
            clearLastPhotoUUID();
    });
}

void QZAlbumEditor::arrayAction()
{
    lq::uiFrame(this, "arrayAction:", [&] {
        XmlAlbum* page = album();
        if (!page)
            return;
        if (const std::shared_ptr<XmlPhoto> photo = photoAtSelection(*page))
            _document->setCurrentObject(photo.get());
    });
}

// --- Link type ------------------------------------------------------------------------------------

void QZAlbumEditor::changeLinkType(int index)
{
    lq::uiFrame(this, "changeLinkType:", [&] {
        switch (index) {
        case LinkOnWords:
            caption()->setLinkTarget(nullptr);
            showLinkControls(true);
            break;
        case LinkOnPhoto:
            caption()->setLinkTarget(this);
            showLinkControls(true);
            break;
        case AlternateText:
            caption()->setLinkTarget(nullptr);
            showLinkControls(false);
            break;
        default:
            return;
        }
        if (_imageLink->currentIndex() != index)
            _imageLink->setCurrentIndex(index);
    });
}

void QZAlbumEditor::showLinkControls(bool linkShown)
{
    linkList()->setVisible(linkShown);
    newWindowButton()->setVisible(linkShown);
    easyButton()->setVisible(linkShown);
    _altText->setVisible(!linkShown);
}

// --- The photo's own link ---------------------------------------------------------------------

QVariant QZAlbumEditor::getLink()
{
    return lq::uiFrame(this, "getLink", [&]() -> QVariant {
        const std::shared_ptr<XmlPhoto> photo = album() ? chosenPhoto() : nullptr;
        if (!photo)
            return QStringLiteral("");
        return photo->caption()->embeddedLink();
    });
}

int QZAlbumEditor::getNewWindow()
{
    return lq::uiFrame(this, "getNewWindow", [&] {
        const std::shared_ptr<XmlPhoto> photo = album() ? chosenPhoto() : nullptr;
        return photo ? photo->caption()->newWindow() : 0;
    });
}

void QZAlbumEditor::setLink(const QVariant& link)
{
    lq::uiFrame(this, "setLink:", [&] {
        if (const std::shared_ptr<XmlPhoto> photo = album() ? chosenPhoto() : nullptr)
            photo->caption()->setEmbeddedLink(link.isValid() ? link : QVariant(QStringLiteral("")));
    });
}

void QZAlbumEditor::setNewWindow(int newWindow)
{
    lq::uiFrame(this, "setNewWindow:", [&] {
        if (const std::shared_ptr<XmlPhoto> photo = album() ? chosenPhoto() : nullptr)
            photo->caption()->setNewWindow(newWindow);
    });
}

// --- Other actions ----------------------------------------------------------------------------------

void QZAlbumEditor::editMastHead()
{
    lq::uiFrame(this, "editMastHead:", [&] {
        XmlSite* site = _document ? _document->document().site() : nullptr;
        if (site && site->homepage())
            _document->setCurrentObject(site->homepage());
    });
}

void QZAlbumEditor::payPal()
{
    if (_document)
        _document->switchToPayPalEditor();
}

void QZAlbumEditor::markChanged()
{
    if (_document)
        _document->document().updateChangeCount(DocumentBase::ChangeDone);
}

// --- Dividers --------------------------------------------------------------------------------------

int QZAlbumEditor::constrainMainDivider(int proposed) const
{
    int position = proposed;
    if (position < descriptionOpen)
        position = position > descriptionSnap ? descriptionOpen : 0;
    const int bottom = _mainSplitter->height() - _mainSplitter->handleWidth();
    if (position > bottom - lowerAreaSnap)
        position = bottom;
    return position;
}

int QZAlbumEditor::constrainAlbumDivider(int proposed) const
{
    return std::max(proposed, gridMinimum);
}

// --- Parts -------------------------------------------------------------------------------------------

QZTextEditor* QZAlbumEditor::description() const
{
    return _description->editor();
}

QZTextEditor* QZAlbumEditor::caption() const
{
    return _caption->editor();
}

QLineEdit* QZAlbumEditor::linkList() const
{
    return _caption->editor()->controls().lLink;
}

QAbstractButton* QZAlbumEditor::newWindowButton() const
{
    return _caption->editor()->controls().NewWindow;
}

QAbstractButton* QZAlbumEditor::easyButton() const
{
    return _caption->editor()->controls().linkButton;
}
