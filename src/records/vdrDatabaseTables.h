#pragma once

class TkvxStreamFile;

// Binds every table to the open database and loads it (options, repairs,
// events, repair links, notes, cars, field definitions, field values, sort
// orders), then switches the sort orders to sorted rows. The container must
// outlive the binding. DamagedStreams() then lists what this binding found
// (earlier findings are forgotten).
void BindTables(TkvxStreamFile *database);
// Unbinds and empties every table, so nothing refers to a closed container.
void UnbindTables();
// Unbinds every table and leaves its rows in memory: the cheap end of a run,
// where emptying tables of many rows would only cost time.
void DetachTables();
