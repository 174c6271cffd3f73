#pragma once

// A site folder with a generated "homepage" folder and a document that lists
// it, stores its last published tree and keeps its Activity lines: what the
// uploader needs of a site document.
#include "publish/DigestListing.h"
#include "publish/XmlBom.h"
#include "publish/XmlD.h"

#include "support/FakeDocument.h"
#include "support/HelperTools.h"
#include "support/TestFiles.h"

#include <QDirIterator>
#include <QTemporaryDir>

class PublishDocument : public FakeDocument {
public:
    explicit PublishDocument(const QString& folder)
        : siteFolder(folder)
    {
    }
    void addActivityString(const QString& line) override { activity.append(line); }
    std::shared_ptr<XmlD> createXmlD(const QString& path) override
    {
        return lq::createXmlD(path.isEmpty() ? siteFolder + QStringLiteral("/homepage/") : path);
    }
    QList<FileDigest> fileDigests(const QString& folder) override { return lq::fileDigests(createXmlD(folder).get()); }
    std::shared_ptr<XmlD> lastXmlD(QString* refusal = nullptr) override { return lq::readLastXmlD(siteFolder, refusal); }
    void setLastXmlD(XmlD* tree) override
    {
        ++stores;
        lq::writeLastXmlD(siteFolder, tree, [this](const QString& line) { activity.append(line); });
    }
    // The stored tree's XML, or "" when none is stored.
    QString lastbom() const { return QString::fromUtf8(readAll(siteFolder + QStringLiteral("/lastbom.xmlbase"))); }

    QString siteFolder;
    QStringList activity;
    int stores = 0;
};

struct PublishSite {
    QTemporaryDir dir;
    PublishDocument document { dir.path() };

    PublishSite() { useBuiltHelperTools(); }
    QString homepage() const { return dir.path() + QStringLiteral("/homepage"); }
    void write(const QString& path, const QByteArray& bytes) { writeAll(homepage() + QLatin1Char('/') + path, bytes); }

    // The change set from the stored tree to the generated folder, and the current tree.
    std::shared_ptr<XmlBom> changes(std::shared_ptr<XmlD>* current)
    {
        *current = document.createXmlD(QString());
        std::shared_ptr<XmlD> last = document.lastXmlD();
        auto bom = XmlBom::createWithSourceDest(current->get(), last.get());
        bom->setRootSource(homepage());
        return bom;
    }
};

// The relative paths of every file below the folder, sorted.
inline QStringList filesBelow(const QString& folder)
{
    QStringList files;
    QDirIterator it(folder, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext())
        files.append(QDir(folder).relativeFilePath(it.next()));
    files.sort();
    return files;
}

// Whether every file of the first folder is in the second with the same bytes.
inline bool sameFiles(const QString& from, const QString& to)
{
    for (const QString& file : filesBelow(from)) {
        if (readAll(from + QLatin1Char('/') + file) != readAll(to + QLatin1Char('/') + file))
            return false;
    }
    return true;
}
