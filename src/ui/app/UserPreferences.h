#pragma once
// The application's preferences in the user defaults: read into the
// application object at launch, migrated from older versions, written back
// with "Version" 6. "MaxPictureWidth" and "MaxPictureHeight" are read (below
// 1024 counts as 1024) but never written, and so are "MacWebDAVHost" and
// "MacHomePageHost", the hosts of a .Mac-compatible service.
#include <QString>

class MyApplication;
namespace lq {
class UserDefaults;
}

namespace UserPreferences {

constexpr int currentVersion = 6;

void readPreferences(lq::UserDefaults& defaults, MyApplication& app);
// The bounds on archives and document files (lq::InputLimits):
// "MaxArchiveMemberMB" (512), "MaxArchiveRatio" (200) and
// "MaxDocumentFileMB" (256); read at launch, never written. A number past
// what a bound may be is held to its most, with a line in the log.
void readInputLimits(const lq::UserDefaults& defaults);
// The bounds of publishing (lq::TransferLimits): "TransferStallSeconds"
// (60), "TransferBaseSeconds" (120), "TransferSlowestKBPerSecond" (4),
// "MaxListingMB" (8) and "MaxListingNames" (100000); read at launch, never
// written; held to their most as the bounds on archives are (times to a day).
void readTransferLimits(const lq::UserDefaults& defaults);
// Brings older settings up to date by the stored version, then writes them.
void checkForPrefsUpdate(lq::UserDefaults& defaults, MyApplication& app);
void writePreferences(lq::UserDefaults& defaults, const MyApplication& app);

// The address of the maker's web server ("" when none is set: the version
// check, bug reports and online pages are then off).
QString serverAddress(const lq::UserDefaults& defaults);
void setServerAddress(lq::UserDefaults& defaults, const QString& address);

} // namespace UserPreferences
