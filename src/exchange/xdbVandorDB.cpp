#include "xdbVandorDB.h"

#include "vdrError.h"
#include "vdrFormatSettings.h"
#include "vdrStrUtils.h"

#include <QDateTime>
#include <QFile>

#include <algorithm>
#include <cmath>

namespace {

// The range of the four-decimal fixed-point currency the costs come from.
constexpr double kCurrencyLimit = 922337203685477.0;
constexpr int kQuotedLength = 40;

QString Quoted(const QString &text) {
    const QString shown =
        text.size() > kQuotedLength ? text.left(kQuotedLength) + QStringLiteral("...") : text;
    return QLatin1Char('"') + shown + QLatin1Char('"');
}

bool IsDigits(const QString &text, qsizetype from, qsizetype to) {
    if (from >= to)
        return false;
    for (qsizetype i = from; i < to; ++i)
        if (text[i] < QLatin1Char('0') || text[i] > QLatin1Char('9'))
            return false;
    return true;
}

// yyyy-mm-dd at the start of `text`, digits only (no signed years).
QDate LeadingDate(const QString &text) {
    if (text.size() < 10 || !IsDigits(text, 0, 4) || text[4] != QLatin1Char('-') || !IsDigits(text, 5, 7) ||
        text[7] != QLatin1Char('-') || !IsDigits(text, 8, 10))
        return QDate();
    return QDate(text.left(4).toInt(), text.mid(5, 2).toInt(), text.mid(8, 2).toInt());
}

} // namespace

int TXMLSource::LineAt(ptrdiff_t offset) const {
    if (!LinesKnown || offset < 0 || offset > Bytes.size())
        return 0;
    return 1 + int(std::count(Bytes.constBegin(), Bytes.constBegin() + offset, '\n'));
}

QString TXMLRowBase::Text(const char *name) const {
    return QString::fromUtf8(m_node.child(name).text().get());
}

void TXMLRowBase::Fail(const char *name, const QString &problem) const {
    pugi::xml_node at = m_node.child(name);
    if (!at)
        at = m_node;
    QString where =
        QStringLiteral("%1 of %2 %3").arg(QLatin1String(name), QLatin1String(m_node.name())).arg(m_index);
    if (const int line = m_source->LineAt(at.offset_debug()))
        where += QStringLiteral(", line %1").arg(line);
    throw EvdrError(QStringLiteral("%1: %2 (%3)").arg(m_source->FileName, problem, where));
}

void TXMLRowBase::FailConversion(const char *name, const QString &text, const char *kind) const {
    Fail(name, QStringLiteral("%1 is not a valid %2").arg(Quoted(text), QLatin1String(kind)));
}

QString TXMLRowBase::ValueText(const char *name, const char *kind) const {
    if (!m_node.child(name))
        Fail(name,
             QStringLiteral("the element is missing; it must hold a valid %1").arg(QLatin1String(kind)));
    const QString text = Trim(Text(name));
    if (text.isEmpty())
        Fail(name, QStringLiteral("the element is empty; it must hold a valid %1").arg(QLatin1String(kind)));
    return text;
}

qint32 TXMLRowBase::Integer(const char *name) const {
    const QString text = ValueText(name, "integer");
    const qsizetype digits = (text[0] == QLatin1Char('-') || text[0] == QLatin1Char('+')) ? 1 : 0;
    bool ok = IsDigits(text, digits, text.size());
    // toInt fails on overflow; the sign is kept apart so every Qt reads it.
    const qint32 value = ok ? text.mid(text[0] == QLatin1Char('+') ? 1 : 0).toInt(&ok, 10) : 0;
    if (!ok)
        FailConversion(name, text, "integer");
    return value;
}

QDate TXMLRowBase::Date(const char *name) const {
    const QString text = ValueText(name, "date");
    QDate date = LeadingDate(text);
    // A date-time gives its day as written: a zone suffix does not move it.
    if (text.size() > 10 &&
        (text[10] != QLatin1Char('T') || !QDateTime::fromString(text, Qt::ISODateWithMs).isValid()))
        date = QDate();
    if (!date.isValid())
        FailConversion(name, text, "date");
    return date;
}

double TXMLRowBase::Currency(const char *name) const {
    const QString text = ValueText(name, "amount");
    bool ok = false;
    const double value = TvdrFormatSettings::ParseCost(text, &ok);
    if (!ok || std::fabs(value) > kCurrencyLimit)
        FailConversion(name, text, "amount");
    return std::round(value * 10000.0) / 10000.0;
}

TXMLVandorDBType::TXMLVandorDBType(std::unique_ptr<TXMLSource> source,
                                   std::unique_ptr<pugi::xml_document> document)
    : m_source(std::move(source)), m_document(std::move(document)),
      m_cars(m_source.get(), m_document->document_element().child("Cars")),
      m_udf(m_source.get(), m_document->document_element().child("UDF")),
      m_carsUdf(m_source.get(), m_document->document_element().child("CarsUDF")),
      m_repairs(m_source.get(), m_document->document_element().child("Repairs")),
      m_maint(m_source.get(), m_document->document_element().child("Maint")),
      m_maintRepairs(m_source.get(), m_document->document_element().child("MaintRepairs")),
      m_maintNotes(m_source.get(), m_document->document_element().child("MaintNotes")),
      m_sortOrder(m_source.get(), m_document->document_element().child("SortOrder")) {}

std::unique_ptr<TXMLVandorDBType> LoadDocument(const QString &fileName) {
    auto source = std::make_unique<TXMLSource>();
    source->FileName = fileName;
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        throw EvdrError(QStringLiteral("%1: cannot read the file: %2").arg(fileName, file.errorString()));
    source->Bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw EvdrError(QStringLiteral("%1: cannot read the file: %2").arg(fileName, file.errorString()));

    auto document = std::make_unique<pugi::xml_document>();
    const pugi::xml_parse_result result = document->load_buffer(
        source->Bytes.constData(), size_t(source->Bytes.size()), pugi::parse_default, pugi::encoding_auto);
    // Offsets count bytes of the file only when it needed no conversion.
    source->LinesKnown = result.encoding == pugi::encoding_utf8;
    if (!result) {
        QString where = QStringLiteral("offset %1").arg(qint64(result.offset));
        if (const int line = source->LineAt(result.offset))
            where += QStringLiteral(", line %1").arg(line);
        throw EvdrError(QStringLiteral("%1: not a well-formed XML document: %2 (%3)")
                            .arg(fileName, QLatin1String(result.description()), where));
    }
    return std::unique_ptr<TXMLVandorDBType>(new TXMLVandorDBType(std::move(source), std::move(document)));
}
