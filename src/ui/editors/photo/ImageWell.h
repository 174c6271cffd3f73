#pragma once

#include "ui/editors/photo/IWView.h"
#include "ui/widgets/TaggedControl.h"

#include <QPointer>

#include <functional>
#include <memory>

class QMimeData;
class XmlBase;
class XmlCSSImage;

// A small picture well of the inspector: shows a background image (or any
// drawable) fitted over the checkerboard, framed in black, and takes a
// picture dropped on it as the background image's new picture: the first of
// the dropped files, or a picture from another application written as a PNG
// file "<temporary folder>/<new UUID>.png" (which stays there). After a drop
// with a picture it sends its action to its target, which tells the wells
// apart by their tag; a dropped file that holds no picture is refused with
// an alert that says why, and sends nothing.
class ImageWell : public TaggedControl<IWView> {
    Q_OBJECT
public:
    using Action = std::function<void(ImageWell* sender)>;

    explicit ImageWell(QWidget* parent = nullptr);
    ~ImageWell() override;

    // Keeps the object when it is a background image (XmlCSSImage), else none.
    void setXmlImage(const std::shared_ptr<XmlBase>& object);
    const std::shared_ptr<XmlCSSImage>& xmlImage() const { return _xmlimage; }
    // Keeps the object when it is a drawable (XmlDraw), else none; shown
    // while no background image is set.
    void setXmlobject(const std::shared_ptr<XmlBase>& object);

    // The target is not held: once it is gone no action is sent.
    void setTargetActionTag(QObject* target, Action action, int tag);
    QObject* target() const { return _target; }

    // The background image's picture when one is set, else the drawable.
    XmlDraw* xmlobject() const override;

    // Takes a drop from the source (null for another application). Refused
    // (false) when the source is the well itself or the well is hidden;
    // otherwise accepted, even when nothing in it was a picture.
    bool performDragOperation(const QMimeData* data, QObject* source);

protected:
    void paintEvent(QPaintEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    // Gives the picture to the background image; false when there was none to give.
    bool takeDroppedPicture(const QMimeData* data);

    std::shared_ptr<XmlDraw> _xmlobject;
    std::shared_ptr<XmlCSSImage> _xmlimage;
    QPointer<QObject> _target;
    Action _action;
};
