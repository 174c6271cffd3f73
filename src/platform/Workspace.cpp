#include "platform/Workspace.h"

#include <QDesktopServices>

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

bool openURL(const QUrl& url)
{
    if (!url.isValid() || url.isRelative())
        return false;
    if (const OpenURLHandler& h = handler())
        return h(url);
    return QDesktopServices::openUrl(url);
}

} // namespace lq
