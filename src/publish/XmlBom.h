#pragma once

#include "model/core/XmlBase.h"
#include "publish/XmlD.h"

#include <QHash>
#include <QSet>

namespace lq {
class ConfinedFolder;
}

// A change set between two digest trees: the files of the new tree that are
// new or changed, and the files of the old tree that the new one no longer
// has. Applied to a local folder it copies the additions there from the
// source folder and deletes the removals.
class XmlBom final : public XmlBase {
public:
    explicit XmlBom(Key key);

    static std::shared_ptr<XmlBom> create();
    static XmlBom* cast(XmlBase* object) { return dynamic_cast<XmlBom*>(object); }

    QString elementName() const override;

    // The change set from the old tree to the new one; either may be nothing,
    // which counts as an empty folder. A file the new tree's listing could
    // not take (its listing failures) is not removed: it is still there.
    static std::shared_ptr<XmlBom> createWithSourceDest(XmlD* source, XmlD* dest);

    const QString& rootSource() const { return _rootSource; }
    void setRootSource(const QString& folder) { _rootSource = folder; }
    // The source as a folder the site's gateway opened (its generated
    // site), in place of the path.
    void setSourceFolder(std::shared_ptr<lq::ConfinedFolder> folder) { _sourceFolder = std::move(folder); }
    const QString& rootDest() const { return _rootDest; }
    void setRootDest(const QString& folder) { _rootDest = folder; }
    XmlD* addFiles() const { return _addFiles.get(); }
    void setAddFiles(std::shared_ptr<XmlD> tree) { _addFiles = std::move(tree); }
    XmlD* removeFiles() const { return _removeFiles.get(); }
    void setRemoveFiles(std::shared_ptr<XmlD> tree) { _removeFiles = std::move(tree); }

    // Where the temporary names of a copy are recorded before any of them
    // is made: a file below a folder of the program's own (the site
    // folder), never below the destination, whose names are the user's.
    void setTemporaryRecord(std::shared_ptr<lq::ConfinedFolder> folder, const QString& name)
    {
        _recordFolder = std::move(folder);
        _recordName = name;
    }

    // Applies the change set to the destination folder: copies the additions
    // from the source folder, then deletes the removals, each file beside
    // its place first, under a temporary name that neither the source nor
    // the destination holds, and renamed into place once whole. Everything
    // below the two folders is reached through their gateways: a link on
    // the way is never followed, a folder that a link or a file takes the
    // place of is not made and its files do not arrive. Nothing is ever
    // removed for the shape of its name: the temporary files a killed copy
    // left are taken away first only when the record names them, and a
    // file named like a temporary one is a file like any other. Answers ""
    // on success, else the error text. A folder error of the source or the
    // destination themselves stops at once (nothing is deleted then); files
    // that could not be copied are listed in failedFiles, the rest goes on
    // and the answer names them.
    QString createFiles();
    // The slash-separated paths of the additions that did not arrive.
    QStringList failedFiles() const;
    // The same, each with why.
    const FileFailures& failures() const { return _failures; }

private:
    std::shared_ptr<lq::ConfinedFolder> openSource(QString& error) const;
    std::shared_ptr<lq::ConfinedFolder> openDestination(QString& error) const;
    // Takes away the temporary files the record names that a killed copy
    // left; answers those that are still there (in this destination).
    QStringList removeRecordedLeftovers(lq::ConfinedFolder& destination, const lq::ConfinedFolder* source);
    // Chooses the temporary name of every addition.
    void chooseTemporaries(XmlD* tree, const lq::ConfinedFolder& source, const lq::ConfinedFolder& destination, const QString& relative,
        QSet<QString>& taken);
    // Stores the temporary names (nothing: the record goes).
    void writeRecord(const lq::ConfinedFolder& destination, const QStringList& paths);
    void copyTree(XmlD* tree, const lq::ConfinedFolder& source, lq::ConfinedFolder& destination, const QString& relative);
    void deleteTree(XmlD* tree, lq::ConfinedFolder& destination, const QString& relative);

    std::shared_ptr<lq::ConfinedFolder> _sourceFolder;
    QString _rootSource;
    QString _rootDest;
    std::shared_ptr<XmlD> _addFiles;
    std::shared_ptr<XmlD> _removeFiles;
    FileFailures _failures;
    std::shared_ptr<lq::ConfinedFolder> _recordFolder;
    QString _recordName;
    // The temporary name (a path below the destination) of each addition's path.
    QHash<QString, QString> _temporaries;
};
