#pragma once

#include <QString>

namespace lq {

class ConfinedFolder;

// The record of the last publication ("lastbom.xmlbase", read and written
// by readLastXmlD and writeLastXmlD) belongs to the destination the site
// names now. The records of the other destinations the site was published
// to wait in its folder "lastboms", each under a name made from its
// destination, and come back when the site names that destination again:
// a site sent to one server, then to another and back, sends only what
// changed since it was last there. The destination is told by a text that
// names the place (server type, address and port, user where the place
// depends on it, folder) and never the password; the file names keep only
// a digest of it. The records are their owner's alone, as every file of
// the site.

// The folder of the records that wait, in the site folder.
QString keptRecordsFolder();
// The name a destination's record waits under in that folder
// ("<digest>.xmlbase").
QString keptRecordName(const QString& destination);

// The site now names `to` instead of `from`: the record of the last
// publication is set aside as `from`'s, and the one kept for `to`, if any,
// takes its place. Answers whether `to` has a record. What cannot be set
// aside is removed (the next publication then sends every file and removes
// nothing); *error tells what failed.
bool switchPublicationRecord(ConfinedFolder& site, const QString& from, const QString& to, QString* error = nullptr);

} // namespace lq
