#pragma once

#include "platform/Geometry.h"

#include <QString>

#include <memory>

class XmlStyleSheet;
namespace lq {
class PreviewView;
}

// What the site document and its window ask of the layout editor (the
// controller of the "layout" and "preview" tabs). The page elements reach
// the layout canvas only through the document (DocumentBase), which passes
// their click areas, redisplay requests and live-view questions on here; the
// window drives the tabs through the rest. The layout controller of the user
// interface implements it; a document without a window has none.
class LayoutControllerBase {
public:
    virtual ~LayoutControllerBase() = default;

    // --- Passed on by the document from the page elements -------------------------
    virtual void addTrackingDataForObjectDataRect(const QString& uuid, const QString& data, const lq::Rect& rect) = 0;
    virtual void clearTrackingDataForObject(const QString& uuid) = 0;
    virtual void clearTrackingData() = 0;
    virtual void redisplayRect(const lq::Rect& rect) = 0;
    // The live view the canvas made for the Vorn Box of that number, or nothing.
    virtual lq::PreviewView* getWidgetView(int number) = 0;
    // The picture of the page's slideshow being previewed; -1 for the page itself.
    virtual int globalIndex() const = 0;
    virtual void setGlobalIndex(int index) = 0;

    // --- The window's side ------------------------------------------------------------
    // Shows the page (an album or group page, by UUID) with its own template;
    // the index picks a picture of its slideshow view (-1: the page view).
    // A UUID that names no such page changes nothing.
    virtual void setPreviewPageIndex(const QString& page, int index) = 0;
    // Rebuilds the sheets and the canvas for the current page, in test
    // (preview) mode or in layout mode.
    virtual void activateTab(bool testMode) = 0;
    // Drops the canvas selection before the window saves or changes tabs.
    virtual void saveEdits() = 0;
    // The model changed underneath (after processor steps): lay the page out again.
    virtual void refreshEditor() = 0;
    // The window's size changed: the selection's marks follow.
    virtual void layoutViewSelectedObjectRefresh() = 0;
    // The theme changed (a revert, a new theme): the template list shows it
    // and its first template becomes current.
    virtual void updateTemplateSelector() = 0;
    // Right-to-left text in the layout's text editors (the preference's value).
    virtual void enableRTL(int flag) = 0;
    // Lays the layout tab out again: the tools hidden or shown as its compact
    // button says, and a caution tape under the canvas while the template is
    // shared by several pages. The argument is the caller's reason (the tab
    // was chosen) and decides nothing.
    virtual void compactUI(bool compact) = 0;
    // The template of the page being designed; nothing for a page that is an
    // external link.
    virtual std::shared_ptr<XmlStyleSheet> getTemplate() = 0;
};
