#pragma once
#include "platform/widgets/TaggedControl.h"
#include <QImage>
#include <QLabel>

// Shows a picture scaled to fit; for tags of 100 and more its tool tip comes
// from "Tooltip<tag>". Tags 2000 and 2001 show the application's own image.
class MyImageView : public TaggedControl<QLabel> {
    Q_OBJECT
public:
    explicit MyImageView(int tag = 0, QWidget* parent = nullptr);
    void localize();

    QImage image() const { return _image; }
    void setImage(const QImage& image);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void showScaled();
    QImage _image;
};
