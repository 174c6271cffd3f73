#pragma once

#include <QString>

#include <memory>

class QSettings;

namespace lq {

// Where the application keeps its own files and settings on this system.
//
// The support folder (log, theme library, markers) is the XDG data folder of
// the application, ~/.local/share/Lumenquill; the user-defaults domain is a
// QSettings file under the XDG config folder, ~/.config/Lumenquill/Lumenquill.conf.
// Everything else asks these functions.
QString applicationName();
void setApplicationIdentity();   // sets the Qt application name
QString supportFolder();         // made on demand
QString themeLibraryFolder();    // "themes" in the support folder (not made here)
std::unique_ptr<QSettings> userDefaults();

} // namespace lq
