#pragma once

#include "pipeline/XmlCreate.h"

// The step that copies a support file into the site: from the shared support
// folder of the maker's programs when it is there, else from the
// application's "styles" resources. A file already at the target stays.
class XmlCopy final : public XmlCreate {
public:
    explicit XmlCopy(Key key);

    static std::shared_ptr<XmlCopy> create();
    static XmlCopy* cast(XmlBase* object) { return dynamic_cast<XmlCopy*>(object); }
    // A step copying the file into the folder (relative to the site's folder).
    static std::shared_ptr<XmlCopy> createForFileLocation(const QString& filename, const QString& dir);

    QString elementName() const override;

    // Copies a file or folder with its contents; answers false. A missing
    // source or a failed or refused copy is reported in the Activity log.
    bool run() override;
    // "<status> copying file:<filename>" and a line feed.
    QString statusMessage() override;

    // The shared support folder the files are looked for first:
    // "<XDG data folder>/Moravine/vorns".
    static QString sharedSupportFolder();
};
