#pragma once
// Qt's model tester over the item models of a window's tables and outlines:
// while a CheckedModels lives, every model it was given checks itself at each
// change it reports (rows inserted, moved, removed, reset, data changed), and
// what the tester finds wrong is kept in failures().
#include "ui/widgets/ItemModelAdaptor.h"

#include <QAbstractItemModelTester>
#include <QDialog>
#include <QMessageLogContext>
#include <QPointer>
#include <QStringList>

#include <cstring>
#include <functional>

class CheckedModels {
public:
    CheckedModels() { _previous = qInstallMessageHandler(&CheckedModels::note); }
    ~CheckedModels()
    {
        for (const QPointer<QAbstractItemModelTester>& tester : _testers)
            delete tester.data();
        qInstallMessageHandler(_previous);
        failures().clear();
    }
    CheckedModels(const CheckedModels&) = delete;
    CheckedModels& operator=(const CheckedModels&) = delete;

    // Puts a tester on every item model under the object that has none yet.
    void watch(QObject* root)
    {
        if (!root)
            return;
        for (ItemModelAdaptor* model : root->findChildren<ItemModelAdaptor*>()) {
            if (model->findChild<QAbstractItemModelTester*>(QString(), Qt::FindDirectChildrenOnly))
                continue;
            _testers.append(new QAbstractItemModelTester(model, QAbstractItemModelTester::FailureReportingMode::Warning, model));
        }
    }
    // A sheet answer that first puts a tester on the models of the sheet
    // it is given.
    template <class Answer>
    std::function<int(QDialog*)> checkingSheets(Answer answer)
    {
        return [this, answer = std::move(answer)](QDialog* sheet) {
            watch(sheet);
            return answer(sheet);
        };
    }
    int watched() const
    {
        int count = 0;
        for (const QPointer<QAbstractItemModelTester>& tester : _testers)
            count += tester ? 1 : 0;
        return count;
    }
    static QStringList& failures()
    {
        static QStringList found;
        return found;
    }

private:
    static void note(QtMsgType type, const QMessageLogContext& context, const QString& message)
    {
        if (context.category && std::strcmp(context.category, "qt.modeltest") == 0 && type != QtDebugMsg)
            failures().append(message);
        else if (_previous)
            _previous(type, context, message);
    }

    inline static QtMessageHandler _previous = nullptr;
    QList<QPointer<QAbstractItemModelTester>> _testers;
};
