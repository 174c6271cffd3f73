#include "platform/widgets/MyImageView.h"

#include "platform/Resources.h"
#include "platform/widgets/ControlTags.h"

#include <QPixmap>

MyImageView::MyImageView(int tag, QWidget* parent)
    : TaggedControl<QLabel>(parent)
{
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
