#pragma once

#include "publish/PublishObserver.h"

#include <algorithm>
#include <vector>

// The observers of one uploader: the panels of its window, and whatever a
// test adds. Each is told every event, in the order they were added; one
// may be removed while it is being told.
class PublishObservers {
public:
    void add(PublishObserver* observer)
    {
        if (observer && std::find(_list.begin(), _list.end(), observer) == _list.end())
            _list.push_back(observer);
    }
    void remove(PublishObserver* observer) { std::erase(_list, observer); }

    // Calls `event` on each observer still in the list when its turn comes.
    template <typename Event>
    void tell(Event event) const
    {
        const std::vector<PublishObserver*> now = _list;
        for (PublishObserver* observer : now) {
            if (std::find(_list.begin(), _list.end(), observer) != _list.end())
                event(*observer);
        }
    }

private:
    std::vector<PublishObserver*> _list;
};
