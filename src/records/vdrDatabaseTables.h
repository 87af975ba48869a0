#pragma once

#include <array>

class TkvxStreamFile;
class TvdrStringList;

// Every table of the database, in the order the program loads them
// (options, repairs, events, repair links, notes, cars, field definitions,
// field values, sort orders).
std::array<TvdrStringList *, 9> DatabaseTables();

// Binds every table to the open database and loads it (options, repairs,
// events, repair links, notes, cars, field definitions, field values, sort
// orders), then switches the sort orders to sorted rows. The container must
// outlive the binding. DamagedStreams() then lists what this binding found
// (earlier findings are forgotten).
void BindTables(TkvxStreamFile *database);
// For commands that read the tables (exports, listings, reports): raises,
// naming each table, when the last BindTables found a table in its
// container that could not be read, rather than take it for an empty one.
// The program's start-up keeps such a table empty and tells the user.
void RaiseIfTablesUnreadable();
// Unbinds and empties every table, so nothing refers to a closed container.
void UnbindTables();
// Unbinds every table and leaves its rows in memory: the cheap end of a run,
// where emptying tables of many rows would only cost time.
void DetachTables();
