#pragma once
#include "ui/editors/EditorPanel.h"
#include "ui/editors/panes/ElementRows.h"
#include "ui/widgets/ItemDataSource.h"

#include <QWidget>

class MyPopUpButton;
class MyTableView;
class MyTextField;
class XmlAlbum;
class XmlPayPalCommon;
class XmlPhoto;

// The PayPal editor: shown in place of the album editor while an album page
// is the current object. It edits the site's seller account, currency and
// weight unit (kept by the home page, stored when the pane is saved) and,
// in a table, the item of each photo of the page (number, name, price,
// weight, shipping, tax; stored as they are typed). A photo can be bought
// once it has a name and a price.
class QZPayPalEditor : public QWidget, public EditorPanel, public ItemDataSource {
    Q_OBJECT
public:
    // The currencies' titles, in the order of their tags (XmlPayPalCommon::currencyCodes).
    static const QStringList& currencyTitles();
    // The weight pop-up's items by index: pounds, kilograms.
    static const QStringList weightTitles;

    explicit QZPayPalEditor(QWidget* parent = nullptr);
    ~QZPayPalEditor() override;

    // --- Editor panel -----------------------------------------------------------------
    void setDocument(EditorHost* document) override { _document = document; }
    void loadEditor() override;
    // Stores the account, currency and weight unit without marking the
    // document changed: changing them marked it.
    void saveEditor() override;
    void refreshEditor() override {}
    QWidget* superView() override { return this; }

    // Back to the album editor.
    void backToContent();
    // The current object when it is an album page (or a group), else none.
    XmlAlbum* getAlbum() const;

    // --- The photos table (ItemDataSource) ----------------------------------------------
    int numberOfChildrenOfItem(const void* item) const override;
    void* childOfItem(int index, const void* item) const override;
    void* parentOfItem(const void* item) const override { return nullptr; }
    QVariant objectValueForColumn(const QString& column, const void* item) const override;
    bool setObjectValueForColumn(const QVariant& value, const QString& column, void* item) override;
    bool shouldEditColumn(const QString& column, const void* item) const override;
    XmlPhoto* photoAtRow(int row) const;

    MyTextField* payPalAccount() const { return _account; }
    MyPopUpButton* currency() const { return _currency; }
    MyPopUpButton* weight() const { return _weight; }
    MyTableView* details() const { return _details; }

private:
    // The site's PayPal settings above the current album page, or none.
    XmlPayPalCommon* common() const;
    XmlPhoto* photo(const void* item) const;
    void markChanged();

    EditorHost* _document = nullptr;
    MyTextField* _account = nullptr;
    MyPopUpButton* _currency = nullptr;
    MyPopUpButton* _weight = nullptr;
    MyTableView* _details = nullptr;
    ElementRows _rows;
};
