#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <memory>
#include <utility>

namespace lq {
class ConfinedFolder;
}

// The temporary files the transfer tool made on a server and never said
// were gone (the tool was stopped while it sent one): the site folder keeps
// them in "leftovers.txt", one "<path> <destination>" a line, the path as
// the tool named it (URL-escaped, so without spaces). A later publication to
// the same destination removes exactly these; nothing on a server is ever
// removed because its name looks like one of ours.
class LeftoverTemporaries {
public:
    // Reads the site folder's record. Without a site folder the record lives
    // as long as this object.
    void read(const std::shared_ptr<lq::ConfinedFolder>& site);
    // The temporary files left at the destination, in the order they were made.
    QStringList at(const QString& destination) const;
    void add(const QString& destination, const QString& path);
    void remove(const QString& destination, const QString& path);
    // Writes the record when it changed; false, with why, when it could not.
    bool write(QString* why);

    // The plain path of a path as the tool names it.
    static QString plainPath(const QString& escaped);

private:
    std::shared_ptr<lq::ConfinedFolder> _site;
    // Destination and path.
    QList<std::pair<QString, QString>> _entries;
    bool _changed = false;
};
