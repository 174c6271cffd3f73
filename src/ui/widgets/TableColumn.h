#pragma once
#include <QString>
#include <QStringList>

// One column of a table or outline view, named by its identifier: the data
// source is asked for values by that identifier, never by the column's place.
struct TableColumn {
    enum class Kind {
        Text,    // text (editable when `editable`)
        Check,   // a check box; the value is 0 or 1
        PopUp,   // a pop-up menu of `popUpItems`; the value is the chosen index
        Image,   // a picture (QImage or QPixmap), never edited
    };

    QString identifier;
    QString title;
    Kind kind = Kind::Text;
    bool editable = false;
    QStringList popUpItems;
};
