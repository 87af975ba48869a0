#include "vdrExportTSV.h"

#include "vdrExportSink.h"
#include "vdrExportTable.h"
#include "vdrExportWriter.h"

namespace {

// A header line of the column names, then one line per row; values as the
// tables hold them, never escaped.
class TTsvSink final : public TvdrExportSink {
public:
    explicit TTsvSink(TvdrExportWriter &out) : m_out(out) {}

    void BeginTable(const TvdrExportTable &table) override {
        m_out.AppendCodePage(table.Columns.join(QLatin1Char('\t')));
        m_out.Append("\r\n", 2);
    }
    void EndTable() override {}
    void BeginRow() override { m_first = true; }
    void EndRow() override { m_out.Append("\r\n", 2); }
    void Number(qint64 number) override {
        Separate();
        m_out.AppendNumber(number);
    }
    void Ascii(const char *text, qsizetype length) override {
        Separate();
        m_out.Append(text, length);
    }
    void Text(QStringView text) override {
        Separate();
        m_out.AppendCodePage(text);
    }
    // The file's code page is the tables': the bytes go as they are.
    void StoredText(QByteArrayView text) override {
        Separate();
        m_out.Append(text.data(), text.size());
    }
    void Fields(QStringView text) override {
        Separate();
        for (qsizetype start = 0; start <= text.size();) {
            qsizetype tab = text.indexOf(u'\t', start);
            if (tab < 0)
                tab = text.size();
            m_out.AppendCodePage(text.mid(start, tab - start));
            if (tab < text.size())
                m_out.Append('T');
            start = tab + 1;
        }
    }

private:
    void Separate() {
        if (!m_first)
            m_out.Append('\t');
        m_first = false;
    }

    TvdrExportWriter &m_out;
    bool m_first = true;
};

} // namespace

void TvdrExportTSV::WriteFile(const TvdrExportTable &table, QIODevice &device, const QString &name) {
    TvdrExportWriter out(device, name);
    TTsvSink sink(out);
    table.Write(sink);
    out.Flush();
}

void TvdrExportTSV::Execute() {
    for (const TvdrExportTable &table : ExportTables())
        WriteSafely(FilePath(table.Name + QStringLiteral(".tsv")),
                    [&table](QIODevice &device, const QString &name) { WriteFile(table, device, name); });
    ExportPictures();
}
