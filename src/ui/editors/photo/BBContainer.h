#pragma once

#include <QWidget>

class BorderBitmap;

// The frame of the border panel's sample: it paints nothing itself and keeps
// its sample view (a BorderBitmap) over its whole area, so that the sample
// is cut at the container's edges wherever the panel places it.
class BBContainer : public QWidget {
    Q_OBJECT
public:
    explicit BBContainer(QWidget* parent = nullptr);

    BorderBitmap* borderBitmap() const { return _borderBitmap; }
    // The sample's own.
    QSize sizeHint() const override;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    BorderBitmap* _borderBitmap;
};
