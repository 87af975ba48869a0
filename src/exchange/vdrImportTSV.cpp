#include "vdrImportTSV.h"

#include "vdrCmRtn.h"
#include "vdrCodePage.h"
#include "vdrDateTime.h"
#include "vdrError.h"
#include "vdrFormatSettings.h"
#include "vdrImportSteps.h"
#include "vdrStrUtils.h"

#include <QDate>
#include <QFile>

#include <algorithm>
#include <cmath>

namespace {

QString Column(int n, const QString &line) {
    return TvdrCmRtn::GetField(n, line, QLatin1Char('\t'));
}

qint32 IntegerOr(const QString &text, qint32 fallback) {
    bool ok = false;
    const qint32 n = Trim(text).toInt(&ok, 10);
    return ok ? n : fallback;
}

bool IsDigits(QStringView text) {
    return std::all_of(text.begin(), text.end(), [](QChar ch) { return ch >= u'0' && ch <= u'9'; });
}

// Only the export's own form: other forms (2004/01/05, 05.01.2004) are read
// differently in different places, so they are not guessed at.
qint32 DayNumberOr(const QString &text, qint32 fallback) {
    const QString t = Trim(text);
    if (t.size() != 10 || t[4] != u'-' || t[7] != u'-')
        return fallback;
    const QStringView v(t);
    if (!IsDigits(v.mid(0, 4)) || !IsDigits(v.mid(5, 2)) || !IsDigits(v.mid(8, 2)))
        return fallback;
    const QDate date(v.mid(0, 4).toInt(), v.mid(5, 2).toInt(), v.mid(8, 2).toInt());
    return date.isValid() ? vdrDateTime::DayNumberOf(date) : fallback;
}

// A file from a comma locale must keep its costs under a point locale, and
// the other way round, so either separator is read.
double CostOf(const QString &text) {
    bool ok = false;
    double cost = TvdrFormatSettings::ParseCost(text, &ok);
    if (!ok)
        return 0.0;
    // Past 1e15 a double has no fourth decimal to round to.
    if (std::fabs(cost) < 1e15)
        cost = std::round(cost * 10000.0) / 10000.0;
    return cost + 0.0; // no "-0" in the table
}

QStringList SortFieldsOf(const QString &text) {
    if (Trim(text).isEmpty())
        return {};
    QString fields = text;
    fields.replace(QLatin1Char('t'), QLatin1Char('T'));
    return fields.split(QLatin1Char('T'));
}

bool IsBlank(const QByteArray &line) {
    return std::all_of(line.begin(), line.end(), [](char ch) { return ch == ' ' || ch == '\t'; });
}

} // namespace

TvdrImportTSV::TvdrImportTSV(const QString &folder) : m_folder(folder) {
    if (!m_folder.endsWith(QLatin1Char('/')))
        m_folder += QLatin1Char('/');
}

void TvdrImportTSV::ReadFile(const QString &name, const std::function<void(const QString &line)> &row) const {
    const QString path = m_folder + name;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw EvdrError(QStringLiteral("cannot read %1: %2").arg(path, file.errorString()));
    bool header = true;
    while (!file.atEnd()) {
        QByteArray line = file.readLine();
        if (file.error() != QFileDevice::NoError)
            break;
        if (line.endsWith('\n'))
            line.chop(1);
        line.erase(std::remove(line.begin(), line.end(), '\r'), line.end());
        if (header) {
            header = false;
            continue;
        }
        // A blank line would otherwise become an empty car or land on car 0.
        if (IsBlank(line))
            continue;
        row(vdrCodePage::ToUnicode(line));
    }
    if (file.error() != QFileDevice::NoError)
        throw EvdrError(QStringLiteral("cannot read %1: %2").arg(path, file.errorString()));
}

void TvdrImportTSV::Execute() {
    TvdrImportSteps steps;
    steps.Cars = [this] {
        ReadFile(QStringLiteral("Cars.tsv"), [this](const QString &line) {
            m_merge.AddCar(Column(1, line), IntegerOr(Column(2, line), 2000), Column(3, line),
                           Column(4, line), Column(5, line));
        });
    };
    steps.Udf = [this] {
        ReadFile(QStringLiteral("UDF.tsv"), [this](const QString &line) {
            m_merge.AddUdf(Column(1, line), IntegerOr(Column(2, line), 0), Column(3, line));
        });
    };
    steps.Repairs = [this] {
        ReadFile(QStringLiteral("Repairs.tsv"),
                 [this](const QString &line) { m_merge.AddRepair(Column(1, line), Column(2, line)); });
    };
    steps.CarValues = [this] {
        ReadFile(QStringLiteral("CarsUDF.tsv"), [this](const QString &line) {
            m_merge.AddCarValue(Column(1, line), Column(2, line), Column(3, line));
        });
    };
    steps.Events = [this] {
        const qint32 today = vdrDateTime::DayNumberOf(vdrDateTime::Now().date());
        ReadFile(QStringLiteral("Maint.tsv"), [this, today](const QString &line) {
            m_merge.AddEvent(Column(1, line), IntegerOr(Column(2, line), 0),
                             DayNumberOr(Column(3, line), today), IntegerOr(Column(4, line), 0),
                             CostOf(Column(5, line)));
        });
    };
    steps.Links = [this] {
        ReadFile(QStringLiteral("MaintRepairs.tsv"), [this](const QString &line) {
            m_merge.AddLink(Column(1, line), IntegerOr(Column(2, line), 0), Column(3, line));
        });
    };
    steps.Notes = [this] {
        ReadFile(QStringLiteral("MaintNotes.tsv"), [this](const QString &line) {
            m_merge.AddNote(Column(1, line), IntegerOr(Column(2, line), 0), Column(3, line));
        });
    };
    steps.SortOrders = [this] {
        ReadFile(QStringLiteral("SortOrder.tsv"), [this](const QString &line) {
            m_merge.AddSortOrder(Column(1, line), Column(2, line), SortFieldsOf(Column(3, line)));
        });
    };
    steps.Pictures = [this] {
        ReadFile(QStringLiteral("Cars.tsv"), [this](const QString &line) {
            m_merge.AddPicture(m_folder, Column(1, line), Column(5, line));
        });
    };
    RunImportSteps(steps);
}
