#pragma once
#include "ui/widgets/MyTextView.h"

// A styled-text view in which the Tab key types one blank (fields where a
// tab character has no meaning).
class MyTextViewNoTabs : public MyTextView {
    Q_OBJECT
public:
    using MyTextView::MyTextView;

protected:
    void keyPressEvent(QKeyEvent* event) override;
};
