#include "publish/DigestListing.h"

#include "platform/AuxiliaryTools.h"
#include "platform/Log.h"
#include "platform/Process.h"
#include "publish/XmlD.h"
#include "publish/XmlF.h"

#include <QDir>
#include <QFileInfo>

namespace lq {

namespace {

std::shared_ptr<XmlD> listFolder(const QString& folderPath, QString* error)
{
    const QString tool = auxiliaryTool(QStringLiteral("xmldir"));
    QString path = folderPath;
    if (!path.endsWith(QLatin1Char('/')))
        path += QLatin1Char('/');
    const auto fail = [&](const QString& reason) -> std::shared_ptr<XmlD> {
        log(QStringLiteral("MyDocument createXmlD: ") + reason);
        if (error && error->isEmpty())
            *error = reason;
        return nullptr;
    };
    if (tool.isEmpty())
        return fail(QStringLiteral("the listing tool \"xmldir\" is missing"));
    if (!QFileInfo(path).isDir())
        return fail(QStringLiteral("the folder ") + path + QStringLiteral(" does not exist"));
    const QString name = QFileInfo(path.chopped(1)).fileName();
    const ProcessResult run = runProcess(tool, { name }, path);
    if (!run.succeeded())
        return fail(run.failureDetail(tool));
    const XmlBasePtr root = XmlBase::createWithXmlRootDir(QString::fromUtf8(run.output), QString());
    std::shared_ptr<XmlD> tree = std::dynamic_pointer_cast<XmlD>(root);
    if (!tree || !XmlD::isFolderNode(tree.get()))
        return fail(QStringLiteral("the listing of ") + path + QStringLiteral(" is no folder"));
    for (const QByteArray& rawLine : run.error.split('\n')) {
        const QString line = QString::fromUtf8(rawLine);
        if (line.startsWith(QStringLiteral("unread: "))) {
            // A file the tool could not take: it is not in the tree, and
            // the publication says so.
            const qsizetype tab = line.indexOf(QLatin1Char('\t'));
            const QString name = XmlD::nameFromEscaped(QStringView(line).sliced(8, (tab < 0 ? line.size() : tab) - 8));
            tree->addListingFailure({ name, tab < 0 ? QString() : line.mid(tab + 1) });
            continue;
        }
        if (!line.startsWith(QStringLiteral("md5: ")))
            continue;
        const QString rest = line.mid(5);
        // Our tool ends the name with the line's last colon, so a folder
        // name may hold colons itself; names come escaped as in its XML.
        const qsizetype colon = rest.lastIndexOf(QLatin1Char(':'));
        if (colon <= 0)
            continue;
        const QString subfolder = XmlD::nameFromEscaped(QStringView(rest).left(colon));
        if (subfolder == QStringLiteral("*") || !XmlD::isSafeName(subfolder))
            continue;
        std::shared_ptr<XmlD> child = listFolder(path + subfolder + QLatin1Char('/'), error);
        if (!child)
            return nullptr;
        for (const FileFailure& failure : child->listingFailures())
            tree->addListingFailure({ subfolder + QLatin1Char('/') + failure.path, failure.why });
        tree->addChild(child);
    }
    return tree;
}

} // namespace

std::shared_ptr<XmlD> createXmlD(const QString& folderPath, QString* error)
{
    // A listing that failed anywhere gives nothing at all: a partial tree
    // would make its missing files look deleted.
    return listFolder(folderPath, error);
}

QList<FileDigest> fileDigests(const XmlD* tree)
{
    QList<FileDigest> files;
    if (!tree)
        return files;
    files.reserve(tree->numberChildren());
    for (const XmlBasePtr& child : tree->children())
        if (XmlD::isFileNode(child.get()))
            files.append({ child->name(), static_cast<const XmlF*>(child.get())->md5() });
    return files;
}

std::shared_ptr<XmlD> readLastXmlD(const QString& siteFolder, QString* refusal)
{
    const QString path = siteFolder + QStringLiteral("/lastbom.xmlbase");
    if (!QFileInfo::exists(path))
        return nullptr;
    std::shared_ptr<XmlD> tree = std::dynamic_pointer_cast<XmlD>(XmlBase::createWithFile(path));
    if (!tree || !XmlD::isFolderNode(tree.get()))
        return nullptr;
    const QString unsafe = tree->firstUnsafeName();
    if (!unsafe.isEmpty()) {
        const QString why = QStringLiteral("The record of the last publication was set aside: it names ") + unsafe
            + QStringLiteral(", which is no file inside the site. Every file is sent and none is removed.");
        log(why);
        if (refusal)
            *refusal = why;
        return nullptr;
    }
    return tree;
}

bool writeLastXmlD(const QString& siteFolder, XmlD* tree, const std::function<void(const QString&)>& activity)
{
    const QString xml = tree ? tree->createXml() : QString();
    if (activity)
        activity(QStringLiteral("lastXmlD: ") + xml);
    if (!tree)
        return false;
    return tree->saveToFile(siteFolder + QStringLiteral("/lastbom.xmlbase"));
}

} // namespace lq
