#pragma once

// What the layout benchmarks share: a document that keeps nothing but the
// number of click areas, and elapsed time in milliseconds.

#include "model/core/DocumentBase.h"

#include <QElapsedTimer>

#include <memory>

namespace bench {

class CountingDocument : public DocumentBase {
public:
    void updateChangeCount(int) override {}
    void falseAlarm(bool) override {}
    bool testMode() override { return false; }
    XmlSite* site() override { return siteRoot; }
    XmlStyleSheet* defaultTemplate() override { return nullptr; }
    PageTemplate* defaultPageTemplate() override { return nullptr; }
    void layoutDidContentEditing() override {}
    void addTrackingDataForObjectDataRect(const QString&, const QString&, const lq::Rect&) override { ++areas; }
    void clearTrackingDataForObject(const QString&) override { areas = 0; }
    void clearTrackingData() override { areas = 0; }
    void selectWebPageIndex(XmlAlbum*, int) override {}
    QList<std::shared_ptr<XmlBase>> webItems() override { return {}; }

    XmlSite* siteRoot = nullptr;
    int areas = 0;
};

inline double milliseconds(const QElapsedTimer& timer)
{
    return double(timer.nsecsElapsed()) / 1.0e6;
}

} // namespace bench
