#include "vdrExportXML.h"

#include "vdrExportTable.h"

namespace {

// Where the program's home page publishes the document's schema.
const char *const kSchemaHost = "https://www.vandor.example";

} // namespace

QString TvdrExportXML::SchemaLocation() { return QString::fromLatin1(kSchemaHost) + QStringLiteral("/xsd/VandorDB.xsd"); }

QString TvdrExportXML::XmlEscape(const QString &text) {
    // One pass, and none at all for the common text without a special
    // character: a large export escapes every value.
    QString out;
    qsizetype copied = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t ch = text[i].unicode();
        const char *reference = nullptr;
        switch (ch) {
        case u'&': reference = "&amp;"; break;
        case u'<': reference = "&lt;"; break;
        case u'>': reference = "&gt;"; break;
        case u'"': reference = "&quot;"; break;
        case u'\'': reference = "&apos;"; break;
        case u'\t': reference = "&#9;"; break;
        default: continue;
        }
        if (copied == 0 && out.isEmpty())
            out.reserve(text.size() + 16);
        out.append(QStringView(text).mid(copied, i - copied));
        out.append(QLatin1String(reference));
        copied = i + 1;
    }
    if (copied == 0)
        return text;
    out.append(QStringView(text).mid(copied));
    return out;
}

void TvdrExportXML::Execute() {
    m_lines.clear();
    m_lines.append(QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\" ?>"));
    m_lines.append(QStringLiteral("<Vandor_Database xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\" "
                                  "xsi:noNamespaceSchemaLocation=\"%1\">")
                       .arg(SchemaLocation()));
    for (const TvdrExportTable &table : ExportTables()) {
        m_lines.append(QLatin1Char('<') + table.Name + QLatin1Char('>'));
        const QString row = table.Name + QStringLiteral("Row");
        for (int i = 0; i < table.Rows.size(); ++i) {
            QString line = QStringLiteral("<%1 Nbr=\"%2\">").arg(row).arg(i);
            for (int c = 0; c < table.Columns.size(); ++c) {
                const QString &column = table.Columns[c];
                line += QLatin1Char('<') + column + QLatin1Char('>') + XmlEscape(table.Rows[i][c]) +
                        QStringLiteral("</") + column + QLatin1Char('>');
            }
            line += QStringLiteral("</") + row + QLatin1Char('>');
            m_lines.append(line);
        }
        m_lines.append(QStringLiteral("</") + table.Name + QLatin1Char('>'));
    }
    m_lines.append(QStringLiteral("</Vandor_Database>"));

    QByteArray document;
    for (const QString &line : m_lines) {
        document += line.toUtf8();
        document += "\r\n";
    }
    WriteFile(FilePath(QStringLiteral("VandorDB.xml")), document);
    ExportPictures();
}
