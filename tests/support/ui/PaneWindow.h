#pragma once
// A site document open in its window, shown and active, with the window's
// own panels: the panes beside the navigator as a user meets them. The
// navigator is a recording stand-in, so a test sees what the panes asked
// of it; a link picker stand-in answers the rich-text editors' link buttons.
#include "ui/editors/text/EasyLinkOpener.h"
#include "ui/editors/text/QZTextEditor.h"
#include "support/ScopedServices.h"
#include "support/EventLoop.h"
#include "support/ui/RecordingEditorPanel.h"
#include "support/ui/SiteWindow.h"

#include <QApplication>
#include <QTest>

// Answers every link button with the link set here, and remembers which
// editor asked.
class AnsweringLinkPicker : public EasyLinkOpener {
public:
    void easyLink(QZTextEditor* editor) override
    {
        askedBy.append(editor);
        if (answer.isValid())
            editor->setEasyLink(answer);
    }
    QVariant answer;
    QList<QZTextEditor*> askedBy;
};

class PaneWindowTest : public SiteWindowTest {
protected:
    // A recording navigator; every other panel is the window's own.
    const ScopedServices panels { [](lq::Services& services) {
        services.panelFactory = [](EditorKind kind) -> std::unique_ptr<EditorPanel> {
            if (kind == EditorKind::Navigator)
                return std::make_unique<RecordingEditorPanel>(kind);
            return nullptr;
        };
    } };

    void SetUp() override
    {
        SiteWindowTest::SetUp();
        auto owned = std::make_unique<AnsweringLinkPicker>();
        picker = owned.get();
        window->setEasyLinkOpener(std::move(owned));
        window->resize(1200, 860);
        window->show();
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    }
    void TearDown() override { window.reset(); }

    // Makes the element current and lets its pane lay itself out.
    void show(XmlBase* element)
    {
        window->setCurrentObject(element);
        QApplication::processEvents();
    }
    template <class Pane>
    Pane* pane(EditorKind kind) const
    {
        return dynamic_cast<Pane*>(window->panel(kind));
    }
    RecordingEditorPanel* navigator() const { return RecordingEditorPanel::of(*window, EditorKind::Navigator); }
    // Types into the widget as a user does, after giving it the focus.
    static void type(QWidget* widget, const QString& text)
    {
        widget->setFocus(Qt::MouseFocusReason);
        QApplication::processEvents();
        QTest::keyClicks(widget, text);
    }

    AnsweringLinkPicker* picker = nullptr;
};
