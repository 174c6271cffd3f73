#pragma once

#include "model/core/XmlBase.h"

// One file of a file tree: mirrors a file of the folder its tree stands for.
// Its file name is the name inside that folder; for a file dropped from
// outside the document (in an XmlExternalFiles), the absolute path.
class XmlFile : public XmlBase {
public:
    explicit XmlFile(Key key);

    static std::shared_ptr<XmlFile> create();
    static XmlFile* cast(XmlBase* object) { return dynamic_cast<XmlFile*>(object); }

    QString elementName() const override;
    QImage iconImage() override;
    // The absolute path: the parent's path and the file name. A file taken out
    // of its tree answers the path it had last (nothing when it never had one).
    QString fullname() const override;
    // The path relative to the document folder: the parent's part, then the file name.
    QString filenameWithRoot(const QString& root) override;
    // Adds the file's path under "files" to the list.
    void listOfFilesToCopyAll(QStringList& files, bool all) override;
    // Nothing is ever read under a file element.
    XmlBasePtr createChildFromTag(const QString& tag) override;
    void setAttributeTo(const QString& key, const QString& value) override;
    void appendAttributes(QString& xml) override;
    // The display name: the file name.
    QString name() const override;

    const QString& filename() const { return _filename; }
    void setFilename(const QString& filename);
    // Renames the file on disk inside its folder, then the element. A name
    // that is taken, that is not a plain name inside the folder ("", ".",
    // "..", or containing "/" or NUL), or a move that fails changes nothing.
    // Answers whether the file was renamed; `why` tells why not.
    bool renameFilename(const QString& newName, QString* why = nullptr);

    // Seconds since 1970 of the date the name spells ("%a %b %d,%Y %I:%M:%S %p",
    // C locale, local time), worked out once; 0 while the name is no such date.
    double creationDate();
    // -1 when this one is later (or the other has no date at all), 1 when the
    // other is later, 0 when both are equal: sorting by it puts the newest first.
    int compareCreationDate(XmlBase* other);

    // A name that may be given to a file or folder inside a folder: not
    // empty, not "." or "..", and without "/" or NUL.
    static bool isPlainName(const QString& name);
    // The creation date of any element of a file tree (folders and tree roots
    // answer 0), or nothing for an element of another kind.
    static std::optional<double> creationDateOf(XmlBase* element);
    // compareCreationDate for any element of a file tree against another
    // element: -1 when the element is later (or the other has no date at
    // all), 1 when the other is later, 0 when both are equal.
    static int compareCreationDates(XmlBase* element, XmlBase* other);

protected:
    QString _filename;
    double _creationDate = 0.0;
    mutable QString _savedFullname;
};
