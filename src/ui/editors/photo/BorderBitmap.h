#pragma once

#include <QImage>
#include <QWidget>

// The border panel's sample: the application's picture "border", drawn at
// 80 % opacity with its lower-left corner 133 units right of and 16 units
// below the view's lower-left corner, whatever part of the view is painted.
class BorderBitmap : public QWidget {
    Q_OBJECT
public:
    explicit BorderBitmap(QWidget* parent = nullptr);

    // Where the picture's top-left corner lands in the view.
    QPoint pictureOrigin() const;
    // The least size that shows all of the picture that rises above the bottom edge.
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QImage _picture;
};
