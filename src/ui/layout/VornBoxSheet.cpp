// The Vorn Box sheet: the template's boxes in a list with add, delete, up
// and down; the selected box's kind, its external file or address with
// what a movie or a picture does, its rich text, its HTML snippet or its
// layer; and the pickers of a file of the site and of a link.
#include "ui/layout/VornBoxSheet.h"

#include "ui/layout/LayoutController.h"

#include "ui/app/MyDocumentWindow.h"
#include "document/MyDocument.h"
#include "ui/editors/links/EasyLink.h"
#include "ui/editors/links/EasyLink2.h"
#include "ui/editors/panes/TextEditorArea.h"
#include "ui/editors/photo/ImageWell.h"
#include "ui/editors/text/QZTextEditor.h"
#include "elements/XmlVornBox.h"
#include "ui/layout/ElementTables.h"
#include "ui/layout/InspectorTags.h"
#include "ui/layout/QZLayoutView.h"
#include "model/files/XmlFiles.h"
#include "model/site/XmlAlbum.h"
#include "model/site/XmlSite.h"
#include "platform/ExceptionFrame.h"
#include "ui/widgets/ControlTags.h"
#include "ui/widgets/ControlValues.h"
#include "ui/widgets/MyButton.h"
#include "ui/widgets/MyLabel.h"
#include "ui/widgets/MyMatrix.h"
#include "ui/widgets/MyPopUpButton.h"
#include "ui/widgets/MyTabView.h"
#include "ui/widgets/MyTableView.h"
#include "ui/widgets/MyTextField.h"
#include "ui/widgets/MyTextView.h"
#include "ui/widgets/SheetBuilder.h"
#include "templates/XmlCSSImage.h"
#include "templates/XmlStyleSheet.h"

#include <QBoxLayout>
#include <QItemSelectionModel>
#include <QScopedValueRollback>
#include <QSignalBlocker>

namespace {

// The tab items of the kinds of box and of external item, by number; any
// other number shows the first.
const QString& boxKindItem(int type)
{
    static const QString items[] = {QStringLiteral("externalfile"), QStringLiteral("vorntext"), QStringLiteral("HTMLsnippet"),
        QStringLiteral("imageonly")};
    return items[type >= 0 && type <= 3 ? type : 0];
}

const QString& externalKindItem(int type)
{
    static const QString items[] = {QStringLiteral("default"), QStringLiteral("quicktime"), QStringLiteral("flash"), QStringLiteral("image")};
    return items[type >= 0 && type <= 3 ? type : 0];
}

// The layer pop-up's items.
const QStringList& layers()
{
    static const QStringList names = {QStringLiteral("Background"), QStringLiteral("Middle"), QStringLiteral("Foreground")};
    return names;
}

int selectedRowOf(const MyTableView* table)
{
    const QModelIndexList rows = table->selectionModel() ? table->selectionModel()->selectedRows() : QModelIndexList();
    return rows.isEmpty() ? -1 : rows.first().row();
}

} // namespace

