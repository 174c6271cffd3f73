#pragma once

#include "model/core/XmlBase.h"
#include "publish/FileFailure.h"

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
    // The name is written and read back exactly as the file has it:
    // leading, trailing and repeated blanks, tabs, quotes and every other
    // character a file name can hold (see escapedName).
    void appendAttributes(QString& xml) override;
    void setAttributeTo(const QString& key, const QString& value) override;

    // A name as the text of a "name" attribute, so that the element reader
    // (which unescapes every value the same way) and nameFromEscaped give
    // it back unchanged: every character the reader would take apart or
    // drop as a hexadecimal reference ("&#x9;"): the markup characters,
    // control and format characters, a blank or "=" at either end, a blank
    // after a blank. Other characters stand as they are.
    static QString escapedName(const QString& name);
    // The name an attribute's value stands for once the element reader has
    // unescaped it: the hexadecimal references escapedName writes are the
    // only ones left, and become their characters, each code point as it
    // is (U+FEFF too). (Trees stored by earlier versions wrote no such
    // reference; the reader alone reads them, as it did then.)
    static QString nameFromEscaped(QStringView text);
    // A name or path as a message shows it: control characters as escapes
    // ("\x09"), so that a name can neither break nor hide the line.
    static QString shownName(const QString& name);

    // What the listing of this folder (the root of a listed tree) could not
    // take: files that cannot be read, names that are not text. Never
    // written with the tree; a listing made anew has its own.
    const FileFailures& listingFailures() const { return _listingFailures; }
    void addListingFailure(const FileFailure& failure) { _listingFailures.append(failure); }

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
    // that holds it: not empty, not "." or "..", and without "/", "\\" or
    // NUL, and whole characters only. A tree naming anything else could
    // reach outside or name another file. Every other character a file
    // name can hold is safe here; a road that cannot carry one (a line end
    // over FTP) says so for that file.
    static bool isSafeName(const QString& name);
    // Why the name is not safe (as a file's failure: "its name leads out of
    // the folder", "its name is not text: ..."), or "" when it is. A name
    // holding half of a character (a lone surrogate) is no text a file
    // name on disk can hold: it is refused rather than written as another.
    static QString unsafeNameReason(const QString& name);
    // Whether every "/"-separated component of the path is a safe name.
    static bool isSafePath(const QString& path);
    // The path of the first folder or file below this folder whose name is
    // not safe, with that name quoted; "" when every name is.
    QString firstUnsafeName() const;

private:
    FileFailures _listingFailures;

    void forEachEntryBelow(const QString& path, const QString& address, const std::function<void(const DigestEntry&)>& visit) const;
};
