#include "vdrExportXML.h"

#include "vdrExportSink.h"
#include "vdrExportTable.h"
#include "vdrExportWriter.h"

#include <cstring>

namespace {

// Where the program's home page publishes the document's schema.
const char *const kSchemaHost = "https://www.vandor.example";

// The reference that stands for `ch` in a text, or null.
const char *Reference(char16_t ch) {
    switch (ch) {
    case u'&':
        return "&amp;";
    case u'<':
        return "&lt;";
    case u'>':
        return "&gt;";
    case u'"':
        return "&quot;";
    case u'\'':
        return "&apos;";
    case u'\t':
        return "&#9;";
    default:
        return nullptr;
    }
}

// Each row on one line: the row element with its position as "Nbr" and one
// child element per column.
class TXmlSink final : public TvdrExportSink {
public:
    explicit TXmlSink(TvdrExportWriter &out) : m_out(out) {}

    void BeginTable(const TvdrExportTable &table) override {
        m_table = &table;
        m_row = 0;
        m_rowElement = (table.Name + QStringLiteral("Row")).toUtf8();
        m_open.clear();
        m_close.clear();
        for (const QString &column : table.Columns) {
            m_open.append('<' + column.toUtf8() + '>');
            m_close.append("</" + column.toUtf8() + '>');
        }
        m_out.Append('<');
        m_out.AppendUtf8(table.Name);
        m_out.Append(">\r\n", 3);
    }
    void EndTable() override {
        m_out.Append("</", 2);
        m_out.AppendUtf8(m_table->Name);
        m_out.Append(">\r\n", 3);
    }
    void BeginRow() override {
        m_column = 0;
        m_out.Append('<');
        m_out.Append(m_rowElement.constData(), m_rowElement.size());
        m_out.Append(" Nbr=\"", 6);
        m_out.AppendNumber(m_row++);
        m_out.Append("\">", 2);
    }
    void EndRow() override {
        m_out.Append("</", 2);
        m_out.Append(m_rowElement.constData(), m_rowElement.size());
        m_out.Append(">\r\n", 3);
    }
    void Number(qint64 number) override {
        Open();
        m_out.AppendNumber(number);
        Close();
    }
    void Ascii(const char *text, qsizetype length) override {
        Open();
        m_out.Append(text, length);
        Close();
    }
    void Text(QStringView text) override {
        Open();
        qsizetype copied = 0;
        for (qsizetype i = 0; i < text.size(); ++i) {
            if (const char *reference = Reference(text[i].unicode())) {
                m_out.AppendUtf8(text.mid(copied, i - copied));
                m_out.Append(reference, qsizetype(std::strlen(reference)));
                copied = i + 1;
            }
        }
        m_out.AppendUtf8(text.mid(copied));
        Close();
    }
    void Fields(QStringView text) override { Text(text); }

private:
    void Open() { m_out.Append(m_open[m_column]); }
    void Close() { m_out.Append(m_close[m_column++]); }

    TvdrExportWriter &m_out;
    const TvdrExportTable *m_table = nullptr;
    QByteArray m_rowElement;
    QByteArrayList m_open;  // "<Column>" of each column
    QByteArrayList m_close; // "</Column>"
    qint64 m_row = 0;
    int m_column = 0;
};

} // namespace

QString TvdrExportXML::SchemaLocation() {
    return QString::fromLatin1(kSchemaHost) + QStringLiteral("/xsd/VandorDB.xsd");
}

QString TvdrExportXML::XmlEscape(const QString &text) {
    QString out;
    out.reserve(text.size());
    for (const QChar ch : text) {
        if (const char *reference = Reference(ch.unicode()))
            out.append(QLatin1String(reference));
        else
            out.append(ch);
    }
    return out;
}

void TvdrExportXML::WriteDocument(QIODevice &device, const QString &name) {
    TvdrExportWriter out(device, name);
    out.AppendUtf8(QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\" ?>\r\n"
                                  "<Vandor_Database xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\" "
                                  "xsi:noNamespaceSchemaLocation=\"%1\">\r\n")
                       .arg(SchemaLocation()));
    TXmlSink sink(out);
    for (const TvdrExportTable &table : ExportTables())
        table.Write(sink);
    out.Append("</Vandor_Database>\r\n", 20);
    out.Flush();
}

void TvdrExportXML::Execute() {
    WriteSafely(FilePath(QStringLiteral("VandorDB.xml")),
                [](QIODevice &device, const QString &name) { WriteDocument(device, name); });
    ExportPictures();
}
