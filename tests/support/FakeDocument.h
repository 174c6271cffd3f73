#pragma once

#include "model/DocumentBase.h"

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

    int notices = 0;    // every updateChangeCount that arrived
    int changes = 0;    // those that marked the document edited
    int suppressed = 0; // the count of suppressed changes
    bool inTestMode = false; // what testMode answers
};
