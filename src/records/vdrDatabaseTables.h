#pragma once

#include <array>
#include <functional>

#include <QList>

class TkvxStreamFile;
class TvdrStringList;
struct TvdrDamagedStream;

// Every table of the database, in the order the program loads them
// (options, repairs, events, repair links, notes, cars, field definitions,
// field values, sort orders).
std::array<TvdrStringList *, 9> DatabaseTables();

enum class TvdrTableLoad {
    Whole,     // every table holds its rows when BindTables returns
    Background // the events, their links and notes and the cars' field
               // values are made on another thread meanwhile
};

// Binds every table to the open database and loads it (options, repairs,
// events, repair links, notes, cars, field definitions, field values, sort
// orders), then switches the sort orders to sorted rows. The container must
// outlive the binding. DamagedStreams() then lists what this binding found
// (earlier findings are forgotten); with a background load, what the tables
// loaded in the background found only once AwaitTables has returned.
//
// A table loading in the background is gated (TvdrLock): whatever touches
// it first, on any thread, waits for its rows, and a damaged stream is kept
// aside then, on that thread. Its bytes were read before BindTables returned:
// the container is not touched from the background. `whenDecoded` is called
// once every row is made, on the thread that made the last: the place to
// ask the owner's thread for AwaitTables.
void BindTables(TkvxStreamFile *database, TvdrTableLoad load = TvdrTableLoad::Whole,
                std::function<void()> whenDecoded = nullptr);
// Loads one bound table again from its stream, as BindTables loaded it:
// the sort orders keep every stored row, rows equal but for letter case too,
// and the repairs get their display order back.
void ReloadTable(TvdrStringList &table);
// A second background thread for a background load, once the caller's own
// work no longer needs the cores.
void HelpLoadTables();
// Returns when every table holds its rows and the background threads are
// done; this thread meanwhile makes rows the background has not begun.
void AwaitTables();
// DamagedStreams() in the order of the tables, however the loads met them.
QList<TvdrDamagedStream> DamagedTables();
// For commands that read the tables (exports, listings, reports): raises,
// naming each table, when the last BindTables found a table in its
// container that could not be read, rather than take it for an empty one.
// The program's start-up keeps such a table empty and tells the user.
void RaiseIfTablesUnreadable();
// Unbinds and empties every table, so nothing refers to a closed container.
// Awaits the tables first, as DetachTables does.
void UnbindTables();
// Unbinds every table and leaves its rows in memory: the cheap end of a run,
// where emptying tables of many rows would only cost time.
void DetachTables();
