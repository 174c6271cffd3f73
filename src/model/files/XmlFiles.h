#pragma once

#include "model/core/XmlBase.h"

class XmlFile;
class XmlFolder;
namespace lq {
class ConfinedFolder;
}

// The root of a file tree: stands for a folder on disk whose files and
// subfolders are its children. Every operation that changes the tree changes
// the disk first and the elements only when that succeeded, so that the tree
// and the folder stay alike. The site's tree stands for the document's
// "files" folder. The disk is reached only through the gateway of the
// tree's folder (treeFolder), by each element's path below it: a folder of
// the tree that is a link, or a tree folder that is one, stops every
// operation.
class XmlFiles : public XmlBase {
public:
    explicit XmlFiles(Key key);

    static std::shared_ptr<XmlFiles> create();
    static XmlFiles* cast(XmlBase* object) { return dynamic_cast<XmlFiles*>(object); }

    QString elementName() const override;
    // The display name "Files".
    QString name() const override;
    // The folder the tree stands for: "<rootDir>/files".
    QString fullname() const override;
    // "<root>/" for a non-empty root, else "".
    QString filenameWithRoot(const QString& root) override;
    // Files and folders only.
    bool canYouBeMyParent(XmlBase* child) override;
    QImage iconImage() override;
    // The site keeps its files tree out of "site.xmlbase": a tree whose
    // parent is the site writes nothing; any other is written in full.
    void writeXmlInString(QString& xml) override;

    // The gateway to the folder the whole tree stands for (the site's
    // "files", opened through the document folder's gateway; the folder of
    // a stand-alone list); nothing when it cannot be opened (it is missing,
    // or a link: `error` tells which). Asked of a folder of the tree, the tree's.
    virtual std::shared_ptr<lq::ConfinedFolder> treeFolder(QString* error = nullptr);
    // The gateway of the tree the element (a file or folder) belongs to, or
    // nothing (and why).
    static std::shared_ptr<lq::ConfinedFolder> treeFolderOf(XmlBase* element, QString* error = nullptr);
    // The element's path below its tree's folder ("pics/a.png"; "" for the
    // tree's root).
    static QString pathInTree(XmlBase* element);

    // Copies the file at the absolute source path into this folder under its
    // own name, replacing a namesake, and makes sure the element exists. The
    // copy goes to a temporary file in the folder that then replaces the
    // destination, so a failed copy leaves the old file whole; a source that
    // is the destination itself is left alone. A source that is no regular
    // file, or a destination that is a folder, is refused. Answers whether the
    // file is now in the folder; `why` tells why not.
    bool importFilename(const QString& source, QString* why = nullptr);
    // The first file child of that exact file name, or a new one appended
    // (nothing on disk is touched).
    std::shared_ptr<XmlFile> fileWithName(const QString& name);
    // Imports every file of the tree (an XmlExternalFiles or a dragged file
    // tree), and every folder into a folder of the same name here. Answers
    // the paths of the files (and the names of the folders) that could not
    // be brought in; the others are in.
    QStringList importFiles(XmlBase* tree);
    // Moves the file (an element of the same tree, in another folder) into
    // this folder on disk, never over an item of its name; the elements are
    // left to the caller. Answers whether it moved, and why not.
    bool moveFileHere(XmlFile& file, QString* why = nullptr);
    // Removes the first direct child of that name from disk (a folder with
    // everything in it), then from the tree. The element stays when the disk
    // entry could not be removed (`why` tells why).
    void deleteFilename(const QString& name, QString* why = nullptr);
    // Makes a new folder "untitled folder" ("untitled folder 2", 3, ... while
    // the name is taken) on disk and appends its element.
    void addFolder();
    // The first folder child of that name; else a new folder of the name
    // ("<name> 2", 3, ... while taken) made on disk and appended. Nothing when
    // the folder cannot be made or the name is not a plain name.
    std::shared_ptr<XmlFolder> folderWithName(const QString& name);
    // Sorts the children newest first (by compareCreationDate); no change mark.
    void sortByCreationDate();
    // Folders and tree roots have no date: 0.
    double creationDate() const { return 0.0; }
    int compareCreationDate(XmlBase* other);

    // True when the path, worked out from the element's place in its tree,
    // lies inside the folder that the tree's root stands for: every folder
    // on the way has a plain name, the path does not lead above the root's
    // folder, and no entry on disk between the document's folder and the
    // path's last component is a link. The operations themselves go
    // through the tree's gateway, which refuses such paths by itself.
    static bool isInsideRootFolder(const XmlBase* element, const QString& path);

private:
    // Makes the folder "<fullname>/<base>", or "<base> N" from 2 on while the
    // name is taken, and appends its element; nothing when that fails.
    std::shared_ptr<XmlFolder> createFolder(const QString& base);
    // Puts a copy in the place of the name in this folder, replacing a
    // namesake in one rename: `copy` writes the copy to the temporary name
    // it is given below the tree's folder (and why it could not).
    bool placeCopy(const QString& name, const std::function<bool(lq::ConfinedFolder& folder, const QString& temporary, QString* why)>& copy,
        QString* why = nullptr);
};
