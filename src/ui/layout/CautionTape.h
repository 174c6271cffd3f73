#pragma once

#include <QWidget>

// The striped band under the layout canvas that warns that the template
// being designed is shared: a change to it shows on every page that uses it.
class CautionTape : public QWidget {
    Q_OBJECT
public:
    static constexpr int tapeHeight = 14;

    explicit CautionTape(QWidget* parent = nullptr);

    // The number of pages that use the template, for the tool tip.
    void setNumberOfPages(int pages);

protected:
    void paintEvent(QPaintEvent* event) override;
};
