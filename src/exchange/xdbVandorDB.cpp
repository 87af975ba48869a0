#include "xdbVandorDB.h"

#include "vdrError.h"
#include "vdrImportValue.h"
#include "vdrRegularFile.h"

#include <QFile>

#include <algorithm>

namespace {

const char *const kDocumentElement = "Vandor_Database";

} // namespace

int TXMLSource::LineAt(ptrdiff_t offset) const {
    if (!LinesKnown || offset < 0 || offset > Bytes.size())
        return 0;
    return 1 + int(std::count(Bytes.constBegin(), Bytes.constBegin() + offset, '\n'));
}

std::optional<QString> TXMLRowBase::ElementText(const char *name) const {
    const pugi::xml_node element = m_node.child(name);
    if (!element)
        return std::nullopt;
    return QString::fromUtf8(element.text().get());
}

void TXMLRowBase::Fail(const char *name, const QString &problem) const {
    pugi::xml_node at = *name ? m_node.child(name) : pugi::xml_node();
    if (!at)
        at = m_node;
    vdrImportValue::Fail(m_source->FileName, problem, name, QString::fromUtf8(m_node.name()), m_index,
                         m_source->LineAt(at.offset_debug()));
}

template <class T>
T TXMLRowBase::Converted(const char *name, T (*convert)(const std::optional<QString> &)) const {
    return vdrImportValue::Converted(convert, ElementText(name),
                                     [this, name](const QString &problem) { Fail(name, problem); });
}

QString TXMLRowBase::Text(const char *name) const {
    return Converted(name, vdrImportValue::Text);
}

qint32 TXMLRowBase::Integer(const char *name) const {
    return Converted(name, vdrImportValue::Integer);
}

QDate TXMLRowBase::Date(const char *name) const {
    return Converted(name, vdrImportValue::Date);
}

double TXMLRowBase::Currency(const char *name) const {
    return Converted(name, vdrImportValue::Cost);
}

void TXMLRowBase::CheckRowTexts(std::initializer_list<qsizetype> lengths) const {
    try {
        vdrImportValue::CheckRowTexts(lengths);
    } catch (const EvdrError &e) {
        Fail("", e.Message());
    }
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
    QFile file;
    vdrRegularFile::Open(file, fileName);
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
    // Another document imports nothing and would look like an empty export.
    const QString root = QString::fromUtf8(document->document_element().name());
    if (root != QLatin1String(kDocumentElement))
        throw EvdrError(QStringLiteral("%1: the document element is <%2>, not <%3>: this is not an exported "
                                       "Vandor database")
                            .arg(fileName, root, QLatin1String(kDocumentElement)));
    return std::unique_ptr<TXMLVandorDBType>(new TXMLVandorDBType(std::move(source), std::move(document)));
}
