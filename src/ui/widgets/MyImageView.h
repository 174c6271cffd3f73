#pragma once
#include "ui/widgets/TaggedControl.h"
#include <QImage>
#include <QLabel>

class QMimeData;

// Shows a picture scaled to fit; for tags of 100 and more its tool tip comes
// from "Tooltip<tag>". Tags 2000 and 2001 show the application's own image.
// An editable view takes a picture dropped on it (a picture file from a file
// manager, or picture data), shows it and tells of it with imageDropped.
class MyImageView : public TaggedControl<QLabel> {
    Q_OBJECT
public:
    explicit MyImageView(int tag = 0, QWidget* parent = nullptr);
    void localize();

    QImage image() const { return _image; }
    void setImage(const QImage& image);
    void setEditable(bool editable);
    bool isEditable() const { return acceptDrops(); }

Q_SIGNALS:
    void imageDropped(const QImage& image);

protected:
    void resizeEvent(QResizeEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void showScaled();
    // The picture the drag data carries; null when it holds none.
    static QImage droppedImage(const QMimeData* data);
    QImage _image;
};
