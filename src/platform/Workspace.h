#pragma once

#include <QString>
#include <QUrl>

#include <functional>

namespace lq {

// Opens an address in the user's browser (or the application the system
// picks for its scheme). Only absolute addresses are opened: a relative one
// would be resolved against the program's working folder. Answers whether
// the address was handed on; when it was not, *why says why in words a
// user can read.
//
// The handler replaces the system's desktop services (tests install one to
// see what would be opened); an empty handler restores them.
using OpenURLHandler = std::function<bool(const QUrl& url)>;
void setOpenURLHandler(OpenURLHandler handler);
bool openURL(const QUrl& url, QString* why = nullptr);

} // namespace lq
