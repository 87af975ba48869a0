#pragma once

#include <functional>
#include <initializer_list>

class TvdrStringList;

// Runs a command that changes several tables as one change of the database
// they are bound to: every table it saves, and any picture it writes or
// deletes, reaches the file together at the end, or nothing does. `tables`
// are the tables the command changes in memory. When `work` or the commit
// fails (a full disk, an I/O error), the file is as before the command and
// `tables` are loaded again from it, so memory and file agree; then the
// error propagates. A command run inside another joins it. With the tables
// unbound, `work` simply runs.
void InOneTransaction(std::initializer_list<TvdrStringList *> tables, const std::function<void()> &work);
