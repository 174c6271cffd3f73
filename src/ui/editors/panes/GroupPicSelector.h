#pragma once
#include <QObject>
#include <QDialog>
#include <QPointer>

#include <memory>

class QDialog;
class QLabel;
class QWidget;
class QZArraySelectView;
class XmlAlbum;
class XmlBase;

// The sheet in which the user chooses a page's representative picture from
// the page's own photos. The chosen photo's original picture is copied into
// the representative picture, which makes its images anew. The sheet is
// made once and reused: its grid keeps the index chosen last (limited to
// the page's last photo).
class GroupPicSelector : public QObject {
    Q_OBJECT
public:
    explicit GroupPicSelector(QObject* parent = nullptr);
    ~GroupPicSelector() override;

    // Runs the sheet on the window for the page; returns when it closes,
    // the page's picture replaced when the user chose one.
    void selectPicFromAlbum(XmlAlbum* album, QWidget* window);
    // The page's child at the grid's index, when a photo, becomes the
    // page's representative picture.
    void apply();

    // The sheet (made on first use) and its grid of the page's photos.
    QDialog* sheet() const { return _sheet; }
    QZArraySelectView* albumViewer() const { return _albumViewer; }

private:
    void makeSheet(QWidget* window);

    QPointer<QDialog> _sheet;
    QZArraySelectView* _albumViewer = nullptr;
    QLabel* _prompt = nullptr;
    std::weak_ptr<XmlBase> _selectFromAlbum;
};
