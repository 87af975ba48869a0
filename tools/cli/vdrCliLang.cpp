// Building and reading the language file.

#include "vdrCliCommands.h"

#include "kvxLang.h"
#include "kvxLangSource.h"
#include "kvxNvList.h"
#include "kvxStreamFile.h"
#include "vdrError.h"

#include <QFile>
#include <QFileInfo>

namespace {

void LangBuild(TvdrCliContext &ctx) {
    ExpectArgs(ctx, 2, 2);
    QFile source(ctx.args[0]);
    if (!source.open(QIODevice::ReadOnly))
        throw EvdrError(QStringLiteral("cannot read %1: %2").arg(ctx.args[0], source.errorString()));
    QStringList rows;
    try {
        rows = CompileLangSource(QString::fromUtf8(source.readAll()));
    } catch (const EvdrError &e) {
        throw EvdrError(QStringLiteral("%1: %2").arg(ctx.args[0], e.Message()));
    }

    // Built beside the target and renamed over it, so a failed build never
    // leaves half a language file behind.
    const QString target = QFileInfo(ctx.args[1]).absoluteFilePath();
    const QString partial = target + QStringLiteral(".partial");
    WriteLangFile(partial, rows);
    // Every user of the program reads it; a database is owner-only, this is
    // not.
    if (!QFile::setPermissions(partial, QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                            QFileDevice::ReadGroup | QFileDevice::ReadOther))
        throw EvdrError(QStringLiteral("cannot make %1 readable by every user").arg(partial));
    QFile::remove(target);
    if (!QFile::rename(partial, target))
        throw EvdrError(QStringLiteral("cannot write %1").arg(target));
}

void LangText(TvdrCliContext &ctx) {
    ExpectArgs(ctx, 2, 2);
    Lang().LoadFromFile(ctx.args[0]);
    WriteLine(ctx.out, Lang().GetText(ctx.args[1]));
}

} // namespace

const std::vector<TvdrCliCommand> &LangCommands() {
    static const std::vector<TvdrCliCommand> commands = {
        {"lang-build", "SRC OUT", LangBuild},
        {"lang-text", "LANGFILE KEY", LangText},
    };
    return commands;
}
