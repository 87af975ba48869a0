// Commands on the raw streams of a container, and the check of a database.

#include "vdrCliCommands.h"

#include "kvxStreamFile.h"
#include "vdrDatabaseCheck.h"
#include "vdrError.h"
#include "vdrLimits.h"
#include "vdrRegularFile.h"

#include <QFile>
#include <istream>
#include <iterator>
#include <ostream>

namespace {

void Streams(TvdrCliContext &ctx) {
    ExpectArgs(ctx, 1, 1);
    TkvxStreamFile sf;
    sf.Open(ctx.args[0], true);
    for (int i = 0; i < sf.Toc().Count(); ++i) {
        const TkvxSfTocEntry &e = sf.Toc().Entry(i);
        WriteLine(ctx.out, QStringLiteral("%1\t%2\t%3\t%4\t%5")
                               .arg(e.Offset)
                               .arg(e.Size)
                               .arg(e.Free ? 1 : 0)
                               .arg(e.Tag)
                               .arg(e.Id));
    }
}

void Cat(TvdrCliContext &ctx) {
    ExpectArgs(ctx, 2, 2);
    TkvxStreamFile sf;
    sf.Open(ctx.args[0], true);
    const QByteArray data = sf.ReadStream(ctx.args[1]);
    ctx.out.write(data.constData(), data.size());
}

QByteArray ReadInput(TvdrCliContext &ctx, const QString &name) {
    if (name == QLatin1String("-")) {
        const std::string all((std::istreambuf_iterator<char>(ctx.in)), std::istreambuf_iterator<char>());
        return QByteArray(all.data(), qsizetype(all.size()));
    }
    return vdrRegularFile::ReadAll(name, vdrLimits::kMaxStreamBytes, QStringLiteral("a stream"));
}

// The container passes over a blank Id; asked for by name, it is an error.
QString StreamIdArgument(const QString &id) {
    if (TrimTocId(id).isEmpty())
        throw EvdrError(QStringLiteral("the stream Id is blank"));
    return id;
}

void Put(TvdrCliContext &ctx) {
    ExpectArgs(ctx, 3, 3);
    // The Id and the input first: neither may leave a new database behind.
    const QString id = StreamIdArgument(ctx.args[1]);
    CheckTocId(TrimTocId(id));
    const QByteArray data = ReadInput(ctx, ctx.args[2]);
    TkvxStreamFile sf;
    sf.Open(ctx.args[0], false);
    sf.WriteStream(id, 0, data);
}

// Opening a missing database read-write would create it; these commands only
// change existing ones.
void OpenExisting(TkvxStreamFile &sf, const QString &fileName) {
    if (!QFile::exists(fileName))
        throw EvdrError(QStringLiteral("%1 does not exist").arg(fileName));
    sf.Open(fileName, false);
}

void Remove(TvdrCliContext &ctx) {
    ExpectArgs(ctx, 2, 2);
    const QString id = StreamIdArgument(ctx.args[1]);
    TkvxStreamFile sf;
    OpenExisting(sf, ctx.args[0]);
    // Checked here: the container rewrites its TOC even for an unknown Id.
    if (!sf.Toc().Exists(id))
        throw EvdrError(QStringLiteral("Id (%1) does not exist").arg(id));
    sf.DeleteStream(id);
}

void Compact(TvdrCliContext &ctx) {
    ExpectArgs(ctx, 1, 1);
    TkvxStreamFile sf;
    OpenExisting(sf, ctx.args[0]);
    sf.Compact();
}

// A container that does not open (its header or table of contents is
// damaged) ends the command with that error, exit code 1.
void Check(TvdrCliContext &ctx) {
    ExpectArgs(ctx, 1, 1);
    TkvxStreamFile sf;
    sf.Open(ctx.args[0], true);
    const QList<TvdrCheckProblem> problems = TvdrDatabaseCheck::CheckDatabase(sf);
    for (const TvdrCheckProblem &problem : problems)
        WriteLine(ctx.out, problem.AsText());
    if (!problems.isEmpty())
        throw EvdrError(problems.size() == 1 ? QStringLiteral("1 problem found")
                                             : QStringLiteral("%1 problems found").arg(problems.size()));
    int streams = 0;
    for (int i = 0; i < sf.Toc().Count(); ++i)
        streams += sf.Toc().Entry(i).Free ? 0 : 1;
    WriteLine(ctx.out, QStringLiteral("ok: %1 streams, no problems found").arg(streams));
}

} // namespace

const std::vector<TvdrCliCommand> &StorageCommands() {
    static const std::vector<TvdrCliCommand> commands = {
        {"streams", "DB", Streams}, {"cat", "DB ID", Cat},      {"put", "DB ID FILE|-", Put},
        {"rm", "DB ID", Remove},    {"compact", "DB", Compact}, {"check", "DB", Check},
    };
    return commands;
}
