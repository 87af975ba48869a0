#include "vdrExportTSV.h"

#include "vdrCodePage.h"
#include "vdrExportTable.h"

void TvdrExportTSV::Execute() {
    for (const TvdrExportTable &table : ExportTables()) {
        const int fieldsColumn = int(table.Columns.indexOf(QLatin1String(kSortOrderFieldsColumn)));
        QString text = table.Columns.join(QLatin1Char('\t')) + QStringLiteral("\r\n");
        for (QStringList row : table.Rows) {
            if (fieldsColumn >= 0)
                row[fieldsColumn].replace(QLatin1Char('\t'), QLatin1Char('T'));
            text += row.join(QLatin1Char('\t')) + QStringLiteral("\r\n");
        }
        WriteFile(FilePath(table.Name + QStringLiteral(".tsv")), vdrCodePage::FromUnicode(text));
    }
    ExportPictures();
}
