#include "ui/widgets/MyIntegerField.h"

#include <algorithm>
#include <cmath>

MyIntegerField::MyIntegerField(int tag, int minimum, int maximum, QWidget* parent)
    : MyTextField(tag, parent)
    , _minimum(minimum)
    , _maximum(std::max(minimum, maximum))
    , _value(minimum)
{
    setText(QString::number(_value));
    connect(this, &QLineEdit::editingFinished, this, &MyIntegerField::commit);
}

void MyIntegerField::setIntValue(int value)
{
    _value = std::clamp(value, _minimum, _maximum);
    setText(QString::number(_value));
}

void MyIntegerField::setStringValue(const QString& text)
{
    bool ok = false;
    qlonglong number = text.trimmed().toLongLong(&ok);
    if (!ok) {
        const double written = text.trimmed().toDouble(&ok);
        ok = ok && std::isfinite(written);
        if (ok)
            number = static_cast<qlonglong>(std::clamp(written, -1e15, 1e15));
    }
    if (ok)
        _value = static_cast<int>(std::clamp<qlonglong>(number, _minimum, _maximum));
    setText(text);
}

std::optional<int> MyIntegerField::parse(const QString& text, int minimum, int maximum, QString* error)
{
    bool ok = false;
    qlonglong number = text.trimmed().toLongLong(&ok);
    if (!ok) {
        // "200.000000": the number a stepper's limit is written as.
        const double written = text.trimmed().toDouble(&ok);
        ok = ok && std::isfinite(written) && written == std::trunc(written) && std::abs(written) < 1e15;
        if (ok)
            number = static_cast<qlonglong>(written);
    }
    QString reason;
    if (!ok)
        reason = QStringLiteral("Not a whole number");
    else if (number > maximum)
        reason = QStringLiteral("Maximum exceeded");
    else if (number < minimum)
        reason = QStringLiteral("Fell short of minimum");
    if (!reason.isEmpty()) {
        if (error)
            *error = reason;
        return std::nullopt;
    }
    return static_cast<int>(number);
}

void MyIntegerField::commit()
{
    QString reason;
    const std::optional<int> number = parse(text(), _minimum, _maximum, &reason);
    if (!number) {
        setText(QString::number(_value));
        Q_EMIT formatError(reason);
        return;
    }
    setText(QString::number(*number));
    if (*number != _value) {
        _value = *number;
        Q_EMIT valueChanged(_value);
    }
}
