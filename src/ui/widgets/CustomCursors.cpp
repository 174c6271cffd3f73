#include "ui/widgets/CustomCursors.h"

#include "platform/Resources.h"

#include <QCursor>
#include <QPixmap>

namespace lq {

namespace {

QPixmap cursorPicture(const char* name)
{
    return QPixmap(resourcePath(QStringLiteral("images/") + QLatin1String(name) + QStringLiteral(".png")));
}

// Made once and never destroyed: a cursor must not outlive the application's
// windowing system at exit.
const QCursor* makeCursor(const char* name, Qt::CursorShape fallback, int hotX, int hotY, bool centred)
{
    const QPixmap picture = cursorPicture(name);
    if (picture.isNull())
        return new QCursor(fallback);
    if (centred)
        return new QCursor(picture, picture.width() / 2, picture.height() / 2);
    return new QCursor(picture, hotX, hotY);
}

} // namespace

const QCursor& crossCursor()
{
    static const QCursor* const cursor = makeCursor("Cross", Qt::CrossCursor, 0, 0, true);
    return *cursor;
}

const QCursor& boxCursor()
{
    static const QCursor* const cursor = makeCursor("boxcursor", Qt::CrossCursor, 8, 8, false);
    return *cursor;
}

const QCursor& handCursor()
{
    static const QCursor* const cursor = makeCursor("fingerCursor", Qt::PointingHandCursor, 8, 0, false);
    return *cursor;
}

} // namespace lq
