#pragma once
// Words on screen. A label, a message box or a tool tip shows what it is
// given as it is: a server's answer, a file name, a site file's text or a
// name from an archive may hold "<b>" or "<img ...>", and it is shown as
// those characters, never drawn. The program's labels are made here (or by
// the kit's own label classes, which set the same format), so that none is
// left to Qt's guess at whether a text is markup; tools/check-text-formats
// refuses a label or message box whose text format is left to guessing.
#include <QLabel>
#include <QString>

namespace lq {

// A label showing the text as plain text, whatever it holds; later
// setText calls keep that.
QLabel* plainLabel(const QString& text = QString(), QWidget* parent = nullptr);

// A label drawing the HTML: only for the program's own markup (a link, a
// bold heading), where every part that came from outside has gone through
// lq::escape first.
QLabel* richLabel(const QString& html, QWidget* parent = nullptr);

// The text for setToolTip and Qt::ToolTipRole: a tool tip guesses, as a
// label would, so a text that could pass for markup is given as the HTML
// that shows its characters.
QString plainToolTip(const QString& text);

} // namespace lq
