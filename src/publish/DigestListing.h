#pragma once

#include "model/core/DocumentBase.h"

#include <QList>
#include <QString>

#include <functional>
#include <memory>

class XmlD;

namespace lq {

// The digest tree of the folder (a path ending with "/") and all its
// subfolders, listed with the "xmldir" tool, one run per folder, depth
// first. Nothing when the tool cannot be started or its output is no
// folder; the reason then goes to the log file and, when asked, to *error.
// Files the tool could not take (unreadable, a name that is no text) are
// the root's listing failures, with their paths below the folder.
std::shared_ptr<XmlD> createXmlD(const QString& folderPath, QString* error = nullptr);

// The files right inside the tree's folder with their digests, in listing
// order; nothing without a tree.
QList<FileDigest> fileDigests(const XmlD* tree);

// The last published tree of the site folder ("lastbom.xmlbase"), or nothing
// when none was stored or it cannot be read. A tree naming a file or folder
// that is no plain name ("", ".", "..", or one holding "/", "\\" or a
// control character) is refused as a whole: nothing is then removed and
// everything is sent. The reason goes to the log file and, when asked, to
// *refusal.
std::shared_ptr<XmlD> readLastXmlD(const QString& siteFolder, QString* refusal = nullptr);
// Stores the tree as the site folder's last published tree (nothing leaves
// the file as it was); the activity line "lastXmlD: <xml>" goes to the
// handler. Answers whether the file was written.
bool writeLastXmlD(const QString& siteFolder, XmlD* tree, const std::function<void(const QString&)>& activity);

} // namespace lq