QWidget* VornBoxSheet::build()
{
    QWidget* body = buildElementSheet(11, QStringLiteral("Vorn Box"));
    SheetBuilder rows = sheetBuilder(body);
    // The template's Vorn Boxes: on the pages, in the slideshow view, and their names.
    MyTableView* list = _controller.elementTables().makeTable(ElementTables::Kind::VornBoxes, body);
    QObject::connect(list, &QAbstractItemView::clicked, &_controller, [this, list] { _controller.action2(list); });
    SheetBuilder buttons(body, &_controller, [this](QWidget* sender) { _controller.action2(sender); });
    buttons.beginRow();
    for (const auto& [tag, title] : {std::pair {1118, "Add"}, {1119, "Delete"}, {1140, "Up"}, {1141, "Down"}}) {
        MyButton* button = buttons.button(tag, QLatin1String(title));
        button->setAutoDefault(false);
        // As narrow as its title: four side by side in the inspector.
        button->setMinimumWidth(button->fontMetrics().horizontalAdvance(QLatin1String(title)) + 16);
        button->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    }
    buttons.endRow();

    _vornBoxPosition = new QWidget(body);
    addGeometryFields(_vornBoxPosition, QStringLiteral("vornbox"));
    rows.view(_vornBoxPosition);
    rows.label(QStringLiteral("Kind"))
        .popUp(InspectorTag::vornBoxKind, {{QStringLiteral("External file"), 0}, {QStringLiteral("Rich text"), 1},
                                              {QStringLiteral("HTML snippet"), 2}, {QStringLiteral("Layer box"), 3}});
    rows.check(1132, QStringLiteral("Text wraps around the box"));

    // One page per kind of box; the sheet shows the one of the selected box.
    _vornBoxTab = new MyTabView(body);
    _vornBoxTab->addTabViewItem(QStringLiteral("externalfile"), QStringLiteral("File"), buildVornExternalPage());

    _vornBoxTab->addTabViewItem(QStringLiteral("vorntext"), QStringLiteral("Text"), buildVornTextPage());

    auto* snippet = new QWidget;
    SheetBuilder snippetRows = sheetBuilder(snippet);
    snippetRows.text(0, QStringLiteral("The box's HTML:"));
    _htmlSnippetEditor = new MyTextView(snippet);
    _htmlSnippetEditor->setAcceptRichText(false);
    _htmlSnippetEditor->setMinimumHeight(120);
    QObject::connect(_htmlSnippetEditor, &QTextEdit::textChanged, &_controller, [this] { _controller.textDidChange(_htmlSnippetEditor); });
    snippetRows.view(_htmlSnippetEditor);
    _vornBoxTab->addTabViewItem(QStringLiteral("HTMLsnippet"), QStringLiteral("HTML"), snippet);

    auto* layer = new QWidget;
    SheetBuilder layerRows = sheetBuilder(layer);
    layerRows.label(QStringLiteral("Layer"))
        .popUp(1131, {{layers()[0], 0}, {layers()[1], 1}, {layers()[2], 2}});
    layerRows.text(0, QStringLiteral("Its picture is the background of the Borders panel."))->setWordWrap(true);
    _vornBoxTab->addTabViewItem(QStringLiteral("imageonly"), QStringLiteral("Layer"), layer);
    rows.view(_vornBoxTab);
    return body;
}

QWidget* VornBoxSheet::buildVornTextPage()
{
    auto* text = new TextEditorArea(QString(), {.kindButtons = true, .kindPopUp = false, .rightToLeft = true});
    text->setHost(&_controller.window());
    _vornBoxText = text->editor();
    _vornBoxText->setLiveUpdate([this] { liveUpdate(); });
    // The editor's controls in rows the inspector's width holds: the kinds
    // and styles, the alignment and direction, the link. The direction button
    // shows only where the preferences ask for right-to-left text.
    const QZTextEditor::Controls& controls = _vornBoxText->controls();
    auto* column = qobject_cast<QBoxLayout*>(text->layout());
    int place = 1;
    for (const QList<QWidget*>& widgets : {QList<QWidget*> {controls.pLeft, controls.pCenter, controls.pRight, controls.RTLButton},
             QList<QWidget*> {controls.lLink, controls.linkButton}, QList<QWidget*> {controls.NewWindow}}) {
        auto* row = new QWidget(text);
        auto* layout = new QHBoxLayout(row);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->setSpacing(2);
        for (QWidget* control : widgets) {
            text->controlsRow()->removeWidget(control);
            layout->addWidget(control, control == controls.lLink ? 1 : 0);
        }
        if (!widgets.contains(controls.lLink))
            layout->addStretch(1);
        column->insertWidget(place++, row);
    }
    controls.lLink->setMinimumWidth(80);
    text->controlsRow()->addStretch(1);
    text->view()->setMinimumHeight(160);
    return text;
}

