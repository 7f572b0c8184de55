#pragma once

#include <QRect>
#include <QStringList>
#include <initializer_list>

class QWidget;

// The windows place their controls in fixed pixels, the classic look that English keeps. Under a translation
// (ui_language.h), fitToText grows each label, button, check box and caption list of root to what its text
// needs by font metrics, and root with them; call it once, at the end of a window's construction. Under
// English it does nothing.
//
// A control w pixels too narrow opens a column of w pixels at its right edge across the whole of its parent:
// what starts at or right of that edge moves right, and so does what lies across it, unless it spans the
// control's whole column: then it grows, as the parent does. Controls that did not overlap still do not, and
// controls of one column grow together; rows open the same way, after the columns. A label already sized to
// its text that reaches over the next control in its row moves that one on. A panel inside is fitted first
// and then counts as one control. Controls in a layout are left to it, but one held at a fixed size grows to
// its text.
//
// paintedAreas: rectangles in root's coordinates that root paints itself, moved and grown with the controls
// around them. A root of fixed size keeps a fixed size.
void fitToText(QWidget* root, std::initializer_list<QRect*> paintedAreas = {});

// Texts control shows later in place of its present one; fitToText keeps room for the longest of them.
void reserveTexts(QWidget* control, const QStringList& texts);
