#pragma once

#include <QString>
#include <QStringList>

class QObject;
class QWidget;

// Gives a window and everything it holds the texts of the language table.
// Keys are made of names: "<window>.<control>.<property>", or
// "<name>.<property>" for a form, a frame and the shared buttons btnOK,
// btnCancel and btnApply. Properties, in the order they are applied:
//   Caption  a window's or toolbar's title; the text of a label, button,
//            action, menu, group box or tab page
//   Hint     the tool tip (and an action's status tip)
//   Lines    a memo's lines                      (key + ".Strings")
//   Items    a combo box's or list box's entries  (key + ".Strings")
//   Columns  a list view's or grid's column headers (key + ".Items")
// A key the table lacks (empty text) leaves the designed text in place.
// Forms and frames are the walked widget, dialogs, main windows and widgets
// whose names start with "frm" or "fra"; objects without a name, or named "qt_..." by Qt itself,
// get no text of their own.

// Scope := the form's name, then every object from the form down.
void ApplyToForm(QWidget *form);
void ApplyToFrame(QWidget *frame);

// The keys of every text the walk from `form` would set that the form was
// designed with (a non-empty designed caption, hint, lines, items or
// columns) and that the language table does not hold: a form whose designed
// texts all have a key returns an empty list.
QStringList MissingWindowTexts(QWidget *form);
