#pragma once
#include <QString>

// The theme library in the support folder: the folder "themes", filled once
// from the resource archive "styles/lumenquill200.qvzip", and the marker
// folder ".200" that records it was filled.
namespace ThemeLibrary {

enum class SeedResult { AlreadySeeded, Unpacked, ArchiveMissing, UnpackFailed };

// Unpacks the archive into the themes folder when that folder is new or the
// marker is missing, then makes the marker. A file in the place of the folder
// is removed first. The marker is made only after the archive unpacked, so a
// later start tries again when the archive was missing or broken.
SeedResult seedThemeLibrary(const QString& supportFolder, const QString& archive);
// The archive among the resources.
QString defaultArchive();

} // namespace ThemeLibrary
