#pragma once
#include "ui/widgets/TaggedControl.h"
#include <QWidget>

class QButtonGroup;
class QBoxLayout;
class QRadioButton;

// A group of radio buttons (cells) of which one is selected; each cell carries
// its own tag. For tags of 100 and more its tool tip comes from "Tooltip<tag>".
class MyMatrix : public TaggedControl<QWidget> {
    Q_OBJECT
public:
    explicit MyMatrix(int tag = 0, Qt::Orientation orientation = Qt::Vertical, QWidget* parent = nullptr);
    void localize();

    QRadioButton* addCell(const QString& title, int cellTag);
    // Selects the cell with the tag; answers whether there was one.
    bool selectCellWithTag(int cellTag);
    // The selected cell's tag, or -1 when none is selected.
    int selectedTag() const;

Q_SIGNALS:
    void selectionChanged(int cellTag);

private:
    QButtonGroup* _group;
    QBoxLayout* _layout;
};
