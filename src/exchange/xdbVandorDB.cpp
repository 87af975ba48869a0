#include "xdbVandorDB.h"

#include "vdrError.h"
#include "vdrImportValue.h"
#include "vdrRegularFile.h"

#include <QFile>

#include <algorithm>
#include <cstring>

namespace {

const char *const kDocumentElement = "Vandor_Database";

} // namespace

int TXMLSource::LineAt(ptrdiff_t offset) const {
    if (!LinesKnown || !ReadAgain || offset < 0)
        return 0;
    const QByteArray bytes = ReadAgain();
    if (offset > bytes.size())
        return 0;
    return 1 + int(std::count(bytes.constBegin(), bytes.constBegin() + offset, '\n'));
}

const char *TXMLRowBase::RawText(const char *name) const {
    const pugi::xml_node element = m_node.child(name);
    return element ? element.text().get() : nullptr;
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
    qint32 value = 0;
    const char *text = RawText(name);
    return text && vdrImportValue::PlainInteger(QByteArrayView(text), value)
               ? value
               : Converted(name, vdrImportValue::Integer);
}

QDate TXMLRowBase::Date(const char *name) const {
    QDate value;
    const char *text = RawText(name);
    return text && vdrImportValue::PlainDate(QByteArrayView(text), value)
               ? value
               : Converted(name, vdrImportValue::Date);
}

double TXMLRowBase::Currency(const char *name) const {
    double value = 0;
    const char *text = RawText(name);
    return text && vdrImportValue::PlainCost(QByteArrayView(text), value)
               ? value
               : Converted(name, vdrImportValue::Cost);
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
    QFile file;
    vdrRegularFile::Open(file, fileName);
    return LoadDocument(file, fileName, [fileName] {
        QFile again(fileName);
        return again.open(QIODevice::ReadOnly) ? again.readAll() : QByteArray();
    });
}

namespace {

// The rest of the device in a buffer of pugixml's own, which the document
// takes over: parsed in place, the bytes are held once.
void *ReadForPugi(QIODevice &device, const QString &name, size_t &size) {
    const auto failed = [&] {
        return EvdrError(QStringLiteral("%1: cannot read the file: %2").arg(name, device.errorString()));
    };
    QByteArray rest;
    qint64 known = device.isSequential() ? -1 : device.size() - device.pos();
    // A device of unknown size is read to its end first.
    for (qint64 read = 1; known < 0 && read > 0;) {
        rest.resize(rest.size() + 64 * 1024);
        read = device.read(rest.data() + rest.size() - 64 * 1024, 64 * 1024);
        if (read < 0)
            throw failed();
        rest.resize(rest.size() - 64 * 1024 + read);
        if (read == 0)
            known = rest.size();
    }
    void *buffer = pugi::get_memory_allocation_function()(size_t(std::max<qint64>(known, 1)));
    if (!buffer)
        throw EvdrError(QStringLiteral("%1: the document does not fit in memory").arg(name));
    if (!rest.isNull()) {
        std::memcpy(buffer, rest.constData(), size_t(known));
    } else if (device.read(static_cast<char *>(buffer), known) != known) {
        pugi::get_memory_deallocation_function()(buffer);
        throw failed();
    }
    size = size_t(known);
    return buffer;
}

} // namespace

std::unique_ptr<TXMLVandorDBType> LoadDocument(QIODevice &device, const QString &name,
                                               std::function<QByteArray()> readAgain) {
    auto source = std::make_unique<TXMLSource>();
    source->FileName = name;
    source->ReadAgain = std::move(readAgain);
    size_t size = 0;
    void *bytes = ReadForPugi(device, name, size);

    auto document = std::make_unique<pugi::xml_document>();
    const pugi::xml_parse_result result =
        document->load_buffer_inplace_own(bytes, size, pugi::parse_default, pugi::encoding_auto);
    // Offsets count bytes of the file only when it needed no conversion.
    source->LinesKnown = result.encoding == pugi::encoding_utf8;
    if (!result) {
        QString where = QStringLiteral("offset %1").arg(qint64(result.offset));
        if (const int line = source->LineAt(result.offset))
            where += QStringLiteral(", line %1").arg(line);
        throw EvdrError(QStringLiteral("%1: not a well-formed XML document: %2 (%3)")
                            .arg(name, QLatin1String(result.description()), where));
    }
    // Another document imports nothing and would look like an empty export.
    const QString root = QString::fromUtf8(document->document_element().name());
    if (root != QLatin1String(kDocumentElement))
        throw EvdrError(QStringLiteral("%1: the document element is <%2>, not <%3>: this is not an exported "
                                       "Vandor database")
                            .arg(name, root, QLatin1String(kDocumentElement)));
    return std::unique_ptr<TXMLVandorDBType>(new TXMLVandorDBType(std::move(source), std::move(document)));
}
