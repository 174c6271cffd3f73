#include "ui/editors/links/EasyLink.h"

#include "document/MyDocument.h"
#include "ui/editors/EditorHost.h"
#include "ui/editors/XmlOutlineView.h"
#include "ui/editors/text/QZTextEditor.h"
#include "model/files/XmlFile.h"
#include "model/files/XmlFiles.h"
#include "model/site/XmlAlbum.h"
#include "model/site/XmlHomePage.h"
#include "model/site/XmlSite.h"
#include "platform/ExceptionFrame.h"
#include "ui/widgets/ModalHandler.h"
#include "ui/widgets/MyPopUpButton.h"
#include "ui/widgets/MyTextField.h"
#include "ui/widgets/SheetBuilder.h"
#include "ui/widgets/TextView.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLineEdit>
#include <QVBoxLayout>

#include <typeinfo>

namespace {

const QString clickLinkPrefix = QStringLiteral("javascript:clickLink('");
const QString clickLinkSuffix = QStringLiteral("')");
const QString mailtoPrefix = QStringLiteral("mailto:");

bool isPageNumber(const QVariant& link)
{
    switch (link.typeId()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
        return true;
    default:
        return false;
    }
}

// A page of exactly the album class: a group is no link target here.
XmlAlbum* albumPageOnly(XmlBase* element)
{
    return element && typeid(*element) == typeid(XmlAlbum) ? static_cast<XmlAlbum*>(element) : nullptr;
}

} // namespace

EasyLink::EasyLink(EditorHost& document, QObject* parent)
    : QObject(parent)
    , _document(document)
{
}

EasyLink::~EasyLink()
{
    delete _sheet;
}

// --- The encoding ----------------------------------------------------------------------------

QString EasyLink::encrypt(const QString& text)
{
    QString encoded;
    encoded.reserve(text.size() * 4);
    for (const QChar character : text) {
        const int code = character.unicode();
        const int digits[4] = { code / 15625, (code % 15625) / 625, (code % 625) / 25, code % 25 };
        int first = 0;
        while (first < 3 && digits[first] == 0)
            ++first;
        for (int i = first; i < 4; ++i)
            encoded += QChar(98 + digits[i]);
        encoded += QLatin1Char('a');
    }
    return encoded;
}

QString EasyLink::decrypt(const QString& text)
{
    QString decoded(QLatin1String(""));
    qint64 value = 0;
    bool inGroup = false;
    for (const QChar letter : text) {
        const char16_t code = letter.unicode();
        if (code == u'a') {
            decoded += QChar(static_cast<char16_t>(value));
            value = 0;
            inGroup = false;
            continue;
        }
        if (code < u'b' || code > u'z')
            return QString();
        value = value * 25 + (code - 98);
        if (value > 0xFFFF)
            return QString();
        inGroup = true;
    }
    if (inGroup)
        decoded += QChar(static_cast<char16_t>(value));
    return decoded;
}

// --- Opening -----------------------------------------------------------------------------------

void EasyLink::easyLink(QZTextEditor* editor)
{
    lq::uiFrame(this, "easyLink:", [&] {
        _textEditor = nullptr;
        _textField = nullptr;
        if (!editor)
            return;
        _textEditor = editor;
        run(editor->link());
    });
}

void EasyLink::easyLink(QLineEdit* field)
{
    lq::uiFrame(this, "easyLink:", [&] {
        _textEditor = nullptr;
        _textField = nullptr;
        if (!field)
            return;
        _textField = field;
        run(field->text());
    });
}

XmlBasePtr EasyLink::siteFileAtPath(const QString& path)
{
    XmlSite* site = _document.document().site();
    XmlBase* reached = site ? site->files() : nullptr;
    if (!reached)
        return nullptr;
    XmlBasePtr found;
    for (const QString& part : path.split(QLatin1Char('/'))) {
        found = reached->firstChildOfType<XmlBase>([&](const XmlBase& child) { return child.name() == part; });
        if (!found)
            return nullptr;
        reached = found.get();
    }
    return XmlFile::cast(found.get()) ? found : nullptr;
}

EasyLink::Preset EasyLink::presetFor(const QVariant& link)
{
    if (isPageNumber(link)) {
        const long long number = link.toLongLong();
        for (const XmlBasePtr& item : _document.document().webItems()) {
            if (auto* page = XmlAlbum::cast(item.get()); page && page->pageSeqNumber() == number)
                return { PageLink, item, {} };
        }
    } else if (link.typeId() == QMetaType::QString) {
        const QString text = link.toString();
        const qsizetype end = text.indexOf(clickLinkSuffix, clickLinkPrefix.size());
        if (text.startsWith(clickLinkPrefix) && end >= 0) {
            const QString address = decrypt(text.mid(clickLinkPrefix.size(), end - clickLinkPrefix.size()));
            if (address.startsWith(mailtoPrefix, Qt::CaseInsensitive))
                return { EmailLink, nullptr, address.mid(mailtoPrefix.size()) };
        }
        if (XmlBasePtr file = siteFileAtPath(text))
            return { FileLink, file, {} };
        // What the sheet writes into a field for a page: the page's address.
        if (!text.isEmpty()) {
            for (const XmlBasePtr& item : _document.document().webItems()) {
                if (XmlAlbum* page = albumPageOnly(item.get()); page && page->externalLink() == text)
                    return { PageLink, item, {} };
            }
        }
    }
    XmlSite* site = _document.document().site();
    return { PageLink, site ? site->defaultAlbum() : nullptr, {} };
}

