#pragma once

class QCursor;

// The program's own cursors, drawn from its pictures (resources/images) on
// first use and kept while the program runs. A picture that cannot be read
// gives the nearest standard cursor.
namespace lq {

// "Cross", hot spot at its centre.
const QCursor& crossCursor();
// "boxcursor", hot spot (8, 8).
const QCursor& boxCursor();
// "fingerCursor", hot spot (8, 0): the fingertip.
const QCursor& handCursor();

} // namespace lq
