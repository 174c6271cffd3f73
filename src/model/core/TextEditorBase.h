#pragma once

#include <QStringList>

#include <memory>

class XmlBase;
namespace lq {
class Font;
class TextContainer;
class TextView;
} // namespace lq

// What the model asks of the document's rich-text editor: the content box
// and the footer hand it their text view when the user edits them in place
// on the layout canvas, with the fonts and line spacings of their paragraph
// kinds, and let it load and store the page's text. The editor of the
// layout editor implements it; the model reaches it only through its
// document (DocumentBase::getTextEditorController).
class TextEditorBase {
public:
    virtual ~TextEditorBase() = default;

    // The text view the editor edits from now on (nothing: it lets the view
    // it had go).
    virtual void setCtv(lq::TextView* view) = 0;
    // Edits the text laid into the container: the view is attached to the
    // container first, so that it shows and edits the container's text
    // storage and wraps as the container does, then it becomes the edited
    // view. Letting the view go (setCtv with nothing) detaches it again.
    virtual void setCtvInContainer(lq::TextView* view, const std::shared_ptr<lq::TextContainer>& container) = 0;

    // The fonts of the six paragraph kinds: normal, heading, subheading,
    // caption, alternate, alternate 2.
    virtual void setNormalFont(const lq::Font& font) = 0;
    virtual void setHeadingFont(const lq::Font& font) = 0;
    virtual void setSubheadingFont(const lq::Font& font) = 0;
    virtual void setCaptionFont(const lq::Font& font) = 0;
    virtual void setAlternateFont(const lq::Font& font) = 0;
    virtual void setAlternate2Font(const lq::Font& font) = 0;
    // Their line spacings, in points.
    virtual void setNormalLS(int spacing) = 0;
    virtual void setHeadingLS(int spacing) = 0;
    virtual void setSubheadingLS(int spacing) = 0;
    virtual void setCaptionLS(int spacing) = 0;
    virtual void setAlternateLS(int spacing) = 0;
    virtual void setAlternate2LS(int spacing) = 0;
    // The titles of the paragraph kinds the user may choose, in kind order;
    // none hides the kind and style controls.
    virtual void setFontStyles(const QStringList& titles) = 0;

    // Shows the element's stored rich text in the view (nothing: empties
    // the view and disables editing). The document is not marked changed.
    virtual void loadMyTextView(XmlBase* element) = 0;
    // Stores the view's text and selection in the element (nothing: does
    // nothing). The document is not marked changed.
    virtual void saveMyTextView(XmlBase* element) = 0;
};
