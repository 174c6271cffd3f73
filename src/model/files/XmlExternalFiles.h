#pragma once

#include "model/files/XmlFiles.h"

// A list of files dropped or pasted from outside the document: each file
// element's file name is the file's absolute path.
class XmlExternalFiles final : public XmlFiles {
public:
    explicit XmlExternalFiles(Key key);

    static std::shared_ptr<XmlExternalFiles> create();
    static XmlExternalFiles* cast(XmlBase* object) { return dynamic_cast<XmlExternalFiles*>(object); }
};
