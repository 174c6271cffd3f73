#include "platform/Workspace.h"

#include <QDesktopServices>
#include <QFileInfo>

namespace lq {

namespace {
OpenURLHandler& handler()
{
    static OpenURLHandler theHandler;
    return theHandler;
}
} // namespace

void setOpenURLHandler(OpenURLHandler h)
{
    handler() = std::move(h);
}

bool openURL(const QUrl& url, QString* why)
{
    const auto refused = [why](const QString& reason) {
        if (why)
            *why = reason;
        return false;
    };
    if (!url.isValid() || url.isRelative())
        return refused(QStringLiteral("\"") + url.toString() + QStringLiteral("\" is not a whole address."));
    const QString shown = url.isLocalFile() ? url.toLocalFile() : url.toString();
    if (const OpenURLHandler& h = handler())
        return h(url) || refused(QStringLiteral("The system could not open ") + shown + QLatin1Char('.'));
    if (url.isLocalFile() && !QFileInfo::exists(url.toLocalFile()))
        return refused(shown + QStringLiteral(" is not there."));
    // The desktop's opener (xdg-open) picks the browser; it fails when it is
    // missing or knows no program for the address.
    if (!QDesktopServices::openUrl(url))
        return refused(QStringLiteral("The system found no program to open ") + shown + QStringLiteral(" (xdg-open failed or is missing)."));
    return true;
}

} // namespace lq
