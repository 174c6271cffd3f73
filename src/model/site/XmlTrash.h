#pragma once

#include "model/core/XmlBase.h"

// The site's trash: deleted pages, groups and photos wait here, whole,
// until the trash is emptied or they are moved back. Its content is saved
// with the site, its pictures count as in use and its pages keep their
// template binding, but the build ignores it. Its name is always "Trash" and
// never written.
class XmlTrash final : public XmlBase {
public:
    explicit XmlTrash(Key key);

    static std::shared_ptr<XmlTrash> create();
    static XmlTrash* cast(XmlBase* object) { return dynamic_cast<XmlTrash*>(object); }

    QString elementName() const override;
    // Album and group pages and photos of any kind; never the home page, the
    // trash itself or anything it lies in.
    bool canYouBeMyParent(XmlBase* child) override;
    QString name() const override;
    QImage iconImage() override;

    // The names of the picture files its items use, in order: "image<N>.jpg"
    // for a photo, the page's list for an album or group page.
    QStringList picturesInSite();
    // Passes the binding to every album or group page it holds.
    void setTemplateForUUID(int number, const QString& uuid);
};
