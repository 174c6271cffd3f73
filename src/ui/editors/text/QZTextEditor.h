#pragma once

#include "model/core/TextEditorBase.h"
#include "platform/Range.h"
#include "platform/text/Font.h"
#include "platform/text/ParagraphStyle.h"
#include "platform/text/StyledText.h"
#include "ui/widgets/TextView.h"

#include <QList>
#include <QMetaObject>
#include <QObject>
#include <QPointer>
#include <QVariant>

#include <functional>
#include <optional>

class DocumentBase;
class EasyLinkOpener;
class LinkTarget;
class QAbstractButton;
class QComboBox;
class QLineEdit;
class QWidget;
class XmlBase;

// The rich-text editor: turns a text view into the editor of one element's
// stored rich text. It keeps the fonts and line spacings of the six
// paragraph kinds, applies kinds, bold, italic, underline, alignment,
// right-to-left direction and links to the selection (or to what is typed
// next), keeps its controls in step with the text at the caret, and loads an
// element's stored text into the view and stores it back.
//
// An owner (a pane, a sheet, the document window) makes one editor per text
// view: it builds the controls it wants (buildControls, or its own), hands
// them over with setControls, gives the view with setCtv and the document
// with setDocument, then loads an element when its pane loads
// (loadMyTextView) and stores it when the pane saves (saveMyTextView). An
// owner that writes the text back after every edit sets setLiveUpdate and
// calls liveUpdateGetContent from it.
//
// Paragraph kinds 0 to 5 are normal, heading, subheading, caption, alternate
// and alternate 2; the text carries them under "QZParagraphStyle". An editor
// without any kind control (fStyle, pHeading, pNormal) treats every
// paragraph as normal, reading and writing.
class QZTextEditor : public QObject, public TextEditorBase {
    Q_OBJECT
public:
    // The controls the editor drives; every one is optional. Buttons are
    // checkable: the editor checks them to show the text at the caret.
    struct Controls {
        QAbstractButton* pNormal = nullptr;
        QAbstractButton* pHeading = nullptr;
        QAbstractButton* pUnderline = nullptr;
        QAbstractButton* pItalic = nullptr;
        QAbstractButton* pBold = nullptr;
        QAbstractButton* pLeft = nullptr;
        QAbstractButton* pRight = nullptr;
        QAbstractButton* pCenter = nullptr;
        // The link of the selection, editable.
        QLineEdit* lLink = nullptr;
        // The link opens a new window.
        QAbstractButton* NewWindow = nullptr;
        // One item per paragraph kind, filled by setFontStyles.
        QComboBox* fStyle = nullptr;
        QAbstractButton* RTLButton = nullptr;
        // Opens the link picker (easyLink).
        QAbstractButton* linkButton = nullptr;
    };
    struct ControlOptions {
        bool kindButtons = true; // "Normal" and "Heading"
        bool kindPopUp = true;   // the paragraph kind pop-up
        bool rightToLeft = true; // the direction button
    };
    // Makes the usual row of controls in the container (its layout, or a new
    // row), for setControls.
    static Controls buildControls(QWidget* container, const ControlOptions& options);

    explicit QZTextEditor(QObject* parent = nullptr);
    ~QZTextEditor() override;

    // The editor of the text view the widget is, or lies in; none when it
    // is in no editor's view.
    static QZTextEditor* editorOf(QWidget* widget);

    // Connects the controls' actions and takes them over.
    void setControls(const Controls& controls);
    const Controls& controls() const { return _controls; }

    // --- The view and what the editor works with --------------------------------------
    void setCtv(lq::TextView* view) override;
    void setCtvInContainer(lq::TextView* view, const std::shared_ptr<lq::TextContainer>& container) override;
    lq::TextView* ctv() const { return _ctv; }
    // The document that typing marks changed, whose pages page links name.
    void setDocument(DocumentBase* document) { _document = document; }
    // When set, links are read from and written to this object instead of the text.
    void setLinkTarget(LinkTarget* target);
    // Told after every edit of the view's text.
    void setLiveUpdate(std::function<void()> liveUpdate) { _liveUpdate = std::move(liveUpdate); }
    // Opens the link picker for easyLink.
    void setEasyLinkOpener(EasyLinkOpener* opener) { _easyLinkOpener = opener; }

    void setNormalFont(const lq::Font& font) override { normalFont = font; }
    void setHeadingFont(const lq::Font& font) override { headingFont = font; }
    void setSubheadingFont(const lq::Font& font) override { subheadingFont = font; }
    void setCaptionFont(const lq::Font& font) override { captionFont = font; }
    void setAlternateFont(const lq::Font& font) override { alternateFont = font; }
    void setAlternate2Font(const lq::Font& font) override { alternate2Font = font; }
    void setNormalLS(int spacing) override { _normalLS = spacing; }
    void setHeadingLS(int spacing) override { _headingLS = spacing; }
    void setSubheadingLS(int spacing) override { _subheadingLS = spacing; }
    void setCaptionLS(int spacing) override { _captionLS = spacing; }
    void setAlternateLS(int spacing) override { _alternateLS = spacing; }
    void setAlternate2LS(int spacing) override { _alternate2LS = spacing; }
    // The font and line spacing of a paragraph kind (normal's for an
    // unknown kind, and for the alternates while they have no font).
    lq::Font fontForKind(int kind) const;
    int lineSpacingForKind(int kind) const;

