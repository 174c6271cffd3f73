#pragma once

#include <QList>
#include <QString>

#include <memory>

class XmlBase;

// One entry of a navigation menu (see XmlBase::menuItems).
struct MenuItem {
    QString name;                  // the page's name
    QString href;                  // its linkAddress
    int seq = 0;                   // its page number; 0 for a page that is not an album page
    std::shared_ptr<XmlBase> page; // the page element itself
};
