#pragma once

#include "model/core/XmlBase.h"

#include <functional>

class XmlD;
class XmlF;

// One folder or file met on a walk over a digest tree.
struct DigestEntry {
    XmlD* folder = nullptr;   // the entry when it is a folder
    XmlF* file = nullptr;     // the entry when it is a file
    QString name;             // its own name
    QString path;             // the names below the walked folder, joined with "/"
    QString address;          // the same path as URL-escaped segments
};

// A folder of a digest tree; its children are its subfolders and files, in
// the order in which they were listed.
class XmlD : public XmlBase {
public:
    explicit XmlD(Key key);

    static std::shared_ptr<XmlD> create();
    static XmlD* cast(XmlBase* object) { return dynamic_cast<XmlD*>(object); }

    QString elementName() const override;
    bool canYouBeMyParent(XmlBase* child) override;

    // Enters the file at the slash-separated path (relative to this folder)
    // with its digest, making the folders on the way; a file already there
    // only takes the new digest. Nothing happens for an empty path.
    void addFileMd5(const QString& path, const QString& md5);
    // Takes the file at the path out of the tree (the digest is not compared);
    // emptied folders stay.
    void removeFileMd5(const QString& path, const QString& md5);

    // Node kinds are told apart by exact class: a file is exactly an XmlF,
    // a folder exactly an XmlD.
    static bool isFolderNode(const XmlBase* node);
    static bool isFileNode(const XmlBase* node);
    // The first child that is a folder (or file) node of that name.
    XmlD* folderNamed(const QString& name) const;
    XmlF* fileNamed(const QString& name) const;
    // The number of file nodes in this folder and all its subfolders.
    int fileCount() const;
    // The slash-separated paths of every file node below this folder, in tree order.
    QStringList filePaths() const;
    // Visits every folder and file node below this folder, depth first in
    // child order, each folder before its contents.
    void forEachEntry(const std::function<void(const DigestEntry&)>& visit) const;
    // A name as one segment of an address: every character a URL may not
    // hold is escaped, and so are the marks that would end the path or
    // split it ("/", "\\").
    static QString addressSegment(const QString& name);

    // Whether the name can stand for one file or folder inside the folder
    // that holds it: not empty, not "." or "..", and without "/", "\\" or a
    // control character. A tree naming anything else could reach outside.
    static bool isSafeName(const QString& name);
    // Whether every "/"-separated component of the path is a safe name.
    static bool isSafePath(const QString& path);
    // The path of the first folder or file below this folder whose name is
    // not safe, with that name quoted; "" when every name is.
    QString firstUnsafeName() const;

private:
    void forEachEntryBelow(const QString& path, const QString& address, const std::function<void(const DigestEntry&)>& visit) const;
};
