#pragma once

#include "vdrCli.h"

#include <QString>
#include <vector>

struct TvdrCliCommand {
    const char *name;
    const char *usage; // the arguments, for the usage text
    void (*run)(TvdrCliContext &ctx);
};

// Each command unit lists its commands here.
const std::vector<TvdrCliCommand> &StorageCommands();
const std::vector<TvdrCliCommand> &LangCommands();
const std::vector<TvdrCliCommand> &RecordsCommands();
const std::vector<TvdrCliCommand> &ExchangeCommands();
const std::vector<TvdrCliCommand> &ReportCommands();
