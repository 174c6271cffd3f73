#pragma once

// What a page template asks of the theme that holds it. The theme root
// answers it; a template held by anything else numbers nothing.
class TemplateHolder {
public:
    // The next Vorn Box number, unique within the theme; the counter advances.
    virtual int vornboxSeqNumber() = 0;

protected:
    ~TemplateHolder() = default;
};
