#pragma once

#include "model/XmlBase.h"

// The base of every page of the site's page tree.
class XmlWebItem : public XmlBase {
public:
    explicit XmlWebItem(Key key);

    static std::shared_ptr<XmlWebItem> create();
    static XmlWebItem* cast(XmlBase* object) { return dynamic_cast<XmlWebItem*>(object); }

    const QString& pageUUID() const { return _pageUUID; }
    void setPageUUID(const QString& uuid) { _pageUUID = uuid; }
    bool showInNav() const { return _showInNav; }
    void setShowInNav(bool show) { _showInNav = show; }
    virtual QString externalLink() const;
    void setExternalLink(const QString& link) { _externalLink = link; }
    bool canEditLink() const { return _canEditLink; }

    XmlHomePage* homepage() override;

protected:
    bool _showInNav = true;
    QString _externalLink;
    bool _canEditLink = true;
    QString _pageUUID;
};
