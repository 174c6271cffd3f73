#pragma once
// A modal handler for tests: remembers every alert and drag and answers
// panels, alerts and drags from what the test set, at once, so nothing waits
// for a user.
#include "ui/widgets/ModalHandler.h"

#include <QDrag>
#include <QList>
#include <QMimeData>

#include <functional>
#include <memory>

class ScriptedModalHandler : public lq::ModalHandler {
public:
    struct State {
        QList<lq::AlertRequest> alerts;
        QList<lq::FilePanelRequest> panels;
        // Alerts take these answers in turn, then alertAnswer.
        QList<int> alertAnswers;
        int alertAnswer = 0;
        QString panelAnswer;
        // What a panel of several files answers (none: the user cancelled).
        QStringList filesPanelAnswer;
        // Answers a sheet as a user would (fills it, presses a button or a
        // key); without it every sheet answers 1 untouched.
        std::function<int(QDialog*)> sheetAnswer;
        // The text of every drag, in order.
        QStringList dragTexts;
        // Plays the user's part while a drag runs (dropping it through the
        // target's own drop handlers, say) and answers the action the drop
        // reported; without one, every drag is let go where nothing takes it.
        std::function<Qt::DropAction(QDrag* drag)> dropper;
    };

    explicit ScriptedModalHandler(std::shared_ptr<State> state) : _state(std::move(state)) {}

    int runAlert(const lq::AlertRequest& request) override
    {
        _state->alerts.append(request);
        return _state->alertAnswers.isEmpty() ? _state->alertAnswer : _state->alertAnswers.takeFirst();
    }
    QString runOpenPanel(const lq::FilePanelRequest& request) override
    {
        _state->panels.append(request);
        return _state->panelAnswer;
    }
    QStringList runOpenFilesPanel(const lq::FilePanelRequest& request) override
    {
        _state->panels.append(request);
        return _state->filesPanelAnswer;
    }
    QString runSavePanel(const lq::FilePanelRequest& request) override
    {
        _state->panels.append(request);
        return lq::savePanelPath(_state->panelAnswer, request);
    }
    int runSheet(QDialog* sheet) override { return _state->sheetAnswer ? _state->sheetAnswer(sheet) : 1; }
    Qt::DropAction runDrag(QDrag* drag, Qt::DropActions, Qt::DropAction) override
    {
        _state->dragTexts.append(drag->mimeData() ? drag->mimeData()->text() : QString());
        return _state->dropper ? _state->dropper(drag) : Qt::IgnoreAction;
    }

private:
    std::shared_ptr<State> _state;
};

// Installs a scripted handler for the scope of a test; the standard one comes back after.
class ScopedModalHandler {
public:
    ScopedModalHandler() : state(std::make_shared<ScriptedModalHandler::State>())
    {
        lq::setModalHandler(std::make_unique<ScriptedModalHandler>(state));
    }
    ~ScopedModalHandler() { lq::setModalHandler(nullptr); }
    ScopedModalHandler(const ScopedModalHandler&) = delete;
    ScopedModalHandler& operator=(const ScopedModalHandler&) = delete;

    std::shared_ptr<ScriptedModalHandler::State> state;
};
