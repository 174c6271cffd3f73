#include "ui/layout/HotRectangleTable.h"

#include "model/core/XmlBase.h"
#include "templates/XmlCSS.h"

#include <QtGlobal>

namespace {

// The element a slot names, kept alive for the call; nothing when it is gone.
std::shared_ptr<XmlBase> elementNamed(const QString& uuid)
{
    std::shared_ptr<XmlBase> element = XmlBase::UUID(uuid);
    return XmlCSS::cast(element.get()) ? element : nullptr;
}

XmlCSS* css(const std::shared_ptr<XmlBase>& element)
{
    return static_cast<XmlCSS*>(element.get());
}

} // namespace

class HotRectangleTable::Scan {
public:
    explicit Scan(HotRectangleTable& table)
        : _table(table)
    {
        _table._scanning = true;
    }
    ~Scan() { _table._scanning = false; }
    Scan(const Scan&) = delete;
    Scan& operator=(const Scan&) = delete;

private:
    HotRectangleTable& _table;
};

HotRectangleTable::HotRectangleTable()
    : _slots(std::make_unique<std::array<Slot, capacity>>())
{
}

HotRectangleTable::~HotRectangleTable() = default;

void HotRectangleTable::addTrackingDataForObjectDataRect(const QString& uuid, const QString& data, const lq::Rect& rect)
{
    Q_ASSERT_X(!_scanning, "addTrackingDataForObject:data:rect:", "an element changed the hot rectangles during a scan");
    for (int index = 0; index < capacity; ++index) {
        Slot& slot = (*_slots)[static_cast<std::size_t>(index)];
        if (slot.inUse)
            continue;
        slot.inUse = true;
        slot.rect = rect;
        slot.inside = false;
        slot.uuid = uuid;
        slot.data = data;
        _numberTracking = std::max(_numberTracking, index + 1);
        return;
    }
}

void HotRectangleTable::clearTrackingDataForObject(const QString& uuid)
{
    Q_ASSERT_X(!_scanning, "clearTrackingDataForObject:", "an element changed the hot rectangles during a scan");
    const Scan scan(*this);
    for (int index = 0; index < _numberTracking; ++index) {
        Slot& slot = (*_slots)[static_cast<std::size_t>(index)];
        if (!slot.inUse || slot.uuid != uuid)
            continue;
        if (slot.inside) {
            if (const auto element = elementNamed(slot.uuid))
                css(element)->mouseExited(slot.data);
        }
        freeSlot(slot);
    }
    shrinkHighWaterMark();
}

void HotRectangleTable::clearTrackingData()
{
    Q_ASSERT_X(!_scanning, "clearTrackingData", "an element changed the hot rectangles during a scan");
    for (Slot& slot : *_slots)
        freeSlot(slot);
    _numberTracking = 0;
}

int HotRectangleTable::slotsInUse() const
{
    int count = 0;
    for (int index = 0; index < _numberTracking; ++index)
        count += slot(index).inUse ? 1 : 0;
    return count;
}

void HotRectangleTable::freeSlot(Slot& slot)
{
    slot = Slot();
}

void HotRectangleTable::shrinkHighWaterMark()
{
    while (_numberTracking > 0 && !slot(_numberTracking - 1).inUse)
        --_numberTracking;
}

bool HotRectangleTable::mouseMoved(const lq::Point& point)
{
    const Scan scan(*this);
    bool over = false;
    for (int index = 0; index < _numberTracking; ++index) {
        Slot& slot = (*_slots)[static_cast<std::size_t>(index)];
        if (!slot.inUse)
            continue;
        if (slot.rect.contains(point)) {
            if (!slot.inside) {
                if (const auto element = elementNamed(slot.uuid))
                    css(element)->mouseEntered(slot.data);
            }
            slot.inside = true;
            over = true;
        } else {
            if (slot.inside) {
                if (const auto element = elementNamed(slot.uuid))
                    css(element)->mouseExited(slot.data);
            }
            slot.inside = false;
        }
    }
    return over;
}

int HotRectangleTable::mouseDown(const lq::Point& point)
{
    _mouseDownObjectNum = -1;
    _pressedUUID.clear();
    const Scan scan(*this);
    for (int index = 0; index < _numberTracking; ++index) {
        const Slot& slot = this->slot(index);
        if (!slot.inUse || !slot.rect.contains(point))
            continue;
        _mouseDownObjectNum = index;
        _pressedUUID = slot.uuid;
        if (const auto element = elementNamed(slot.uuid))
            css(element)->mouseDown(slot.data);
        break;
    }
    return _mouseDownObjectNum;
}

bool HotRectangleTable::mouseDragged(const lq::Point& point)
{
    if (_mouseDownObjectNum < 0)
        return false;
    Slot& slot = (*_slots)[static_cast<std::size_t>(_mouseDownObjectNum)];
    if (!slot.inUse)
        return false;
    const Scan scan(*this);
    const auto element = elementNamed(_pressedUUID);
    if (slot.rect.contains(point)) {
        if (!slot.inside && element)
            css(element)->mouseDown(slot.data);
        slot.inside = true;
        return true;
    }
    if (slot.inside && element)
        css(element)->mouseExited(slot.data);
    slot.inside = false;
    return false;
}

void HotRectangleTable::mouseUp(const lq::Point& point)
{
    const bool inside = mouseDragged(point);
    const QString data = _mouseDownObjectNum >= 0 ? slot(_mouseDownObjectNum).data : QString();
    const auto element = elementNamed(_pressedUUID);
    _mouseDownObjectNum = -1;
    _pressedUUID.clear();
    // After the scan: a click may show another page, which fills the table anew.
    if (inside && element)
        css(element)->mouseClick(data);
}
