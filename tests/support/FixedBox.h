#pragma once

#include "templates/XmlBoxModel.h"

// A page element placed by its own position and size, as the other
// elements of a template are: the content text flows round it.
class FixedBox : public XmlBoxModel {
public:
    explicit FixedBox(Key key)
        : XmlBoxModel(key)
    {
        _absolute = true;
        _widthFixed = true;
        _heightFixed = true;
    }
    static std::shared_ptr<FixedBox> create(int x, int y, int w, int h)
    {
        auto box = make<FixedBox>();
        box->setLeft(x);
        box->setTop(y);
        box->setWidth(w);
        box->setHeight(h);
        return box;
    }
};
