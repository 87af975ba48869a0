#pragma once

#include <QStringList>

#include <iosfwd>
#include <stdexcept>

// What one command gets: its arguments (without the command name) and the
// three standard streams, binary-safe.
struct TvdrCliContext {
    QStringList args;
    std::istream &in;
    std::ostream &out;
    std::ostream &err;
};

// Wrong arguments: exit code 2 and the usage text.
class EvdrUsage : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Runs `vandor-cli <args...>`. Returns the exit code: 0 success, 1 an error
// (its message on err), 2 wrong arguments (usage on err).
int RunVandorCli(const QStringList &args, std::istream &in, std::ostream &out, std::ostream &err);

// Whether the command needs a QGuiApplication (reports measure text); one
// that finds no application object at all makes its own for its run.
bool CliCommandNeedsGui(const QString &command);

// Helpers for the command units.
void WriteLine(std::ostream &out, const QString &line);
void ExpectArgs(const TvdrCliContext &ctx, int min, int max);
