#pragma once

#include "model/files/XmlFiles.h"

// A file list that mirrors any folder given by its path and is rebuilt from
// disk on refresh: the theme library and a document's revert snapshots. It
// is the root of its own tree, so every file and folder in it resolves its
// path below the mirrored folder.
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

private:
    QString _rootDir;
    bool _folders = true;
    bool _files = true;
};
