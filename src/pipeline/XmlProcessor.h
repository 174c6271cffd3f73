#pragma once

#include "model/core/XmlBase.h"

// A processor script: its children are the steps, in the order they run.
// The document's queue empties it step by step; its progress is the share of
// the steps it held when queued that have been taken out.
class XmlProcessor final : public XmlBase {
public:
    explicit XmlProcessor(Key key);

    static std::shared_ptr<XmlProcessor> create();
    // The script of the text. A step the factory does not know stays in it
    // as a step that fails with its name; a text whose root is no script
    // becomes a script of one such step, named after the root.
    static std::shared_ptr<XmlProcessor> createWithScript(const QString& text);
    static XmlProcessor* cast(XmlBase* object) { return dynamic_cast<XmlProcessor*>(object); }

    QString elementName() const override;
    // Steps only: any other element met in a script is read and dropped.
    bool canYouBeMyParent(XmlBase* child) override;
    // The factory's step, or for a name it does not know a step that fails.
    XmlBasePtr createChildFromTag(const QString& tag) override;
    // "rootDir" and "status"; the rest goes to the base.
    void setAttributeTo(const QString& key, const QString& value) override;
    // The base's, then ` rootDir="%@"` (the status is not written).
    void appendAttributes(QString& xml) override;

    // The site's document folder, without a trailing slash; every step's path
    // is taken relative to it.
    QString rootDir() override { return _rootDir; }
    void setRootDir(const QString& path) override { _rootDir = path; }
    const QString& statusMessage() const { return _statusMessage; }
    void setStatusMessage(const QString& status) { _statusMessage = status; }
    DocumentBase* document() const { return _document; }
    void setDocument(DocumentBase* document) { _document = document; }

    // Remembers the present number of steps as the total.
    void setTotalCount() { _totalCount = numberChildren(); }
    int totalCount() const { return _totalCount; }
    // The share of the steps taken out, in percent; 50 while the total is 0.
    double progress() const;
    // Runs every step at once, in order, when a root folder is set; answers
    // true. The queue never uses it.
    bool run();

private:
    QString _rootDir = QStringLiteral("");
    int _totalCount = 0;
    QString _statusMessage = QStringLiteral("processing...");
    DocumentBase* _document = nullptr;
};
