#pragma once

#include <QString>

class XmlBom;
class XmlD;
class XmlLocation;

namespace lq {

// The upload script for an FTP client application (ftpApp 0 Transmit, 1
// Cyberduck): connect to the location's server, make the site's folders,
// delete the change set's removals and upload its additions from
// "<site folder>/homepage". This system has no bridge to run it; it is
// written for the user to run elsewhere.
QString uploadScriptText(XmlLocation* location, XmlBom* bom, const QString& siteFolder);

// One folder level of a removal or addition tree, for each application.
void transmitRemoveFilesFilesLocation(QString& script, XmlD* files, const QString& location);
void transmitUploadFilesFilesLocationLocal(QString& script, XmlD* files, const QString& location, const QString& local);
void cyberduckRemoveFilesFilesLocation(QString& script, XmlD* files, const QString& location);
void cyberduckUploadFilesFilesLocationLocal(QString& script, XmlD* files, const QString& location, const QString& local);

} // namespace lq
