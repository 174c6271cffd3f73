#include "ui/editors/photo/ImageWell.h"

#include "model/core/ElementRegistry.h"
#include "model/imaging/XmlDraw.h"
#include "model/imaging/XmlImage.h"
#include "model/core/XmlBase.h"
#include "platform/ExceptionFrame.h"
#include "ui/widgets/ModalHandler.h"
#include "templates/XmlCSSImage.h"
#include "model/core/ModelSettings.h"
#include "platform/ImageFiles.h"

#include <QDir>
#include <QFileInfo>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QImage>
#include <QMimeData>
#include <QPainter>
#include <QPixmap>
#include <QUrl>

namespace {

// The kinds of drag the well takes: files and addresses, pictures (PDF
// included, though no picture can be read from one) and colours.
bool carriesWellType(const QMimeData* data)
{
    if (data->hasUrls() || data->hasImage() || data->hasColor())
        return true;
    for (const QString& format : data->formats()) {
        if (format.startsWith(u"image/") || format == u"application/pdf")
            return true;
    }
    return false;
}

// The picture the drag carries, or a null image.
QImage droppedImage(const QMimeData* data)
{
    if (data->hasImage()) {
        const QVariant value = data->imageData();
        QImage image = value.value<QImage>();
        if (image.isNull())
            image = value.value<QPixmap>().toImage();
        if (!image.isNull())
            return image;
    }
    for (const QString& format : data->formats()) {
        if (!format.startsWith(u"image/"))
            continue;
        const QImage image = QImage::fromData(data->data(format));
        if (!image.isNull())
            return image;
    }
    return QImage();
}

} // namespace

ImageWell::ImageWell(QWidget* parent)
    : TaggedControl<IWView>(parent)
{
    setAcceptDrops(true);
}

ImageWell::~ImageWell() = default;

void ImageWell::setXmlImage(const std::shared_ptr<XmlBase>& object)
{
    _xmlimage = std::dynamic_pointer_cast<XmlCSSImage>(object);
    update();
}

void ImageWell::setXmlobject(const std::shared_ptr<XmlBase>& object)
{
    _xmlobject = std::dynamic_pointer_cast<XmlDraw>(object);
    update();
}

void ImageWell::setTargetActionTag(QObject* target, Action action, int tag)
{
    _target = target;
    _action = std::move(action);
    setTag(tag);
}

XmlDraw* ImageWell::xmlobject() const
{
    if (_xmlimage)
        return _xmlimage->image().get();
    return _xmlobject.get();
}

void ImageWell::paintEvent(QPaintEvent* event)
{
    IWView::paintEvent(event);
    QPainter painter(this);
    painter.setPen(QPen(Qt::black, 0));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5));
}

void ImageWell::dragEnterEvent(QDragEnterEvent* event)
{
    if (isVisible() && carriesWellType(event->mimeData())) {
        event->setDropAction(Qt::CopyAction);
        event->accept();
    } else {
        event->ignore();
    }
}

void ImageWell::dropEvent(QDropEvent* event)
{
    if (performDragOperation(event->mimeData(), event->source())) {
        event->setDropAction(Qt::CopyAction);
        event->accept();
    } else {
        event->ignore();
    }
}

bool ImageWell::performDragOperation(const QMimeData* data, QObject* source)
{
    if (source == this || !isVisible())
        return false;
    // A failure is logged and the drop still counts as taken.
    lq::uiFrame(this, "performDragOperation:", [&] {
        if (data && takeDroppedPicture(data) && _target && _action)
            _action(this);
        update();
    });
    return true;
}

bool ImageWell::takeDroppedPicture(const QMimeData* data)
{
    if (data->hasUrls()) {
        const QList<QUrl> urls = data->urls();
        QStringList files;
        for (const QUrl& url : urls) {
            if (url.isLocalFile())
                files.append(url.toLocalFile());
        }
        if (urls.isEmpty())
            return false;
        if (!files.isEmpty()) {
            // The file's type is the background image's business; a file it
            // refuses is said so, and sends nothing.
            QString whyNot;
            if (_xmlimage && !_xmlimage->setNewImageFromFile(files.first(), &whyNot)) {
                lq::runAlert(window(), QStringLiteral("The background picture was not changed"),
                             QStringLiteral("\"") + QFileInfo(files.first()).fileName() + QStringLiteral("\" cannot be used: ") + whyNot + QLatin1Char('.'));
                return false;
            }
            return true;
        }
        // Only addresses on the web: a picture the drag carries beside them is taken below.
    }
    const QImage picture = droppedImage(data);
    if (picture.isNull())
        return false;
    // A picture without a background image to take it is not written anywhere.
    if (_xmlimage) {
        const QString path = QDir::tempPath() + QLatin1Char('/') + ElementRegistry::makeUUID() + QStringLiteral(".png");
        if (lq::saveImageFile(picture, path, ModelSettings::shared().jpgCompressionFactor()))
            _xmlimage->setNewImageFromFile(path);
    }
    return true;
}
