#pragma once

#include "model/files/XmlFiles.h"

// A subfolder of a file tree. Its path is its parent's path and its folder
// name; its check state is worked out from its children.
class XmlFolder final : public XmlFiles {
public:
    explicit XmlFolder(Key key);

    static std::shared_ptr<XmlFolder> create();
    static XmlFolder* cast(XmlBase* object) { return dynamic_cast<XmlFolder*>(object); }

    QString elementName() const override;
    QImage iconImage() override;
    // "<parent's fullname>/<foldername>"; nothing without a parent.
    QString fullname() const override;
    // "<parent's filenameWithRoot><foldername>/".
    QString filenameWithRoot(const QString& root) override;
    void setAttributeTo(const QString& key, const QString& value) override;
    void appendAttributes(QString& xml) override;
    // The folder name as stored (nothing while never set).
    QString name() const override;

    // 0 when no child is checked (or there are none), 1 when all are, -1
    // otherwise; a mixed subfolder counts as checked.
    int check() const override;
    // Sets the check of every child, and so of the whole subtree.
    void setCheck(bool check) override;

    // The folder name, "untitled" while none was set; paths use it.
    QString foldername() const;
    void setFoldername(const QString& foldername);
    // Renames the folder on disk inside its parent, then the element; the
    // same rules as XmlFile::renameFilename. Answers whether it was renamed.
    bool renameFoldername(const QString& newName, QString* why = nullptr);

    // The check state of any element: a folder's worked out, others' own.
    static int checkOf(const XmlBase* element);
    static void setCheckOf(XmlBase* element, bool check);

private:
    QString _foldername;
};
