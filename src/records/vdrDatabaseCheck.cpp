#include "vdrDatabaseCheck.h"

#include "kvxStreamFile.h"
#include "vdrCars.h"
#include "vdrCmRtn.h"
#include "vdrCodePage.h"
#include "vdrCompareText.h"
#include "vdrDatabaseTables.h"
#include "vdrPicture.h"
#include "vdrStringList.h"

#include <QFileInfo>
#include <QRegularExpression>
#include <QSet>

#include <algorithm>
#include <utility>
#include <vector>

namespace {

// The table whose stream `streamId` names (letter case and blanks aside);
// null for any other stream. Each table knows the shape of its rows.
const TvdrStringList *TableOf(const QString &streamId) {
    const QString id = streamId.trimmed();
    for (const TvdrStringList *table : DatabaseTables())
        if (id.compare(table->StreamId(), Qt::CaseInsensitive) == 0)
            return table;
    return nullptr;
}

QString Shown(const QString &text) {
    return TvdrCmRtn::EscapeText(text);
}

// Keys that CompareText finds equal: a binary search reaches only one of
// their rows, the others are never read.
void CheckRepeatedKeys(const QString &streamId, const std::vector<std::pair<QString, int>> &keys,
                       QList<TvdrCheckProblem> &problems) {
    std::vector<std::pair<QString, int>> sorted = keys;
    std::stable_sort(sorted.begin(), sorted.end(),
                     [](const auto &a, const auto &b) { return CompareText(a.first, b.first) < 0; });
    for (size_t i = 1; i < sorted.size(); ++i) {
        size_t first = i - 1;
        while (first > 0 && SameText(sorted[first - 1].first, sorted[i].first))
            --first;
        if (SameText(sorted[first].first, sorted[i].first))
            problems.append({streamId, sorted[i].second,
                             QStringLiteral("key \"%1\" is also on line %2")
                                 .arg(Shown(sorted[i].first))
                                 .arg(sorted[first].second)});
    }
}

QString ErrorText(const std::exception &e) {
    return QString::fromUtf8(e.what());
}

} // namespace

QString TvdrCheckProblem::AsText() const {
    if (Line > 0)
        return QStringLiteral("%1 line %2: %3").arg(StreamId).arg(Line).arg(Reason);
    return QStringLiteral("%1: %2").arg(StreamId, Reason);
}

bool TvdrDatabaseCheck::IsTable(const QString &streamId) {
    return TableOf(streamId) != nullptr;
}

QList<TvdrCheckProblem> TvdrDatabaseCheck::CheckRows(const QString &streamId, const QStringList &lines) {
    QList<TvdrCheckProblem> problems;
    const TvdrStringList *table = TableOf(streamId);
    if (!table)
        return problems;
    std::vector<std::pair<QString, int>> keys;
    for (int i = 0; i < int(lines.size()); ++i) {
        const QString reason = table->RowProblem(lines[i]);
        if (!reason.isEmpty())
            problems.append({streamId, i + 1, reason});
        else if (QString key = table->RowKey(lines[i]); !key.isNull())
            keys.emplace_back(std::move(key), i + 1);
    }
    CheckRepeatedKeys(streamId, keys, problems);
    std::stable_sort(problems.begin(), problems.end(),
                     [](const TvdrCheckProblem &a, const TvdrCheckProblem &b) { return a.Line < b.Line; });
    return problems;
}

QList<TvdrCheckProblem> TvdrDatabaseCheck::CheckDatabase(TkvxStreamFile &db) {
    QList<TvdrCheckProblem> problems;
    const TkvxSfToc &toc = db.Toc();

    // Which cars have a row; unknown when the cars table cannot be read, and
    // then no picture is blamed for it.
    bool carsKnown = true;
    QSet<QString> carKeys;
    const QString cars = Cars().StreamId();
    if (toc.Exists(cars)) {
        try {
            for (const QString &row : TvdrStringList::SplitLines(vdrCodePage::ToUnicode(db.ReadStream(cars))))
                carKeys.insert(row.left(row.indexOf(QLatin1Char('='))));
        } catch (const std::exception &) {
            carsKnown = false;
        }
    }

    static const QRegularExpression pictureId(QStringLiteral("^CarPic(\\d{9,10})$"),
                                              QRegularExpression::CaseInsensitiveOption);
    for (int i = 0; i < toc.Count(); ++i) {
        const TkvxSfTocEntry &entry = toc.Entry(i);
        if (entry.Free)
            continue;
        const QString id = entry.Id;
        QByteArray data;
        try {
            data = db.ReadStream(id);
        } catch (const std::exception &e) {
            problems.append({id, 0, QStringLiteral("the stream does not inflate (%1)").arg(ErrorText(e))});
            continue;
        }
        if (IsTable(id)) {
            problems.append(CheckRows(id, TvdrStringList::SplitLines(vdrCodePage::ToUnicode(data))));
            continue;
        }
        const QRegularExpressionMatch picture = pictureId.match(id);
        if (!picture.hasMatch() || !carsKnown)
            continue;
        bool ok = false;
        const qint32 carNbr = picture.captured(1).toInt(&ok, 10);
        if (!ok || TvdrPicture::StreamIdOf(carNbr).compare(id, Qt::CaseInsensitive) != 0)
            continue;
        if (!carKeys.contains(TvdrCmRtn::FormatKey(carNbr)))
            problems.append(
                {id, 0, QStringLiteral("the picture of car %1, which has no row in TvdrCars").arg(carNbr)});
    }
    for (const auto &[fileName, why] : db.KeptAsideJournals())
        problems.append({QFileInfo(fileName).fileName(), 0,
                         QStringLiteral("a journal kept aside and never applied: %1").arg(why)});
    // The TOC's order is where the blocks happen to lie; a report reads better by name.
    std::stable_sort(problems.begin(), problems.end(),
                     [](const TvdrCheckProblem &a, const TvdrCheckProblem &b) {
                         return a.StreamId.compare(b.StreamId, Qt::CaseInsensitive) < 0;
                     });
    return problems;
}
