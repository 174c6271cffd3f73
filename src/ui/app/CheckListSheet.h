#pragma once
#include "model/core/XmlBase.h"

#include <QDialog>

class XmlEnvelops;
class XmlOutlineView;

// The shape the template and include-file sheets share: one or more check
// lists (element outlines with a check box before each name) above the
// sheet's OK and Cancel buttons. Lists of templates or elements are shown
// through reference trees: a root of envelopes, each standing for one real
// element by its UUID, so that ticking never touches the real elements.
class CheckListSheet : public QDialog {
    Q_OBJECT
public:
    explicit CheckListSheet(QWidget* window, const QString& title);

    // Adds a check list under the label.
    XmlOutlineView* addCheckList(const QString& label);
    // Runs the sheet on its window; true when it was confirmed.
    bool runSheet(const QString& acceptTitle);

    // A new reference tree, and one entry in it.
    static std::shared_ptr<XmlEnvelops> referenceTree();
    static void addReference(XmlEnvelops& tree, const QString& name, const XmlBase& element);
    // The elements of the ticked entries that still exist, in tree order.
    static XmlBaseList checkedElements(const XmlBase& tree);

private:
    bool _buttonsAdded = false;
};
