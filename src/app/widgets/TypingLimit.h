#pragma once

#include <QLineEdit>
#include <QString>

namespace orvane_app {

// The maximum length of an edit that shows stored values limits what the
// technician types, never what the program shows: a stored byte reads as up
// to four characters ("-128"), more than any accepted value takes, and a cut
// text would show another value than the one stored (-12 as "-1").
//
// MakeTypingLimit takes the edit's present maximum length as its typing
// limit. ShowWhole then puts a text into the edit in full, widening the
// maximum where the text is longer; every other change of the text narrows
// the maximum again to the longer of the limit and what is left, so such a
// text may be shortened by the technician but never grown.
void MakeTypingLimit(QLineEdit& edit);
void ShowWhole(QLineEdit& edit, const QString& text);

}  // namespace orvane_app
