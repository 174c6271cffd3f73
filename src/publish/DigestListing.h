#pragma once

#include "model/core/DocumentBase.h"

#include <QList>
#include <QString>

#include <functional>
#include <memory>

class XmlD;

namespace lq {

class ConfinedFolder;

// The digest tree of the folder at the name below the root ("homepage"; ""
// for the root itself) and all its subfolders, listed with the "xmldir"
// tool, one run per folder, depth first, each folder opened through the
// gateway and the tool working in it by its descriptor: a link on the way
// or in the folder is never followed, and nothing it leads to is listed.
// Nothing when a folder cannot be opened, the tool cannot be started or its
// output is no folder; the reason then goes to the log file and, when
// asked, to *error. Files the tool could not take (unreadable, a name that
// is no text) are the root's listing failures, with their paths below the
// folder.
std::shared_ptr<XmlD> createXmlD(const ConfinedFolder& root, const QString& name, QString* error = nullptr);
// The same for the folder at the path (ending with "/"), a folder of the
// program's own choosing: only the path up to it is looked up by name.
std::shared_ptr<XmlD> createXmlD(const QString& folderPath, QString* error = nullptr);

// What a listing that remembers its digests did: the files it listed and
// how many of them it read.
struct ListingReport {
    int files = 0;
    int digested = 0;
};

// The same tree as createXmlD gives for a folder of plain files and
// folders (the folder at the name below the root, "" for the root itself),
// listed in this process: a file whose state on disk (size, times, inode,
// device) is the one the cache (the file at cacheName below cacheFolder)
// remembers for it is not read again; the others are read, on every core,
// and the cache file is written anew. A file is remembered only when its
// times are older than the start of the listing by more than the file
// system's time steps, so that a change made in the same time step as the
// listing's own reading can never hide; a link is no plain file or folder
// and is left out, never followed. Everything is reached through the
// gateways. A folder or file that cannot be read gives nothing at all, as
// does a missing folder; the reason goes to the log file and, when asked,
// to *error.
std::shared_ptr<XmlD> createXmlDWithCache(const ConfinedFolder& root, const QString& name, ConfinedFolder& cacheFolder,
    const QString& cacheName, QString* error = nullptr, ListingReport* report = nullptr);
// The same for a folder and a cache file at paths of the program's own
// choosing, each opened as a root of its own.
std::shared_ptr<XmlD> createXmlDWithCache(const QString& folderPath, const QString& cacheFile, QString* error = nullptr,
    ListingReport* report = nullptr);

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
