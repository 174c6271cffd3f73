#pragma once

#include "model/files/XmlFiles.h"

// A file list that mirrors any folder given by its path (or opened through
// a gateway) and is rebuilt from disk on refresh: the theme library and a
// document's revert snapshots. It is the root of its own tree, so every file
// and folder in it resolves its path below the mirrored folder.
class XmlStandAloneFiles final : public XmlFiles {
public:
    explicit XmlStandAloneFiles(Key key);

    static std::shared_ptr<XmlStandAloneFiles> create();
    static XmlStandAloneFiles* cast(XmlBase* object) { return dynamic_cast<XmlStandAloneFiles*>(object); }

    // The mirrored folder, or "no root dir" while none is set.
    QString fullname() const override;
    QString rootDir() override;
    // No change mark: the list is not part of a document.
    void setRootDir(const QString& path) override;
    // What the next refresh lists: folders (as a tree) and files.
    void setFoldersFiles(bool folders, bool files);
    bool folders() const { return _folders; }
    bool files() const { return _files; }
    // Removes every child and lists the folder again; without a folder the
    // list stays empty.
    void refresh() override;
    // The folder to list, already opened (a document's "revert", opened
    // through its gateway); its path becomes the root folder.
    void setFolder(const std::shared_ptr<lq::ConfinedFolder>& folder);
    // The given folder; else one opened on the root folder's path (the
    // theme library, a folder outside every site).
    std::shared_ptr<lq::ConfinedFolder> treeFolder(QString* error = nullptr) override;

private:
    std::shared_ptr<lq::ConfinedFolder> _folder;
    QString _rootDir;
    bool _folders = true;
    bool _files = true;
};