QWidget* VornBoxSheet::buildVornExternalPage()
{
    auto* page = new QWidget;
    SheetBuilder rows = sheetBuilder(page);
    rows.label(QStringLiteral("Shows"))
        .popUp(1110, {{QStringLiteral("A web page"), 0}, {QStringLiteral("A QuickTime movie"), 1}, {QStringLiteral("A Flash movie"), 2},
                         {QStringLiteral("A picture"), 3}});
    // The file or address, typed or chosen: the field and its picker side by
    // side. The field reports each keystroke (textChange) and nothing else.
    const auto linkRow = [&](SheetBuilder& into, const QString& title, int tag, void (VornBoxSheet::*pick)()) {
        auto* row = new QWidget;
        row->setProperty(lq::rowHolderProperty, true);
        auto* layout = new QHBoxLayout(row);
        layout->setContentsMargins(0, 0, 0, 0);
        auto* field = new MyTextField(tag, row);
        field->localize();
        QObject::connect(field, &QLineEdit::textEdited, &_controller, [this, field] { _controller.textChange(field); });
        auto* choose = new MyButton(0, QStringLiteral("Choose…"), row);
        choose->setAutoDefault(false);
        QObject::connect(choose, &QAbstractButton::clicked, &_controller, [this, pick] { (this->*pick)(); });
        layout->addWidget(field, 1);
        layout->addWidget(choose);
        into.label(title).view(row);
    };
    linkRow(rows, QStringLiteral("File"), 1120, &VornBoxSheet::vornEasyLink);

    _vornBoxExternalTab = new MyTabView(page);
    auto* web = new QWidget;
    sheetBuilder(web).check(1121, QStringLiteral("Scroll bars"));
    _vornBoxExternalTab->addTabViewItem(QStringLiteral("default"), QStringLiteral("Web"), web);

    auto* movie = new QWidget;
    SheetBuilder movieRows = sheetBuilder(movie);
    movieRows.check(1122, QStringLiteral("Start playing"));
    movieRows.check(1123, QStringLiteral("Movie controller"));
    movieRows.check(1124, QStringLiteral("Loop"));
    movieRows.check(1129, QStringLiteral("Hidden (sound only)"));
    _vornBoxExternalTab->addTabViewItem(QStringLiteral("quicktime"), QStringLiteral("QuickTime"), movie);

    auto* flash = new QWidget;
    sheetBuilder(flash).label(QStringLiteral("Scale"))
        .matrix(1125, {{QStringLiteral("Default"), 0}, {QStringLiteral("No border"), 1}, {QStringLiteral("Exact fit"), 2}});
    _vornBoxExternalTab->addTabViewItem(QStringLiteral("flash"), QStringLiteral("Flash"), flash);

    auto* picture = new QWidget;
    SheetBuilder pictureRows = sheetBuilder(picture);
    _vornImageWell = makeImageWell(InspectorTag::vornImageWell, true);
    pictureRows.label(QStringLiteral("Picture")).view(_vornImageWell);
    linkRow(pictureRows, QStringLiteral("Link"), 1126, &VornBoxSheet::vornClickTo);
    pictureRows.check(1127, QStringLiteral("Open the link in a new window"));
    linkRow(pictureRows, QStringLiteral("Rollover"), 1128, &VornBoxSheet::vornRollOver);
    _vornBoxExternalTab->addTabViewItem(QStringLiteral("image"), QStringLiteral("Picture"), picture);
    rows.view(_vornBoxExternalTab);
    return page;
}

void VornBoxSheet::fill(XmlVornBox& box)
{
    lq::showIndex(sheetView(QStringLiteral("vornbox")), InspectorTag::vornBoxKind, box.type());
    _controller.correctVornBoxUI(&box);
}

