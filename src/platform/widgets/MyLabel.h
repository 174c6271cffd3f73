#pragma once
#include <QLabel>

// A fixed text carrying a tag; for tags of 100 and more its tool tip and text
// come from "Tooltip<tag>" and "TextField<tag>" (a label is a text field that
// cannot be edited).
class MyLabel : public QLabel {
    Q_OBJECT
public:
    explicit MyLabel(int tag = 0, const QString& text = QString(), QWidget* parent = nullptr);
    int tag() const;
    void setTag(int tag);
    void localize();
};
