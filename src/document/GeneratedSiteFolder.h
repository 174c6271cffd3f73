#pragma once

#include <QString>

namespace lq {
class ConfinedFolder;
}

// The generated site, "homepage", across builds. Every build makes its
// files afresh in an empty folder, so that nothing an earlier build made is
// left behind; but a file written again with the same bytes is a new file
// on disk, with new times and a new inode, which every listing would have
// to read again. So the last build's folder waits aside while the new one
// is made, and when the new build is whole it is put in place of the last
// one file by file: a file whose bytes and permissions did not change stays
// the very file it was (its state on disk untouched), everything else is
// the new build's, and what the new build no longer has goes. The folder
// then holds exactly what the new build made.
//
// Both folders wait in the site's "temp" folder, on the same disk as the
// site, so that setting aside and putting in place are renames. Everything
// goes through the site folder's gateway: a link on the way is never
// followed, and a link in the generated site is moved or removed as the
// link it is.
class GeneratedSiteFolder {
public:
    explicit GeneratedSiteFolder(lq::ConfinedFolder& site);

    // Before a build: sets "homepage" aside as the last build, so that the
    // build starts where nothing is. When a last build still waits aside (a
    // build that was cancelled or stopped before it was whole), that one is
    // kept and the unfinished "homepage" goes. Where nothing can be set
    // aside, or the disk has no room for a second build beside it,
    // "homepage" is removed, as a build always did. False (and why) when
    // "homepage" could not be cleared.
    bool setAside(QString* error = nullptr);
    // After a build: puts the new "homepage" in place of the last build as
    // described above. Answers whether the folder now holds exactly the new
    // build; when not, *error says why (the build may then not be published).
    bool settle(QString* error = nullptr);

    // The names below the site folder.
    static QString homepage();
    // Where the last build waits during a build.
    static QString lastBuild();
    // Where the new build waits while it is put in place.
    static QString newBuild();

private:
    lq::ConfinedFolder& _site;
};