    // The link being edited: the link target's when one is set, else the
    // link of the typing attributes; an address, a page number, or nothing.
    QVariant link() const;

    // --- Controls ----------------------------------------------------------------------
    // Shows the direction button only when right-to-left text is enabled.
    void enableRTL(bool enabled);
    void setFontStyles(const QStringList& titles) override;
    void setControlsEnabled(bool enabled);
    // Whether the view has the keyboard focus (owners enable their Bold,
    // Italic and Underline menu items with it).
    bool textViewFirstResponder() const { return _textViewFirstResponder; }

    // --- Loading and storing -----------------------------------------------------------
    // Reading never fails: an element left open at the end of the text ends
    // there, so the view always shows what the element holds.
    void loadMyTextView(XmlBase* element) override;
    void saveMyTextView(XmlBase* element) override;
    // Stores the view's text in the element, marking the document changed.
    void liveUpdateGetContent(XmlBase* element);
    // The view's text as stored rich text.
    QString createContent() const;
    // Stored rich text read as the editor shows it.
    lq::StyledText readStoredText(const QString& stored) const;

    // --- Actions -----------------------------------------------------------------------
    void bold();
    void italic();
    void underline();
    void left();
    void center();
    void right();
    void rtl(bool rightToLeft);
    void fontStyle();
    void heading();
    void normal();
    void clickNew();
    void easyLink();
    void fontStyleInt(int kind);
    void changeAlignment(int alignment);
    // The text menu's command of the tag (TextMenuTag: bold to right);
    // answers whether the tag is one of them.
    bool menuCommand(int tag);
    // Sets or (with nothing) removes the link over the selection, or over
    // the link or word at the caret.
    void linkNewWindow(const QVariant& link, int newWindow);
    void setLinkNewWindow(int newWindow);
    // The link picker's answer.
    void setEasyLink(const QVariant& link);
    void setTypingAttributes();
    void displayLinkParams();

    // --- What the view and the link field report ---------------------------------------
    void controlTextDidChange();
    void textViewDidChangeTypingAttributes();
    void textStorageWillProcessEditing(int position, int charsRemoved, int charsAdded);
    void textStorageDidProcessEditing();

private:
    bool hasParagraphKindControls() const;
    // The lines the selection touches, without the last one's line break.
    lq::Range paragraphRange() const;
    // A paragraph style from the base one.
    lq::ParagraphStyle paragraphStyle(int alignment, int direction, int kind) const;
    // Sets the kind's font and number over the paragraph range (with the
    // paragraph style when given) and makes it the typing kind.
    void applyParagraphKind(int kind, const std::optional<lq::ParagraphStyle>& style);
    void toggleStyle(bool& flag, const std::function<void(lq::Range)>& applyToSelection);
    void showParagraphKind(int kind);
    // Left, centre or right: the typing alignment, the paragraphs and the buttons.
    void alignAndShow(int alignment);
    void showAlignment(int alignment);
    // What the link field shows for a link.
    QString linkText(const QVariant& link) const;
    void letViewGo();
    void connectView();
    // Stores the view's text into an element and loads it back: pasted
    // text keeps only what stored text holds.
    void reduceToStoredText();

    Controls _controls;
    QPointer<lq::TextView> _ctv;
    // The view is attached to a container by the editor (setCtvInContainer).
    bool _attachedToContainer = false;
    QList<QMetaObject::Connection> _viewConnections;
    DocumentBase* _document = nullptr;
    LinkTarget* _linkTarget = nullptr;
    EasyLinkOpener* _easyLinkOpener = nullptr;
    std::function<void()> _liveUpdate;

    lq::ParagraphStyle pstyle;
    lq::Font normalFont;
    lq::Font headingFont;
    lq::Font subheadingFont;
    lq::Font captionFont;
    std::optional<lq::Font> alternateFont;
    std::optional<lq::Font> alternate2Font;
    int _cAlignment = 0;
    int _cDirection = 0;
    int _cParagraphType = 0;
    bool _cBold = false;
    bool _cItalic = false;
    bool _cUnderline = false;
    QVariant _link;
    int _newWindow = 0;
    int _normalLS = 0;
    int _headingLS = 0;
    int _subheadingLS = 0;
    int _captionLS = 0;
    int _alternateLS = 0;
    int _alternate2LS = 0;
    bool _textViewFirstResponder = false;
    // While the user's edit of the link field is being applied.
    bool _editingLinkField = false;
};
