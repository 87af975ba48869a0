#pragma once

#include "vdrMaintEvents.h"

// Fills the bound, empty tables with a database of about `events`
// maintenance events shaped like an owner's: a car per `eventsPerCar`
// events (at least one), three user-defined fields with values, forty repair
// descriptions, one or two repairs per event, a note on every fourth, a
// picture on every tenth car, two sort orders. Every table is saved.
void FillSyntheticDatabase(int events, int eventsPerCar = 1000);

// An event as the entry dialog hands it over: two repairs and a two-line
// note; a new one of the car when `maintNbr` is -1.
TvdrMaintEntry SyntheticEvent(qint32 carNbr, qint32 maintNbr = -1);
