#include "vdrCli.h"

#include "vdrCliCommands.h"
#include "vdrError.h"

#include <ostream>

namespace {

std::vector<TvdrCliCommand> AllCommands() {
    std::vector<TvdrCliCommand> all;
    for (const auto *group :
         {&StorageCommands(), &LangCommands(), &RecordsCommands(), &ExchangeCommands(), &ReportCommands()})
        all.insert(all.end(), group->begin(), group->end());
    return all;
}

void PrintUsage(std::ostream &err) {
    err << "usage: vandor-cli COMMAND ARGS...\n";
    for (const TvdrCliCommand &c : AllCommands())
        err << "  vandor-cli " << c.name << ' ' << c.usage << '\n';
}

} // namespace

bool CliCommandNeedsGui(const QString &command) {
    for (const TvdrCliCommand &c : ReportCommands())
        if (command == QLatin1String(c.name))
            return true;
    return false;
}

void WriteLine(std::ostream &out, const QString &line) {
    out << line.toUtf8().constData() << '\n';
}

void ExpectArgs(const TvdrCliContext &ctx, int min, int max) {
    if (ctx.args.size() < min || ctx.args.size() > max)
        throw EvdrUsage("wrong number of arguments");
}

int RunVandorCli(const QStringList &args, std::istream &in, std::ostream &out, std::ostream &err) {
    if (args.isEmpty()) {
        PrintUsage(err);
        return 2;
    }
    for (const TvdrCliCommand &c : AllCommands()) {
        if (args[0] != QLatin1String(c.name))
            continue;
        TvdrCliContext ctx{args.mid(1), in, out, err};
        try {
            c.run(ctx);
            out.flush();
            return out ? 0 : 1;
        } catch (const EvdrUsage &e) {
            err << "vandor-cli " << c.name << ": " << e.what() << "\nusage: vandor-cli " << c.name << ' '
                << c.usage << '\n';
            return 2;
        } catch (const std::exception &e) {
            err << "vandor-cli " << c.name << ": " << e.what() << '\n';
            return 1;
        }
    }
    err << "vandor-cli: unknown command " << args[0].toUtf8().constData() << '\n';
    PrintUsage(err);
    return 2;
}
