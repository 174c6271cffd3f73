#pragma once
#include <QSplitter>

#include <functional>

// A splitter whose divider positions pass through a constrain hook (the
// owner's minimum and maximum sizes of the panes): a drag to a position the
// hook changes ends at the hook's position.
class SplitView : public QSplitter {
    Q_OBJECT
public:
    // (proposed position, divider index) -> the position to use.
    using ConstrainHook = std::function<int(int proposed, int index)>;

    explicit SplitView(Qt::Orientation orientation, QWidget* parent = nullptr);
    void setConstrainHook(ConstrainHook hook) { _constrain = std::move(hook); }
    // Moves a divider as a drag would, through the hook.
    void setDividerPosition(int position, int index);

private:
    ConstrainHook _constrain;
    bool _constraining = false;
};
