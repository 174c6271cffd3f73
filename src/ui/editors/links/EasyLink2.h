#pragma once
#include "ui/editors/links/PickOnlyOutline.h"

#include <QDialog>
#include <QObject>
#include <QPointer>

class QWidget;
class XmlOutlineView;

// The chooser of one element of a tree: a sheet showing the tree below a
// root with one element preselected, answering the element the user picked
// or nothing. The layout editor's Vorn Box fields pick a file of the site
// with it (the site's files root, the file the field names).
class EasyLink2 : public QObject, public PickOnlyOutline {
    Q_OBJECT
public:
    explicit EasyLink2(QObject* parent = nullptr);
    ~EasyLink2() override;

    // Runs the sheet on the window with the tree below the root and the
    // element selected (none: nothing selected); answers the element
    // selected when the user pressed OK, nothing on Cancel.
    XmlBasePtr easyLinkSelectParentWindow(XmlBase* root, XmlBase* select, QWidget* window);

    // The sheet's OK and Cancel.
    void createLink();
    void cancelLink();

    // The element below the root whose path below it (filenameWithRoot
    // with no root: "pics/logo.png") is the path, found depth first; nothing
    // for an empty path or none.
    static XmlBasePtr elementWithPath(XmlBase* root, const QString& path);

    // What the sheet shows while it runs (for whoever plays the user).
    QDialog* sheet() const { return _sheet; }
    XmlOutlineView* linkList() const { return LinkList; }


private:
    void buildSheet(QWidget* window);

    QPointer<QDialog> _sheet;
    XmlOutlineView* LinkList = nullptr;
};
