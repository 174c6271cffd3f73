#pragma once

#include "platform/Geometry.h"

#include <QString>

#include <array>
#include <memory>

// The layout canvas's table of hot rectangles: the active areas of the page
// elements (menu items, links in text, captions, slideshow controls), each
// with the UUID of the element that owns it and a data text the element gets
// back in its calls. The elements fill it while they lay themselves out; in
// test (preview) mode the canvas turns the pointer's movements and presses
// over the areas into mouseEntered, mouseExited, mouseDown and mouseClick
// calls on the elements.
//
// A fixed table of 4096 slots, allocated once; an area goes into the first
// free slot, and scans stop at the high-water mark (numberTracking), which
// shrinks again when the highest slots are cleared. A full table drops new
// areas without a word.
//
// Everything runs on the main thread. The elements' mouseEntered, mouseExited
// and mouseDown are called in the middle of a scan and must not add or clear
// areas (they only change how the element looks); a debug build stops on
// such a call. mouseClick comes after the scan and may lay the page out anew.
class HotRectangleTable {
public:
    static constexpr int capacity = 4096;

    struct Slot {
        bool inUse = false;
        lq::Rect rect;       // page coordinates of the canvas
        bool inside = false; // the pointer was inside at the last test
        QString uuid;        // the owning element
        QString data;        // handed back to the element
    };

    HotRectangleTable();
    ~HotRectangleTable();
    HotRectangleTable(const HotRectangleTable&) = delete;
    HotRectangleTable& operator=(const HotRectangleTable&) = delete;

    // --- Filled by the page elements ------------------------------------------------
    void addTrackingDataForObjectDataRect(const QString& uuid, const QString& data, const lq::Rect& rect);
    // Frees the element's areas; an area the pointer is inside first sends
    // the element mouseExited.
    void clearTrackingDataForObject(const QString& uuid);
    void clearTrackingData();

    int numberTracking() const { return _numberTracking; }
    const Slot& slot(int index) const { return (*_slots)[static_cast<std::size_t>(index)]; }
    int slotsInUse() const;

    // --- The pointer in test mode ---------------------------------------------------------
    // The pointer moved to the point: every area it enters gets
    // mouseEntered, every area it leaves mouseExited. Answers whether the
    // point lies over any area.
    bool mouseMoved(const lq::Point& point);
    // A press at the point: the first area containing it gets mouseDown and
    // becomes the pressed one. Answers its slot, or -1.
    int mouseDown(const lq::Point& point);
    // The pointer moved with the button held: leaving the pressed area sends
    // mouseExited, coming back mouseDown. Answers whether the point lies in it.
    bool mouseDragged(const lq::Point& point);
    // The button came up at the point: as a drag, then mouseClick when the
    // point lies in the pressed area. The press ends either way.
    void mouseUp(const lq::Point& point);
    // The slot pressed last, -1 when no press is under way.
    int mouseDownObjectNum() const { return _mouseDownObjectNum; }

private:
    // Marks a scan of the table; a change to the table during one is a fault
    // of the element that made it.
    class Scan;

    void freeSlot(Slot& slot);
    void shrinkHighWaterMark();

    std::unique_ptr<std::array<Slot, capacity>> _slots;
    int _numberTracking = 0;
    int _mouseDownObjectNum = -1;
    QString _pressedUUID;
    bool _scanning = false;
};
