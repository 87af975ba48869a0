#include "vdrDatabaseCheck.h"

#include "kvxStreamFile.h"
#include "vdrCmRtn.h"
#include "vdrCodePage.h"
#include "vdrCompareText.h"
#include "vdrPicture.h"
#include "vdrStringList.h"

#include <QFileInfo>
#include <QRegularExpression>
#include <QSet>

#include <algorithm>
#include <utility>
#include <vector>

namespace {

const QChar kTab(QLatin1Char('\t'));
const QLatin1String kCars("TvdrCars");

enum class TShape {
    None,
    NumberKeyed,     // TvdrCars, TvdrRepairs: N=value
    EventKeyed,      // TvdrMaint: N TAB N=value
    NameKeyed,       // TvdrOptions: name=value, the name not blank
    SortOrderRow,    // TvdrSortOrder: name=number...; names may repeat
    LinkRow,         // TvdrMaintRepairs: N TAB N TAB N
    TwoNumbersFirst, // TvdrMaintNotes, TvdrCarsUDF: N TAB N TAB text
    UdfRow,          // TvdrUDF: N TAB position TAB name
};

TShape ShapeOf(const QString &streamId) {
    static const std::pair<const char *, TShape> tables[] = {
        {"TvdrCars", TShape::NumberKeyed},
        {"TvdrRepairs", TShape::NumberKeyed},
        {"TvdrMaint", TShape::EventKeyed},
        {"TvdrOptions", TShape::NameKeyed},
        {"TvdrSortOrder", TShape::SortOrderRow},
        {"TvdrMaintRepairs", TShape::LinkRow},
        {"TvdrMaintNotes", TShape::TwoNumbersFirst},
        {"TvdrCarsUDF", TShape::TwoNumbersFirst},
        {"TvdrUDF", TShape::UdfRow},
    };
    const QString id = streamId.trimmed();
    for (const auto &table : tables)
        if (id.compare(QLatin1String(table.first), Qt::CaseInsensitive) == 0)
            return table.second;
    return TShape::None;
}

// Written by FormatKey and nothing else: look-ups build the same text, so a
// key in any other spelling ("12", "+0000012") is never found.
bool IsKeyNumber(const QString &text, bool allowNegative = false) {
    bool ok = false;
    const int n = text.toInt(&ok, 10);
    return ok && (allowNegative || n >= 0) && TvdrCmRtn::FormatKey(n) == text;
}

QString Shown(const QString &text) {
    return TvdrCmRtn::EscapeText(text);
}

// The key of a keyed row, or why the row has none.
bool CheckKeyedRow(TShape shape, const QString &row, QString &name, QString &reason) {
    const qsizetype eq = row.indexOf(QLatin1Char('='));
    if (eq < 0) {
        reason = QStringLiteral("the row has no \"=\"");
        return false;
    }
    name = row.left(eq);
    switch (shape) {
    case TShape::NumberKeyed:
        if (!IsKeyNumber(name)) {
            reason = QStringLiteral("key \"%1\" is not a record number").arg(Shown(name));
            return false;
        }
        break;
    case TShape::EventKeyed: {
        const QStringList parts = name.split(kTab);
        if (parts.size() != 2 || !IsKeyNumber(parts[0]) || !IsKeyNumber(parts[1])) {
            reason = QStringLiteral("key \"%1\" is not two record numbers (car, event)").arg(Shown(name));
            return false;
        }
        break;
    }
    case TShape::NameKeyed:
        if (name.trimmed().isEmpty()) {
            reason = QStringLiteral("the row has no key before \"=\"");
            return false;
        }
        break;
    default:
        break;
    }
    return true;
}

QString CheckPlainRow(TShape shape, const QString &row) {
    const QStringList fields = row.split(kTab);
    switch (shape) {
    case TShape::LinkRow:
        if (fields.size() != 3 || !IsKeyNumber(fields[0]) || !IsKeyNumber(fields[1]) ||
            !IsKeyNumber(fields[2]))
            return QStringLiteral("the row is not three record numbers (car, event, repair)");
        break;
    case TShape::TwoNumbersFirst:
        // Look-ups match the two numbers with the TAB behind each.
        if (fields.size() < 3 || !IsKeyNumber(fields[0]) || !IsKeyNumber(fields[1]))
            return QStringLiteral("the row does not start with two record numbers, each followed by a TAB");
        break;
    case TShape::UdfRow:
        if (fields.size() < 2 || !IsKeyNumber(fields[0]) || !IsKeyNumber(fields[1], true))
            return QStringLiteral("the row does not start with a field number and a position");
        break;
    default:
        break;
    }
    return QString();
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
    return ShapeOf(streamId) != TShape::None;
}

QList<TvdrCheckProblem> TvdrDatabaseCheck::CheckRows(const QString &streamId, const QStringList &lines) {
    const TShape shape = ShapeOf(streamId);
    QList<TvdrCheckProblem> problems;
    if (shape == TShape::None)
        return problems;
    const bool keyed = shape == TShape::NumberKeyed || shape == TShape::EventKeyed ||
                       shape == TShape::NameKeyed || shape == TShape::SortOrderRow;
    std::vector<std::pair<QString, int>> keys;
    for (int i = 0; i < int(lines.size()); ++i) {
        const int line = i + 1;
        QString reason;
        if (keyed) {
            QString name;
            if (!CheckKeyedRow(shape, lines[i], name, reason))
                problems.append({streamId, line, reason});
            else if (shape != TShape::SortOrderRow)
                keys.emplace_back(name, line);
        } else {
            reason = CheckPlainRow(shape, lines[i]);
            if (!reason.isEmpty())
                problems.append({streamId, line, reason});
        }
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
    if (toc.Exists(kCars)) {
        try {
            for (const QString &row :
                 TvdrStringList::SplitLines(vdrCodePage::ToUnicode(db.ReadStream(kCars))))
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
