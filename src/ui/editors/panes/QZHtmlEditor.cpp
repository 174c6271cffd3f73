#include "ui/editors/panes/QZHtmlEditor.h"

#include "document/MyDocument.h"
#include "ui/editors/EditorHost.h"
#include "model/core/SuppressedChanges.h"
#include "model/site/XmlBodyHTML.h"
#include "model/site/XmlDescription.h"
#include "model/site/XmlHeadHTML.h"
#include "model/site/XmlHomePage.h"
#include "model/site/XmlSearchTags.h"
#include "model/site/XmlSite.h"
#include "platform/ExceptionFrame.h"
#include "platform/text/Font.h"
#include "ui/widgets/ActionConnection.h"
#include "ui/widgets/MyButton.h"
#include "ui/widgets/MyCheckBox.h"
#include "ui/widgets/MyLabel.h"
#include "ui/widgets/MyPopUpButton.h"
#include "ui/widgets/MyTextField.h"
#include "ui/widgets/SplitView.h"
#include "ui/widgets/ScreenText.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QTextDocument>
#include <QVBoxLayout>

const QStringList& QZHtmlEditor::languageTitles()
{
    // In the order of the page writer's language codes.
    static const QStringList titles {
        QStringLiteral("None"),       QStringLiteral("Arabic"),    QStringLiteral("Bulgarian"),
        QStringLiteral("Catalan"),    QStringLiteral("Chinese"),   QStringLiteral("Croatian"),
        QStringLiteral("Czech"),      QStringLiteral("Danish"),    QStringLiteral("Dutch"),
        QStringLiteral("English"),    QStringLiteral("Estonian"),  QStringLiteral("Finnish"),
        QStringLiteral("French"),     QStringLiteral("German"),    QStringLiteral("Greek"),
        QStringLiteral("Hebrew"),     QStringLiteral("Hungarian"), QStringLiteral("Icelandic"),
        QStringLiteral("Indonesian"), QStringLiteral("Italian"),   QStringLiteral("Japanese"),
        QStringLiteral("Korean"),     QStringLiteral("Latvian"),   QStringLiteral("Lithuanian"),
        QStringLiteral("Norwegian"),  QStringLiteral("Polish"),    QStringLiteral("Portuguese"),
        QStringLiteral("Romanian"),   QStringLiteral("Russian"),   QStringLiteral("Serbian"),
        QStringLiteral("Slovak"),     QStringLiteral("Slovenian"), QStringLiteral("Spanish"),
        QStringLiteral("Swedish"),    QStringLiteral("Turkish"),
    };
    return titles;
}

QZHtmlEditor::QZHtmlEditor(QWidget* parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("QZHtmlEditor"));
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(4, 4, 4, 4);

    auto* top = new QHBoxLayout;
    auto* back = new MyButton(0, QStringLiteral("Site Settings"), this);
    back->setToolTip(QStringLiteral("Back to the masthead, footer and pages of the site"));
    lq::connectAction(back, &QPushButton::clicked, this, "backTo:", [this] { backTo(); });
    top->addWidget(back);
    top->addStretch(1);
    column->addLayout(top);
    column->addWidget(buildSettings());

    _splitter = new SplitView(Qt::Vertical, this);
    _splitter->addWidget(buildHalf(QStringLiteral("HTML added to the head of every page"), _headHTML));
    _splitter->addWidget(buildHalf(QStringLiteral("HTML added to the body of every page"), _bodyHTML));
    column->addWidget(_splitter, 1);
}

QZHtmlEditor::~QZHtmlEditor() = default;

QWidget* QZHtmlEditor::buildSettings()
{
    auto* settings = new QWidget(this);
    auto* form = new QFormLayout(settings);
    form->setContentsMargins(0, 0, 0, 0);
    _langSelect = new MyPopUpButton(0, settings);
    _langSelect->addItems(languageTitles());
    _langSelect->setToolTip(QStringLiteral("The language the pages are written in"));
    lq::connectAction(_langSelect, &QComboBox::activated, this, "changeLanguage:", [this] { markChanged(); });
    _description = new MyTextField(0, settings);
    _description->setToolTip(QStringLiteral("What search engines show about the site"));
    _keywords = new MyTextField(0, settings);
    _keywords->setToolTip(QStringLiteral("Words search engines may find the site by, separated by commas"));
    for (MyTextField* field : { _description, _keywords })
        lq::connectAction(field, &QLineEdit::textEdited, this, "controlTextDidChange:", [this] { markChanged(); });
    _disableImageWell = new MyCheckBox(0, QStringLiteral("Publish the original pictures, without the photo editor's changes"),
                                       settings);
    lq::connectAction(_disableImageWell, &QAbstractButton::clicked, this, "disableImageWell:", [this] { markChanged(); });
    form->addRow(lq::plainLabel(QStringLiteral("Language")), _langSelect);
    form->addRow(lq::plainLabel(QStringLiteral("Description")), _description);
    form->addRow(lq::plainLabel(QStringLiteral("Keywords")), _keywords);
    form->addRow(_disableImageWell);
    return settings;
}

QWidget* QZHtmlEditor::buildHalf(const QString& title, QPlainTextEdit*& view)
{
    auto* half = new QWidget;
    auto* column = new QVBoxLayout(half);
    column->setContentsMargins(0, topMargin, 0, 0);
    column->setSpacing(2);
    column->addWidget(new MyLabel(0, title, half));
    view = new QPlainTextEdit(half);
    view->setFont(lq::Font(QStringLiteral("Monaco"), 12).toQFont());
    view->setLineWrapMode(QPlainTextEdit::NoWrap);
    view->setMinimumHeight(24);
    // Loading the text leaves nothing to undo; the user's edits do.
    QTextDocument* text = view->document();
    connect(text, &QTextDocument::contentsChanged, this, [this, text] {
        if (text->isUndoAvailable())
            markChanged();
    });
    column->addWidget(view, 1);
    return half;
}

XmlHomePage* QZHtmlEditor::homepage() const
{
    return _document ? XmlHomePage::cast(_document->currentObject().get()) : nullptr;
}

void QZHtmlEditor::loadEditor()
{
    lq::uiFrame(this, "loadEditor", [&] {
        XmlHomePage* home = homepage();
        if (!home)
            return;
        _headHTML->setPlainText(home->headHTML()->content());
        _bodyHTML->setPlainText(home->bodyHTML()->content());
        _description->setText(home->description()->content());
        _keywords->setText(home->searchTags()->content());
        const int language = home->langcode();
        _langSelect->setCurrentIndex(language >= 0 && language < _langSelect->count() ? language : 0);
        XmlSite* site = _document->document().site();
        _disableImageWell->setChecked(site && site->disableImageWell() != 0);
    });
}

void QZHtmlEditor::saveEditor()
{
    lq::uiFrame(this, "saveEditor", [&] {
        XmlHomePage* home = homepage();
        if (!home)
            return;
        const SuppressedChanges quiet(*home);
        home->headHTML()->setContent(_headHTML->toPlainText());
        home->bodyHTML()->setContent(_bodyHTML->toPlainText());
        home->description()->setContent(_description->text());
        home->searchTags()->setContent(_keywords->text());
        home->setLangcode(_langSelect->currentIndex());
        if (XmlSite* site = _document->document().site())
            site->setDisableImageWell(_disableImageWell->isChecked() ? 1 : 0);
    });
}

void QZHtmlEditor::backTo()
{
    if (_document)
        _document->switchToRegularEditor();
}

void QZHtmlEditor::markChanged()
{
    if (_document)
        _document->document().updateChangeCount(DocumentBase::ChangeDone);
}
