#include "publish/DigestListing.h"

#include "platform/AuxiliaryTools.h"
#include "platform/ConfinedFolder.h"
#include "platform/Log.h"
#include "platform/Process.h"
#include "publish/XmlD.h"
#include "publish/XmlF.h"

#include <QDir>
#include <QFileInfo>

namespace lq {

namespace {

// Lists the folder, opened through the gateway, with the tool working in it
// (entered by its descriptor, never by a path it would look up again); then
// each subfolder the tool names, opened the same way from this one.
std::shared_ptr<XmlD> listFolder(const ConfinedFolder& folder, const QString& name, QString* error)
{
    const QString tool = auxiliaryTool(QStringLiteral("xmldir"));
    const auto fail = [&](const QString& reason) -> std::shared_ptr<XmlD> {
        log(QStringLiteral("MyDocument createXmlD: ") + reason);
        if (error && error->isEmpty())
            *error = reason;
        return nullptr;
    };
    if (tool.isEmpty())
        return fail(QStringLiteral("the listing tool \"xmldir\" is missing"));
    ProcessOptions options;
    options.workingDescriptor = folder.descriptor();
    const ProcessResult run = runProcess(tool, { name }, options);
    if (!run.succeeded())
        return fail(run.failureDetail(tool));
    const XmlBasePtr root = XmlBase::createWithXmlRootDir(QString::fromUtf8(run.output), QString());
    std::shared_ptr<XmlD> tree = std::dynamic_pointer_cast<XmlD>(root);
    if (!tree || !XmlD::isFolderNode(tree.get()))
        return fail(QStringLiteral("the listing of ") + folder.path() + QStringLiteral(" is no folder"));
    for (const QByteArray& rawLine : run.error.split('\n')) {
        const QString line = QString::fromUtf8(rawLine);
        if (!line.startsWith(QStringLiteral("md5: ")))
            continue;
        const QString rest = line.mid(5);
        // Our tool ends the name with the line's last colon, so a folder
        // name may hold colons itself.
        const qsizetype colon = rest.lastIndexOf(QLatin1Char(':'));
        if (colon <= 0)
            continue;
        const QString subfolderName = rest.left(colon);
        if (subfolderName == QStringLiteral("*"))
            continue;
        QString why;
        const std::shared_ptr<ConfinedFolder> subfolder = ConfinedFolder::unsafeName(subfolderName).isEmpty() && !subfolderName.contains(QLatin1Char('/'))
            ? folder.folder(subfolderName, &why)
            : nullptr;
        if (!subfolder)
            return fail(why.isEmpty() ? QStringLiteral("the listing of ") + folder.path() + QStringLiteral(" names no folder of it: ") + subfolderName : why);
        std::shared_ptr<XmlD> child = listFolder(*subfolder, subfolderName, error);
        if (!child)
            return nullptr;
        tree->addChild(child);
    }
    return tree;
}

} // namespace

std::shared_ptr<XmlD> createXmlD(const QString& folderPath, QString* error)
{
    QString path = folderPath;
    while (path.size() > 1 && path.endsWith(QLatin1Char('/')))
        path.chop(1);
    QString why;
    const std::shared_ptr<ConfinedFolder> folder = QFileInfo(path).isDir() ? ConfinedFolder::open(path, &why) : nullptr;
    if (!folder) {
        const QString reason = QStringLiteral("the folder ") + path + QStringLiteral("/ does not exist");
        log(QStringLiteral("MyDocument createXmlD: ") + reason);
        if (error)
            *error = reason;
        return nullptr;
    }
    return createXmlD(*folder, QString(), error);
}

std::shared_ptr<XmlD> createXmlD(const ConfinedFolder& root, const QString& name, QString* error)
{
    // A listing that failed anywhere gives nothing at all: a partial tree
    // would make its missing files look deleted.
    if (name.isEmpty())
        return listFolder(root, QFileInfo(root.path()).fileName(), error);
    QString why;
    const std::shared_ptr<ConfinedFolder> folder = root.folder(name, &why);
    if (!folder) {
        log(QStringLiteral("MyDocument createXmlD: ") + why);
        if (error)
            *error = why;
        return nullptr;
    }
    return listFolder(*folder, QFileInfo(name).fileName(), error);
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
    // The site folder's own file, replaced whole through its gateway (a link
    // in its place is replaced, never written through); it is the owner's
    // alone, as every element file.
    QString why;
    const std::shared_ptr<ConfinedFolder> folder = ConfinedFolder::open(siteFolder, &why);
    if (!folder || !folder->writeFileAtomically(QStringLiteral("lastbom.xmlbase"), xml.toUtf8(), &why, { .ownerOnly = true, .durable = true })) {
        log(why);
        return false;
    }
    return true;
}

} // namespace lq
