#include "ui/widgets/ColorPanel.h"

#include "ui/widgets/MyColorWell.h"

#include <QApplication>
#include <QColorDialog>

ColorPanel& ColorPanel::shared()
{
    static ColorPanel panel;
    return panel;
}

QColorDialog* ColorPanel::dialog()
{
    if (!_dialog) {
        _dialog = new QColorDialog();
        _dialog->setAttribute(Qt::WA_DeleteOnClose, false);
        _dialog->setOption(QColorDialog::ShowAlphaChannel, true);
        _dialog->setOption(QColorDialog::NoButtons, true);
        _dialog->setModal(false);
        QObject::connect(_dialog, &QColorDialog::currentColorChanged, _dialog, [this](const QColor& color) { colorPicked(color); });
        QObject::connect(qApp, &QCoreApplication::aboutToQuit, _dialog, [dialog = _dialog] { delete dialog; });
    }
    return _dialog;
}

void ColorPanel::activate(MyColorWell* well)
{
    if (_active && _active != well)
        _active->setActive(false);
    _active = well;
    QColorDialog* panel = dialog();
    const QSignalBlocker quiet(panel);
    panel->setCurrentColor(well->color());
    panel->show();
    panel->raise();
}

void ColorPanel::deactivate(MyColorWell* well)
{
    if (_active == well)
        _active = nullptr;
}

void ColorPanel::colorPicked(const QColor& color)
{
    if (_active)
        _active->takeColor(color);
}
