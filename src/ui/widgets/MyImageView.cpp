#include "ui/widgets/MyImageView.h"

#include "platform/ImageFiles.h"
#include "platform/Resources.h"
#include "ui/widgets/ControlTags.h"

#include <QDragEnterEvent>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QImageReader>
#include <QMimeData>
#include <QPixmap>
#include <QUrl>

MyImageView::MyImageView(int tag, QWidget* parent)
    : TaggedControl<QLabel>(parent)
{
    setTextFormat(Qt::PlainText);
    setTag(tag);
    setAlignment(Qt::AlignCenter);
    setMinimumSize(16, 16);
}

void MyImageView::localize()
{
    const int t = tag();
    if (t == 2000 || t == 2001)
        setImage(QImage(lq::resourcePath(QStringLiteral("images/lumenquill.png"))));
    if (t >= lq::firstLocalizedTag)
        lq::localizeToolTip(this, t);
}

void MyImageView::setImage(const QImage& image)
{
    _image = image;
    showScaled();
}

void MyImageView::resizeEvent(QResizeEvent* event)
{
    QLabel::resizeEvent(event);
    showScaled();
}

void MyImageView::showScaled()
{
    if (_image.isNull()) {
        clear();
        return;
    }
    setPixmap(QPixmap::fromImage(_image.scaled(size(), Qt::KeepAspectRatio, Qt::SmoothTransformation)));
}

void MyImageView::setEditable(bool editable)
{
    setAcceptDrops(editable);
}

QImage MyImageView::droppedImage(const QMimeData* data)
{
    if (!data)
        return QImage();
    if (data->hasImage()) {
        const QImage image = qvariant_cast<QImage>(data->imageData());
        if (!image.isNull())
            return image;
    }
    for (const QUrl& url : data->urls()) {
        // Only a file that holds a picture: anything else is no picture at all.
        if (url.isLocalFile() && QImageReader(url.toLocalFile()).canRead()) {
            const QImage image = lq::loadImageFile(url.toLocalFile());
            if (!image.isNull())
                return image;
        }
    }
    return QImage();
}

void MyImageView::dragEnterEvent(QDragEnterEvent* event)
{
    if (isEditable() && (event->mimeData()->hasImage() || event->mimeData()->hasUrls()))
        event->acceptProposedAction();
    else
        event->ignore();
}

void MyImageView::dragMoveEvent(QDragMoveEvent* event)
{
    if (isEditable())
        event->acceptProposedAction();
    else
        event->ignore();
}

void MyImageView::dropEvent(QDropEvent* event)
{
    const QImage image = isEditable() ? droppedImage(event->mimeData()) : QImage();
    if (image.isNull()) {
        event->ignore();
        return;
    }
    event->acceptProposedAction();
    setImage(image);
    Q_EMIT imageDropped(image);
}
