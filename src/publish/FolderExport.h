#pragma once

#include <QString>

class DocumentBase;
class XmlBom;
class XmlD;

namespace lq {

// The file of the site folder that records the temporary files an export
// to a folder is making, so that the next export takes away what a killed
// one left (see XmlBom::setTemporaryRecord).
inline const QString exportRecordName = QStringLiteral("exporting.xmlbase");

// Publishes to a local folder: copies the change set's additions from the
// source folder into the destination folder and deletes its removals there,
// then stores the current tree as the published one (the folder road opens
// the exported site afterwards).
// A folder error stores nothing; files that could not be copied are left
// out of the stored tree, so the next export copies them again. Answers ""
// on success, else the error text (also written to the log).
QString exportChangesToFolder(DocumentBase* document, XmlBom* bom, XmlD* current, const QString& source,
    const QString& destination);

// The destination of a folder export: the home folder followed by the
// location's export folder (which begins with "/").
QString folderExportDestination(const QString& exportFolder);

// Whether a stored export folder is a file address ("file:///srv/site"):
// a folder chosen outside the home folder.
bool isFileAddress(const QString& storedFolder);

// The export folder relative to the home folder, beginning with "/",
// whether it was stored relative or as an absolute path under home.
QString relativeExportFolder(const QString& stored);

} // namespace lq
