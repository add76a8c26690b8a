#pragma once
#include <QLineEdit>

namespace widgets {

// Empties a plain box. QLineEdit::clear() is an undoable edit: the box would
// keep every keystroke ever typed into it, growing visit after visit, where
// setting the text drops the history.
inline void emptyBox(QLineEdit* box) { box->setText(QString()); }

} // namespace widgets
