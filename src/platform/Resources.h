#pragma once

#include <QString>

namespace lq {

// The application's resource folder: the site script, default themes,
// bitmaps and string tables. In order of preference:
//  1. the folder named by the environment variable LUMENQUILL_RESOURCES;
//  2. a folder set with setResourceFolder() (tests set the source tree's);
//  3. "resources" next to the executable, or "../share/lumenquill" from it;
//  4. the source tree's resources/ folder that the build was made from.
QString resourceFolder();
void setResourceFolder(const QString& folder);

// Path of a file inside the resource folder; a file the build makes (the
// starter archives under "styles") is found in the build tree while it is
// not in the resource folder.
QString resourcePath(const QString& relative);

} // namespace lq
