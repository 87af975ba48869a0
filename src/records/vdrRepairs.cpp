#include "vdrRepairs.h"

#include "kvxLang.h"
#include "vdrCmRtn.h"
#include "vdrCompareText.h"
#include "vdrError.h"
#include "vdrKeyAllocation.h"
#include "vdrMaintRepairs.h"
#include "vdrSingleton.h"
#include "vdrStrUtils.h"

#include <algorithm>
#include <utility>

TvdrRepairs::TvdrRepairs() : TvdrEntity(QStringLiteral("TvdrRepairs")) {
    TvdrSingleton<TvdrRepairs>::CheckCreation("Repairs");
}

TvdrRepairs &Repairs() {
    return TvdrSingleton<TvdrRepairs>::Instance();
}

TvdrField &TvdrRepairs::RepairField(qint32 repairNbr) {
    return Field(TvdrCmRtn::FormatKey(repairNbr));
}

QString TvdrRepairs::Description(qint32 repairNbr) const {
    TvdrReadGuard guard(Lock());
    const int index = IndexOfName(TvdrCmRtn::FormatKey(repairNbr));
    return index < 0 ? QString() : Trim(Lines().Text(index).mid(TvdrCmRtn::FormatKey(repairNbr).size() + 1));
}

qint32 TvdrRepairs::AddRepair(const QString &description, bool buildOrder) {
    TvdrWriteGuard guard(Lock());
    const qint32 repairNbr = TvdrKeyAllocation::OnePastLastNumber(*this, TvdrKeyAllocation::NameNumber);
    SetValue(TvdrCmRtn::FormatKey(repairNbr), SingleLine(description));
    if (buildOrder)
        BuildOrder(m_descending);
    return repairNbr;
}

void TvdrRepairs::RemoveRepair(qint32 repairNbr) {
    TvdrWriteGuard guard(Lock());
    DeleteName(TvdrCmRtn::FormatKey(repairNbr));
    BuildOrder(m_descending);
}

qint32 TvdrRepairs::FindRepair(const QString &description) const {
    TvdrReadGuard guard(Lock());
    for (qsizetype i = 0; i < Lines().size(); ++i) {
        const QString row = Lines().Text(i);
        const qsizetype eq = row.indexOf(QLatin1Char('='));
        if (eq >= 0 && SameText(row.mid(eq + 1), description))
            return TvdrKeyAllocation::ParseRowNumber(row.left(eq));
    }
    return -1;
}

void TvdrRepairs::GetDescriptions(QStringList &list) const {
    TvdrReadGuard guard(Lock());
    list.clear();
    for (qsizetype i = 0; i < Lines().size(); ++i) {
        const QString row = Lines().Text(i);
        const qsizetype eq = row.indexOf(QLatin1Char('='));
        if (eq >= 0)
            list.append(Trim(row.mid(eq + 1)));
    }
    std::stable_sort(list.begin(), list.end(), TvdrTextLess());
    // Equal under CompareText includes accents; a text differing only in
    // letter case is equal there, so one of each stays.
    list.erase(std::unique(
                   list.begin(), list.end(),
                   [](const QString &a, const QString &b) { return a.compare(b, Qt::CaseInsensitive) == 0; }),
               list.end());
}

void TvdrRepairs::BuildOrder(bool descending) {
    TvdrWriteGuard guard(Lock());
    std::vector<std::pair<QString, qint32>> pairs;
    pairs.reserve(size_t(Count()));
    for (qsizetype i = 0; i < Lines().size(); ++i) {
        const QString row = Lines().Text(i);
        const qsizetype eq = row.indexOf(QLatin1Char('='));
        bool ok = false;
        const qint32 number = (eq < 0 ? QString() : row.left(eq)).toInt(&ok, 10);
        if (ok)
            pairs.emplace_back(Trim(row.mid(eq + 1)), number);
    }
    // Stable: descriptions equal but for letter case keep number order.
    std::stable_sort(pairs.begin(), pairs.end(),
                     [](const auto &a, const auto &b) { return CompareText(a.first, b.first) < 0; });
    m_order.clear();
    for (const auto &pair : pairs)
        m_order.push_back(pair.second);
    if (descending)
        std::reverse(m_order.begin(), m_order.end());
    m_descending = descending;
}

qint32 TvdrRepairs::RepairNbrAt(int position) const {
    if (position < 0 || position >= OrderCount())
        throw EvdrError(QStringLiteral("Repair position (%1) is out of range [0..%2]")
                            .arg(position)
                            .arg(OrderCount() - 1));
    return m_order[size_t(position)];
}

void TvdrRepairs::RemoveUnlinked() {
    TvdrWriteGuard guard(Lock());
    for (int i = Count() - 1; i >= 0; --i) {
        const QString name = NameOf(Lines().Text(i));
        bool ok = false;
        const qint32 number = name.toInt(&ok, 10);
        if (ok && MaintRepairs().IsRepairUnlinked(number))
            Delete(i);
    }
}

QString TvdrRepairs::RowProblem(const QString &row) const {
    const QString problem = TvdrEntity::RowProblem(row);
    return problem.isEmpty() ? NumberKeyProblem(row) : problem;
}

qint32 SelectRepair(const QString &text) {
    if (Trim(text).isEmpty())
        throw EvdrError(Lang().GetText(QStringLiteral("WM-RepairDescriptionIsBlank")));
    const qint32 found = Repairs().FindRepair(text);
    if (found >= 0)
        return found;
    const qint32 repairNbr = Repairs().AddRepair(text);
    Repairs().Save();
    return repairNbr;
}

QString RepairInUseText(qint32 repairNbr) {
    QStringList cars;
    if (MaintRepairs().CarsUsingRepair(repairNbr, cars))
        return QString();
    QString text = Lang().GetText(QStringLiteral("IM-RepairInUsePart1"));
    for (const QString &car : cars)
        text += QStringLiteral("\r\t") + car;
    text += QStringLiteral("\r\r") + Lang().GetText(QStringLiteral("IM-RepairInUsePart2"));
    return text;
}
