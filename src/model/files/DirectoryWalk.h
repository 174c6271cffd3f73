#pragma once

#include <QString>

class XmlBase;
namespace lq {
class ConfinedFolder;
}

// How addDirectoryTree turns the entries of a folder on disk into file
// elements. Links and entries that are neither files nor folders are always
// left out (so a link to a folder above can never make the walk endless), and
// entries go in name order.
struct DirectoryWalk {
    enum class Folders {
        Skip,       // folders are left out
        AsElements, // a folder becomes an XmlFolder holding its own entries
        Flatten,    // a folder's files are added to the same parent, named by their full path
    };
    Folders folders = Folders::AsElements;
    // Whether regular files become file elements at all.
    bool files = true;
    // Whether files whose names start with "." count (hidden folders always do).
    bool hiddenFiles = true;
    // Whether a ".qvzip" file becomes an XmlQVZIPFile, counted even when hidden,
    // rather than a plain XmlFile.
    bool archives = false;
};

// Adds the folder's entries to the parent as the walk says. A file element's
// name is the entry's own name, or "<folder>/<path below it>" when folders are
// flattened. A folder that cannot be listed adds nothing; so does a null parent.
void addDirectoryTree(const QString& folder, XmlBase* parent, const DirectoryWalk& walk);
// The same for the folder at the name below a folder's gateway ("" for its
// root): the folder is listed by descriptors, and a folder that is a link,
// or reached through one, adds nothing.
void addDirectoryTree(const lq::ConfinedFolder& folder, const QString& name, XmlBase* parent, const DirectoryWalk& walk);

namespace lq {

// Adds the folder's entries to the parent, in name order: with files, a
// regular file becomes an XmlQVZIPFile (extension "qvzip") or an XmlFile
// (names starting with "." skipped); with folders, a folder becomes an
// XmlFolder filled the same way. File and folder names are the entries' own
// names. Links and other kinds of entry are left out.
void addDirectoryTreeToFoldersFiles(const QString& folder, XmlBase* parent, bool folders, bool files);
// Adds every regular file at any depth below the folder to the parent as an
// XmlFile whose file name is "<folder>/<path below it>", depth first.
void addContentsOfDirectoryTo(const QString& folder, XmlBase* parent);

} // namespace lq
