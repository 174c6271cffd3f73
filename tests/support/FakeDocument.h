#pragma once

#include "model/core/DocumentBase.h"
#include "templates/XmlStyleSheet.h"

#include <QStringList>

#include <map>
#include <vector>

// A document that records what the model tells it, and drops change marks
// while changes are suppressed, as the site document does.
class FakeDocument : public DocumentBase {
public:
    void updateChangeCount(int changeKind) override
    {
        ++notices;
        if (suppressed == 0 && changeKind == ChangeDone)
            ++changes;
    }
    void falseAlarm(bool suppress) override { suppressed += suppress ? 1 : -1; }
    bool testMode() override { return inTestMode; }
    XmlSite* site() override { return siteRoot; }
    XmlStyleSheet* defaultTemplate() override { return firstTemplate; }
    PageTemplate* defaultPageTemplate() override { return firstTemplate; }
    void layoutDidContentEditing() override { ++contentEditingEnded; }
    TextEditorBase* getTextEditorController() override { return textEditor; }
    void addTrackingDataForObjectDataRect(const QString& uuid, const QString& data, const lq::Rect& rect) override
    {
        trackingAreas.push_back({ uuid, data, rect });
    }
    void clearTrackingDataForObject(const QString& uuid) override
    {
        std::erase_if(trackingAreas, [&](const TrackingArea& area) { return area.uuid == uuid; });
        trackingCleared.append(uuid);
    }
    void clearTrackingData() override { trackingAreas.clear(); }
    void redisplayRect(const lq::Rect& rect) override { redisplayed.push_back(rect); }
    void layoutViewSelectedObjectRefresh() override { ++selectedObjectRefreshes; }
    void selectWebPageIndex(XmlAlbum* page, int index) override { selectedPages.push_back({ page, index }); }
    QList<std::shared_ptr<XmlBase>> webItems() override { return pages; }
    lq::PreviewView* getWidgetView(int number) override
    {
        const auto found = widgetViews.find(number);
        return found == widgetViews.end() ? nullptr : found->second;
    }
    int globalIndex() override { return selectedPhoto; }
    std::shared_ptr<lq::ConfinedFolder> siteFolder() override { return folder; }

    int notices = 0;    // every updateChangeCount that arrived
    int changes = 0;    // those that marked the document edited
    int suppressed = 0; // the count of suppressed changes
    bool inTestMode = false; // what testMode answers
    XmlSite* siteRoot = nullptr;           // what site answers
    XmlStyleSheet* firstTemplate = nullptr; // what defaultTemplate answers
    int contentEditingEnded = 0; // how often layoutDidContentEditing came
    TextEditorBase* textEditor = nullptr;  // what getTextEditorController answers

    struct TrackingArea {
        QString uuid;
        QString data;
        lq::Rect rect;
    };
    std::vector<TrackingArea> trackingAreas; // the click areas registered now
    QStringList trackingCleared;             // the UUIDs whose areas were cleared, in order
    std::vector<lq::Rect> redisplayed;       // every redisplayRect, in order
    int selectedObjectRefreshes = 0;         // how often layoutViewSelectedObjectRefresh came
    struct SelectedPage {
        XmlAlbum* page = nullptr;
        int index = 0;
    };
    std::vector<SelectedPage> selectedPages;  // every selectWebPageIndex, in order
    QList<std::shared_ptr<XmlBase>> pages;    // what webItems answers
    std::map<int, lq::PreviewView*> widgetViews; // what getWidgetView answers, by box number
    int selectedPhoto = -1;                   // what globalIndex answers
    std::shared_ptr<lq::ConfinedFolder> folder; // what siteFolder answers (nothing: the model opens its root folder)
};
