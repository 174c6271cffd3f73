#include "publish/UploadScript.h"

#include "platform/Escaping.h"
#include "publish/XmlBom.h"
#include "publish/XmlD.h"
#include "publish/XmlLocation.h"


namespace lq {

namespace {

QString quoted(const QString& text)
{
    return doubleQuoteEscape(text);
}

} // namespace

void transmitRemoveFilesFilesLocation(QString& script, XmlD* files, const QString& location)
{
    for (const XmlBasePtr& child : files->children()) {
        const QString name = quoted(child->name());
        if (XmlD::isFileNode(child.get())) {
            script += QStringLiteral("delete remote item \"") + name + QStringLiteral("\"\n");
        } else if (XmlD::isFolderNode(child.get())) {
            const QString path = location + QLatin1Char('/') + name;
            script += QStringLiteral("if (set their stuff to \"") + path + QStringLiteral("\") then\n");
            transmitRemoveFilesFilesLocation(script, XmlD::cast(child.get()), path);
            script += QStringLiteral("end if\n");
            script += QStringLiteral("set their stuff to \"") + location + QStringLiteral("\"\n");
        }
    }
}

void transmitUploadFilesFilesLocationLocal(QString& script, XmlD* files, const QString& location, const QString& local)
{
    for (const XmlBasePtr& child : files->children()) {
        const QString name = quoted(child->name());
        if (XmlD::isFileNode(child.get())) {
            script += QStringLiteral("upload item \"") + local + QLatin1Char('/') + name + QStringLiteral("\" with resume mode replace\n");
        } else if (XmlD::isFolderNode(child.get())) {
            const QString path = location + QLatin1Char('/') + name;
            const QString folder = local + QLatin1Char('/') + name;
            script += QStringLiteral("create remote folder named \"") + name + QStringLiteral("\"\n");
            script += QStringLiteral("if (set their stuff to \"") + path + QStringLiteral("\") then\n");
            transmitUploadFilesFilesLocationLocal(script, XmlD::cast(child.get()), path, folder);
            script += QStringLiteral("end if\n");
            script += QStringLiteral("set their stuff to \"") + location + QStringLiteral("\"\n");
        }
    }
}

void cyberduckRemoveFilesFilesLocation(QString& script, XmlD* files, const QString& location)
{
    for (const XmlBasePtr& child : files->children()) {
        const QString name = quoted(child->name());
        if (XmlD::isFileNode(child.get())) {
            script += QStringLiteral("if (exists file \"") + name + QStringLiteral("\") then\n");
            script += QStringLiteral("delete file \"") + name + QStringLiteral("\"\n");
            script += QStringLiteral("end if\n");
        } else if (XmlD::isFolderNode(child.get())) {
            script += QStringLiteral("change folder to \"") + name + QStringLiteral("\"\n");
            cyberduckRemoveFilesFilesLocation(script, XmlD::cast(child.get()), location + QLatin1Char('/') + name);
            script += QStringLiteral("change folder to \"..\"\n");
        }
    }
}

void cyberduckUploadFilesFilesLocationLocal(QString& script, XmlD* files, const QString& location, const QString& local)
{
    for (const XmlBasePtr& child : files->children()) {
        const QString name = quoted(child->name());
        if (XmlD::isFileNode(child.get())) {
            script += QStringLiteral("upload file \"") + local + QLatin1Char('/') + name + QStringLiteral("\" to \"") + location + QStringLiteral("\"\n");
        } else if (XmlD::isFolderNode(child.get())) {
            script += QStringLiteral("if (not(exists file \"") + name + QStringLiteral("\")) then\n");
            script += QStringLiteral("create folder \"") + name + QStringLiteral("\"\n");
            script += QStringLiteral("end if\n");
            script += QStringLiteral("change folder to \"") + name + QStringLiteral("\"\n");
            cyberduckUploadFilesFilesLocationLocal(script, XmlD::cast(child.get()), location + QLatin1Char('/') + name,
                local + QLatin1Char('/') + name);
            script += QStringLiteral("change folder to \"..\"\n");
        }
    }
}

QString uploadScriptText(XmlLocation* location, XmlBom* bom, const QString& siteFolder)
{
    const QString local = siteFolder + QStringLiteral("/homepage");
    const QString remote = QLatin1Char('/') + location->ftpFolder();
    const bool customPort = location->ftpDefault() == 0;
    QString script;
    script += QStringLiteral("set theServer to \"") + quoted(location->location()) + QStringLiteral("\"\n");
    script += QStringLiteral("set theUser to \"") + quoted(location->username()) + QStringLiteral("\"\n");
    script += QStringLiteral("set thePassword to \"") + quoted(location->password()) + QStringLiteral("\"\n");
    script += QStringLiteral("set theUploadFolder to \"") + quoted(location->ftpFolder()) + QStringLiteral("\"\n");
    script += QStringLiteral("set thePort to \"") + quoted(location->effectiveFtpPort()) + QStringLiteral("\"\n");
    XmlD* removals = bom ? bom->removeFiles() : nullptr;
    XmlD* additions = bom ? bom->addFiles() : nullptr;
    if (location->ftpApp() == 0) {
        script += location->ftpType() == 0 ? QStringLiteral("set theProtocol to \"FTP\"\n\n") : QStringLiteral("set theProtocol to \"SFTP\"\n\n");
        script += QStringLiteral("tell application \"Transmit\"\nset SuppressAppleScriptAlerts to true\n"
                                 "set theDoc to (make new document at end)\ntell current session of theDoc\n");
        script += QStringLiteral("if (connect to theServer as user theUser with password thePassword with connection type theProtocol");
        if (customPort)
            script += QStringLiteral(" using port thePort");
        script += QStringLiteral(") then\n");
        script += QStringLiteral("create remote folder named theUploadFolder\nif (set their stuff to theUploadFolder) then\n"
                                 "create remote folder named \"bitmaps\"\ncreate remote folder named \"pictures\"\n");
        if (removals)
            transmitRemoveFilesFilesLocation(script, removals, remote);
        if (additions)
            transmitUploadFilesFilesLocationLocal(script, additions, remote, local);
        script += QStringLiteral("end if\nend if\ndisconnect\nend tell\nend tell\n");
    } else if (location->ftpApp() == 1) {
        script += location->ftpType() == 0 ? QStringLiteral("set theProtocol to \"ftp\"\n\n") : QStringLiteral("set theProtocol to \"sftp\"\n\n");
        script += QStringLiteral("tell application \"Cyberduck\"\nset theBrowser to (make new browser)\ntry\ntell (theBrowser)\n");
        script += QStringLiteral("connect to theServer with protocol theProtocol as user theUser with password thePassword");
        if (customPort)
            script += QStringLiteral(" with port thePort");
        script += QStringLiteral("\n");
        if (!location->ftpFolder().isEmpty())
            script += QStringLiteral("if not (exists file theUploadFolder) then\ncreate folder theUploadFolder\nend if\nchange folder to theUploadFolder\n");
        script += QStringLiteral("if (not(exists file \"bitmaps\")) then\ncreate folder \"bitmaps\"\nend if\n"
                                 "if (not(exists file \"pictures\")) then\ncreate folder \"pictures\"\nend if\n");
        if (removals)
            cyberduckRemoveFilesFilesLocation(script, removals, remote);
        if (additions)
            cyberduckUploadFilesFilesLocationLocal(script, additions, remote, local);
        script += QStringLiteral("disconnect\nend tell\non error error_message\ndisplay dialog error_message\nend try\nend tell\n");
    }
    return script;
}

} // namespace lq