void VornBoxSheet::fit(XmlVornBox* box)
{
    lq::uiFrame(&_controller, "correctVornBoxUI:", [&] {
        if (!box)
            return;
        QWidget* view = sheetView(QStringLiteral("vornbox"));
        _vornBoxTab->selectTabViewItemWithIdentifier(boxKindItem(box->type()));
        lq::showIndex(view, 1110, box->settings().externalType());
        _vornBoxExternalTab->selectTabViewItemWithIdentifier(externalKindItem(box->settings().externalType()));
        // The field being typed in keeps its caret: only a different text is shown.
        const auto showField = [view](int tag, const QString& text) {
            auto* field = qobject_cast<QLineEdit*>(lq::viewWithTag(view, tag));
            if (field && field->text() != text)
                lq::showText(view, tag, text);
        };
        showField(1120, box->settings().externalHTML());
        lq::showState(view, 1121, box->settings().scrollbars());
        lq::showState(view, 1122, box->settings().autostart());
        lq::showState(view, 1123, box->settings().moviecontroller());
        lq::showState(view, 1124, box->settings().loopmovie());
        lq::showCell(view, 1125, box->settings().scale());
        showField(1126, box->settings().clickLinkTo());
        lq::showState(view, 1127, box->settings().newWindow());
        showField(1128, box->settings().rollOverImage());
        lq::showState(view, 1129, box->settings().hiddenQT() != 0);
        _vornImageWell->setXmlImage(box->image());
        const int layer = layers().indexOf(box->zlocation());
        lq::showIndex(view, 1131, layer == 0 || layer == 1 ? layer : 2);
        lq::showState(view, 1132, box->settings().wrapsText());

        const QScopedValueRollback<bool> loading(_loadingVornText, true);
        _vornBoxText->loadMyTextView(box);
        const QSignalBlocker quiet(_htmlSnippetEditor);
        _htmlSnippetEditor->setPlainText(box->htmlSnippet()->content());
    });
}

void VornBoxSheet::showVornBoxControls(bool shown)
{
    QWidget* kind = lq::viewWithTag(sheetView(QStringLiteral("vornbox")), InspectorTag::vornBoxKind);
    for (QWidget* control : {kind, _vornBoxPosition, static_cast<QWidget*>(_vornBoxTab)}) {
        if (control)
            control->setVisible(shown);
    }
}

void VornBoxSheet::apply(QWidget* sender, int tag, XmlStyleSheet& sheet, XmlVornBox* box)
{
    if (!box)
        return;
    auto* button = qobject_cast<QAbstractButton*>(sender);
    const bool on = button && button->isChecked();
    const auto index = [sender] {
        auto* popUp = qobject_cast<QComboBox*>(sender);
        return popUp ? popUp->currentIndex() : -1;
    };
    switch (tag) {
    case InspectorTag::vornBoxKind:
        box->settings().setType(index());
        _controller.correctVornBoxUI(box);
        break;
    case 1110:
        box->settings().setExternalType(index());
        _controller.correctVornBoxUI(box);
        _controller.layoutView()->setCurrentSelectedObject(box);
        break;
    case 1121: box->settings().setScrollbars(on); break;
    case 1122: box->settings().setAutostart(on); break;
    case 1123:
        box->settings().setMoviecontroller(on);
        box->updateVorn();
        break;
    case 1124: box->settings().setLoopmovie(on); break;
    case 1125: {
        auto* matrix = qobject_cast<MyMatrix*>(sender);
        if (matrix)
            box->settings().setScale(matrix->selectedTag());
        break;
    }
    case 1127: box->settings().setNewWindow(on); break;
    case 1129:
        box->settings().setHiddenQT(on ? 1 : 0);
        box->updateVorn();
        break;
    case 1131: {
        const int layer = index();
        box->settings().setZlocation(layers()[layer == 0 || layer == 1 ? layer : 2]);
        relayoutTemplate(sheet, true);
        break;
    }
    case 1132:
        box->settings().setWrapsText(on);
        relayoutTemplate(sheet, true);
        break;
    default: break;
    }
}

void VornBoxSheet::applyText(int tag, const QString& text, XmlVornBox& box)
{
    switch (tag) {
    case 1120:
        box.settings().setExternalHTML(text);
        box.updateVorn();
        break;
    case 1126: box.settings().setClickLinkTo(text); break;
    case 1128: box.settings().setRollOverImage(text); break;
    default: return;
    }
    _controller.correctVornBoxUI(&box);
}

void VornBoxSheet::liveUpdate()
{
    lq::uiFrame(&_controller, "liveUpdate", [&] {
        if (_loadingVornText)
            return;
        const XmlBasePtr selected = XmlBase::UUID(_controller.currentSelectedObject());
        XmlVornBox* box = XmlVornBox::cast(selected.get());
        if (!box)
            return;
        _vornBoxText->liveUpdateGetContent(box);
        box->relayoutFlags(_controller.getAlbum().get(), 0);
        _controller.layoutView()->redisplayObject();
    });
}

