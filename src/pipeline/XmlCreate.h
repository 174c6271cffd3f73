#pragma once

#include "pipeline/XmlRun.h"

namespace lq {
class ConfinedFolder;
}

// The step that writes its content text to a file of the site: "<processor's
// rootDir>/<dir>/<filename>", replacing what is there, atomically, through
// the site folder's gateway.
class XmlCreate : public XmlRun {
public:
    explicit XmlCreate(Key key);

    static std::shared_ptr<XmlCreate> create();
    static XmlCreate* cast(XmlBase* object) { return dynamic_cast<XmlCreate*>(object); }

    QString elementName() const override;
    // "dir" and "filename"; the rest goes to the base.
    void setAttributeTo(const QString& key, const QString& value) override;
    // The base's, then ` dir="%@" filename="%@"`, escaped.
    void appendAttributes(QString& xml) override;

    const QString& dir() const { return _dir; }
    void setDir(const QString& dir) { _dir = dir; }
    const QString& filename() const { return _filename; }
    void setFilename(const QString& filename) { _filename = filename; }

    // Writes the content as UTF-8; answers false. A failed or refused write is
    // reported in the Activity log.
    bool run() override;
    // "<status> saving file:<filename>" and a line feed.
    QString statusMessage() override;

protected:
    // The name below the site folder of the file the step stands for
    // ("homepage/index.html"), or "" when it would lie outside the site's
    // folder (an absolute path or a ".." in `dir` or `filename`); `why` then
    // tells the reason.
    QString targetName(QString& why);
    // The gateway to the site folder the step writes in; nothing, with the
    // reason, when there is none.
    std::shared_ptr<lq::ConfinedFolder> siteFolder(QString& why);

    QString _dir = QStringLiteral("");
    QString _filename = QStringLiteral("");
};
