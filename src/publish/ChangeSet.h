#pragma once

#include <memory>

class XmlBom;
class XmlD;

// What a publication sends: the change set, the generated folder as listed
// for it, and the tree the destination held after the last publication.
struct ChangeSet {
    XmlBom* bom = nullptr;
    std::shared_ptr<XmlD> current;
    std::shared_ptr<XmlD> lastPublished;
};