void VornBoxSheet::listAction(int tag)
{
    const std::shared_ptr<XmlStyleSheet> sheet = _controller.getTemplate();
    if (!sheet)
        return;
    QList<std::shared_ptr<XmlVornBox>> boxes = sheet->getVornBoxes();
    const int row = selectedRowOf(_controller.elementTables().vornBoxList());
    const bool rowChosen = row >= 0 && row < boxes.size();
    switch (tag) {
    case 1118: {
        sheet->addVornBox();
        relayoutTemplate(*sheet, true);
        _controller.elementTables().vornBoxList()->reloadData();
        boxes = sheet->getVornBoxes();
        if (!boxes.isEmpty())
            _controller.layoutView()->setCurrentSelectedObject(boxes.last().get());
        _controller.layoutView()->update();
        showVornBoxControls(true);
        return;
    }
    case 1140:
    case 1141: {
        // Without a chosen row nothing moves.
        if (!rowChosen)
            return;
        const std::shared_ptr<XmlVornBox> moved = boxes[row];
        if (tag == 1140)
            sheet->moveVornBoxUp(moved.get());
        else
            sheet->moveVornBoxDown(moved.get());
        relayoutTemplate(*sheet, true);
        _controller.elementTables().vornBoxList()->reloadData();
        _controller.layoutView()->setCurrentSelectedObject(moved.get());
        return;
    }
    case 1119:
        // Without a chosen row nothing is deleted.
        if (!rowChosen)
            return;
        sheet->deleteVornBox(boxes[row].get());
        relayoutTemplate(*sheet, true);
        _controller.elementTables().vornBoxList()->reloadData();
        break;
    case 1111: break;
    default: return;
    }

    // The list's row (or, for none, the last box) becomes the selection.
    boxes = sheet->getVornBoxes();
    if (boxes.isEmpty()) {
        _controller.layoutView()->setBodyRect(lq::Rect());
        _controller.layoutView()->update();
        showVornBoxControls(false);
        return;
    }
    int shown = selectedRowOf(_controller.elementTables().vornBoxList());
    if (shown < 0 || shown >= boxes.size())
        shown = static_cast<int>(boxes.size()) - 1;
    _controller.layoutView()->setCurrentSelectedObject(boxes[shown].get());
    _controller.layoutView()->update();
    showVornBoxControls(true);
}

EasyLink2& VornBoxSheet::easyLink2()
{
    if (!_easyLink2)
        _easyLink2 = new EasyLink2(&_controller);
    return *_easyLink2;
}

void VornBoxSheet::vornEasyLink()
{
    lq::uiFrame(&_controller, "vornEasyLink:", [&] { pickSiteFile(1120); });
}

void VornBoxSheet::vornRollOver()
{
    lq::uiFrame(&_controller, "vornRollOver:", [&] { pickSiteFile(1128); });
}

void VornBoxSheet::pickSiteFile(int fieldTag)
{
    auto* field = qobject_cast<QLineEdit*>(_controller.controlWithTag(fieldTag));
    XmlSite* site = _controller.document().site();
    XmlBase* files = site ? site->files() : nullptr;
    if (!field || !files)
        return;
    const XmlBasePtr named = EasyLink2::elementWithPath(files, field->text());
    const XmlBasePtr chosen = easyLink2().easyLinkSelectParentWindow(files, named.get(), &_controller.window());
    if (!chosen)
        return;
    field->setText(chosen->filenameWithRoot(QString()));
    _controller.textChange(field);
}

void VornBoxSheet::vornClickTo()
{
    lq::uiFrame(&_controller, "vornClickTo:", [&] {
        auto* field = qobject_cast<QLineEdit*>(_controller.controlWithTag(1126));
        if (!field)
            return;
        _controller.window().easyLink().easyLink(field);
        _controller.textChange(field);
    });
}
