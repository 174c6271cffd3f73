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
    XmlSite* site() override { return siteRoot; }
    XmlStyleSheet* defaultTemplate() override { return firstTemplate; }
    void layoutDidContentEditing() override { ++contentEditingEnded; }

    int notices = 0;    // every updateChangeCount that arrived
    int changes = 0;    // those that marked the document edited
    int suppressed = 0; // the count of suppressed changes
    bool inTestMode = false; // what testMode answers
    XmlSite* siteRoot = nullptr;           // what site answers
    XmlStyleSheet* firstTemplate = nullptr; // what defaultTemplate answers
    int contentEditingEnded = 0; // how often layoutDidContentEditing came
};
