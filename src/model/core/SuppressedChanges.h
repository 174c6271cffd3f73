#pragma once

class DocumentBase;
class XmlBase;

// Suspends the document's change marks while it lives: falseAlarm YES on the
// element when made, NO when it goes, whichever way the work ends. Work that
// only brings back what is already stored (reading a picture file into
// memory) is no edit of the document.
class SuppressedChanges {
public:
    explicit SuppressedChanges(XmlBase& element);
    // The same on the document itself, for work that no element is part of
    // (nothing: there is no document to keep quiet).
    explicit SuppressedChanges(DocumentBase* document);
    ~SuppressedChanges();
    SuppressedChanges(const SuppressedChanges&) = delete;
    SuppressedChanges& operator=(const SuppressedChanges&) = delete;

private:
    XmlBase* _element = nullptr;
    DocumentBase* _document = nullptr;
};
