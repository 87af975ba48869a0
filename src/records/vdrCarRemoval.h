#pragma once

#include <QtGlobal>

// Removes a car with everything that refers to it, each table saved right
// after its change: user-defined values, events, repair links, notes, the
// car's row, then its picture stream; all as one change of the database. Car numbers are reused, so nothing
// of the car may survive: a new car of the same number would inherit it.
void RemoveCarAndHistory(qint32 carNbr);
