#include "vdrOptions.h"

#include "vdrSingleton.h"

TvdrOptions::TvdrOptions() : TvdrEntity(QStringLiteral("TvdrOptions")) {
    TvdrSingleton<TvdrOptions>::CheckCreation("Options");
}

QString TvdrOptions::RowProblem(const QString &row) const {
    const QString problem = TvdrEntity::RowProblem(row);
    if (problem.isEmpty() && NameOf(row).trimmed().isEmpty())
        return QStringLiteral("the row has no key before \"=\"");
    return problem;
}

TvdrOptions &Options() {
    return TvdrSingleton<TvdrOptions>::Instance();
}
