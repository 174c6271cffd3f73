#pragma once
#include "ui/editors/EditorPanel.h"
#include "ui/editors/text/LinkTarget.h"

#include <QWidget>

#include <memory>

class MyButton;
class MyLabel;
class MyPopUpButton;
class MyTextField;
class QAbstractButton;
class QLineEdit;
class QZArraySelectView2;
class QZTextEditor;
class SplitView;
class TextEditorArea;
class XmlAlbum;
class XmlPhoto;

// The album editor: the pane the document window shows while an album page
// is its current object. It edits the page's title and description, shows
// the page's photos in a grid, and edits the caption, alternate text and
// link of the photo chosen in the grid (one click chooses, a double click
// opens the photo editor). A chosen photo's caption and alternate text are
// stored when another photo is chosen and when the pane is saved.
//
// The link of a caption is either on words of the caption text or on the
// photo as a whole: the link-type pop-up chooses, and for the photo's own
// link the pane is the caption editor's link target. The pop-up's third
// entry shows the alternate text in place of the link controls.
//
// The pane's state is the chosen photo, kept by UUID (empty when none): a
// photo deleted meanwhile is no photo.
class QZAlbumEditor : public QWidget, public EditorPanel, public LinkTarget {
    Q_OBJECT
public:
    // The link-type pop-up's entries.
    enum LinkType { LinkOnWords = 0, LinkOnPhoto = 1, AlternateText = 2 };
    // The heading above the caption.
    static const QString chooseHeading;
    static const QString captionHeading;
    // The description's divider snaps open to this position, or shut below it.
    static constexpr int descriptionOpen = 75;
    static constexpr int descriptionSnap = 35;
    // The grid's divider snaps the lower area shut within this of the bottom.
    static constexpr int lowerAreaSnap = 30;
    // The grid is never lower than this.
    static constexpr int gridMinimum = 90;
    // The kinds of picture file "Add Photos…" offers.
    static const QStringList photoFileTypes;

    explicit QZAlbumEditor(QWidget* parent = nullptr);
    ~QZAlbumEditor() override;

    // --- Editor panel -----------------------------------------------------------------
    void setDocument(EditorHost* document) override;
    void loadEditor() override;
    // Stores title and description without marking the document changed,
    // then the chosen photo's caption and alternate text.
    void saveEditor() override;
    // The grid shows the photos added or removed meanwhile.
    void refreshEditor() override;
    QWidget* superView() override { return this; }
    int getMenuItemState(int tag) override;
    void menuClicked(int tag) override;
    void enableRTL(int flag) override;
    // Forgets the chosen photo: the grid's selection, the caption and the
    // alternate text are cleared and the link controls disabled.
    void clearLastPhotoUUID() override;
    // Chooses the photo of the UUID (no photo: clearLastPhotoUUID).
    void setLastPhotoUUID(const QString& uuid);
    const QString& lastPhotoUUID() const { return _lastPhotoUUID; }

    // --- Actions --------------------------------------------------------------------------
    // A click in the grid stores the chosen photo's texts and chooses the one clicked.
    void arrayClick();
    // A double click opens the photo clicked in the photo editor.
    void arrayAction();
    // "Add Photos…": picture files chosen in a file panel come in as the
    // same files dropped after the grid's last photo do.
    void addPhotos() override;
    void changeLinkType(int index);
    // The site settings (the home page becomes the current object).
    void editMastHead();
    // The PayPal panel for the same page.
    void payPal();

    // --- The photo's own link (LinkTarget) ------------------------------------------------
    QVariant getLink() override;
    int getNewWindow() override;
    void setLink(const QVariant& link) override;
    void setNewWindow(int newWindow) override;

    // --- Dividers ---------------------------------------------------------------------------
    // Where a divider goes when dragged to the proposed position.
    int constrainMainDivider(int proposed) const;
    int constrainAlbumDivider(int proposed) const;

    // --- Parts --------------------------------------------------------------------------------
    MyTextField* albumTitle() const { return _albumTitle; }
    QZTextEditor* description() const;
    QZTextEditor* caption() const;
    TextEditorArea* descriptionArea() const { return _description; }
    TextEditorArea* captionArea() const { return _caption; }
    QZArraySelectView2* arrayView() const { return _arrayView; }
    MyButton* addPhotosButton() const { return _addPhotos; }
    MyPopUpButton* imageLink() const { return _imageLink; }
    MyLabel* selectPhotoText() const { return _selectPhotoText; }
    MyTextField* altText() const { return _altText; }
    QLineEdit* linkList() const;
    QAbstractButton* newWindowButton() const;
    QAbstractButton* easyButton() const;
    SplitView* mainSplitter() const { return _mainSplitter; }
    SplitView* albumSplitter() const { return _albumSplitter; }

private:
    QWidget* buildTitleRow();
    QWidget* buildCaptionArea();
    // The current object when it is an album page (not a group), else none.
    XmlAlbum* album() const;
    // The chosen photo, when it still exists.
    std::shared_ptr<XmlPhoto> chosenPhoto() const;
    // The page's photo at the grid's first selected index, or none.
    std::shared_ptr<XmlPhoto> photoAtSelection(XmlAlbum& page) const;
    // Stores the chosen photo's caption, and its alternate text when it differs.
    void saveChosenPhoto();
    void showLinkControls(bool linkShown);
    void markChanged();

    EditorHost* _document = nullptr;
    QString _lastPhotoUUID;

    MyTextField* _albumTitle = nullptr;
    TextEditorArea* _description = nullptr;
    TextEditorArea* _caption = nullptr;
    QZArraySelectView2* _arrayView = nullptr;
    MyButton* _addPhotos = nullptr;
    MyPopUpButton* _imageLink = nullptr;
    MyLabel* _selectPhotoText = nullptr;
    MyTextField* _altText = nullptr;
    SplitView* _mainSplitter = nullptr;
    SplitView* _albumSplitter = nullptr;
};
