#pragma once

#include "model/core/XmlBase.h"

class XmlProcessor;

// The base of every step of a processor script. The queue takes a step out
// of its processor, gives it the document and makes the processor its parent
// again (without ownership) while it asks for its status line and runs it.
class XmlRun : public XmlBase {
public:
    explicit XmlRun(Key key);

    static std::shared_ptr<XmlRun> create();
    static XmlRun* cast(XmlBase* object) { return dynamic_cast<XmlRun*>(object); }

    // Does the step's work; true asks the document to refresh its editor
    // panels after the current time slice. The base does nothing.
    virtual bool run();
    // The line appended to the Activity log before the step runs: the
    // processor's status and a line feed; "" when the parent is no processor.
    virtual QString statusMessage();

    void setDocument(DocumentBase* document) { _document = document; }
    DocumentBase* document() const { return _document; }
    // The parent when it is a processor, else nothing.
    XmlProcessor* processor() const;
    // The parent processor's status, or "" without one.
    QString processorStatus() const;
    // Whether the step reported that it could not do its work, and the line
    // it reported.
    bool failed() const { return !_failure.isEmpty(); }
    const QString& failure() const { return _failure; }

protected:
    // Adds the line to the document's Activity log and to the program's log,
    // and marks the step failed: for what a step could not do.
    void reportFailure(const QString& line);

    DocumentBase* _document = nullptr;
    QString _failure;
};