void EasyLink::run(const QVariant& current)
{
    buildSheet();
    const Preset preset = presetFor(current);
    _emailAddress->setText(preset.email);
    _linkType = preset.linkType;
    LinkType->setCurrentIndex(_linkType);
    updateLinkList();
    if (preset.selected)
        LinkList->selectObject(preset.selected.get());
    if (lq::modalHandler().runSheet(_sheet) == 1)
        createLink();
    closeSheet();
}

void EasyLink::closeSheet()
{
    delete _sheet;
    LinkList = nullptr;
    LinkType = nullptr;
    emailBox = nullptr;
    _emailAddress = nullptr;
}

void EasyLink::buildSheet()
{
    closeSheet();
    _sheet = new QDialog(_document.myWindow());
    _sheet->setWindowTitle(QStringLiteral("Link"));
    _sheet->resize(380, 420);
    auto* layout = new QVBoxLayout(_sheet);
    auto* kindRow = new QWidget(_sheet);
    layout->addWidget(kindRow);
    SheetBuilder kind(kindRow, this, [this](QWidget*) { linkType(LinkType->currentIndex()); });
    LinkType = kind.label(QStringLiteral("Link to:"))
                   .popUp(0, { { QStringLiteral("A page of this website"), PageLink },
                                 { QStringLiteral("A file of this website"), FileLink },
                                 { QStringLiteral("An e-mail address"), EmailLink } });

    LinkList = new XmlOutlineView(0, _sheet);
    LinkList->setController(this);
    LinkList->setTextImageCell();
    LinkList->setMinimumHeight(240);
    layout->addWidget(LinkList, 1);
    // A double click on a target is the same as choosing it and pressing OK.
    connect(LinkList, &QAbstractItemView::doubleClicked, _sheet, [this] {
        if (chosenLink(_textEditor != nullptr).isValid())
            _sheet->done(1);
    });

    emailBox = new QGroupBox(QStringLiteral("E-mail address"), _sheet);
    layout->addWidget(emailBox);
    SheetBuilder email(emailBox, this, {});
    _emailAddress = email.textField(0);
    _emailAddress->setPlaceholderText(QStringLiteral("name@example.com"));
    layout->addStretch();

    auto* buttons = new QWidget(_sheet);
    layout->addWidget(buttons);
    SheetBuilder(buttons, this, {}).sheetButtons(_sheet);
}

// --- The sheet's actions -------------------------------------------------------------------

void EasyLink::linkType(int index)
{
    lq::uiFrame(this, "linkType:", [&] {
        _linkType = index;
        updateLinkList();
    });
}

void EasyLink::updateLinkList()
{
    if (!LinkList)
        return;
    XmlSite* site = _document.document().site();
    if (_linkType == EmailLink) {
        LinkList->hide();
        emailBox->show();
        _emailAddress->setFocus();
        return;
    }
    LinkList->show();
    emailBox->hide();
    XmlBase* root = nullptr;
    if (site)
        root = _linkType == FileLink ? static_cast<XmlBase*>(site->files()) : static_cast<XmlBase*>(site->homepage());
    LinkList->setXmlBase(root ? root->UUID() : QString());
    LinkList->setFocus();
}

QVariant EasyLink::chosenLink(bool forEditor) const
{
    if (_linkType == EmailLink) {
        if (!_emailAddress)
            return QVariant();
        const QString code = encrypt(mailtoPrefix + _emailAddress->text().trimmed());
        return clickLinkPrefix + code + clickLinkSuffix;
    }
    const XmlBasePtr chosen = LinkList ? LinkList->selectedObject() : nullptr;
    if (XmlFile* file = XmlFile::cast(chosen.get()))
        return file->filenameWithRoot(QString());
    if (XmlAlbum* page = albumPageOnly(chosen.get()))
        return forEditor ? QVariant(page->pageSeqNumber()) : QVariant(page->externalLink());
    return QVariant();
}

void EasyLink::createLink()
{
    lq::uiFrame(this, "createLink:", [&] {
        if (_textEditor) {
            const QVariant link = chosenLink(true);
            if (link.isValid())
                _textEditor->setEasyLink(link);
        } else if (_textField) {
            const QVariant link = chosenLink(false);
            if (link.isValid())
                _textField->setText(link.toString());
        }
    });
    if (_sheet && _sheet->isVisible())
        _sheet->done(1);
}

void EasyLink::cancelLink()
{
    if (_sheet)
        _sheet->done(0);
}

// --- The tree's controller -----------------------------------------------------------------

std::optional<bool> EasyLink::outlineViewIsItemExpandable(XmlOutlineView&, XmlBase& item)
{
    return lq::modelFrame(this, "outlineView:isItemExpandable:", [&] {
        return !albumPageOnly(&item) && item.canHaveChildren();
    });
}

std::optional<int> EasyLink::outlineViewNumberOfChildrenOfItem(XmlOutlineView&, XmlBase& item)
{
    if (albumPageOnly(&item))
        return 0;
    return std::nullopt;
}
