// Arbitrary files through the TSV import into an empty database. The input
// is cut into the eight files at each 0x1E byte (record separator), in the
// order below; files the input does not reach are empty. The tables it
// leaves must export and, after a complete import, load back as they are.

#include "vdrFuzzSupport.h"

#include "vdrImportTSV.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    static const char *const kFiles[] = {"Cars.tsv",  "UDF.tsv",          "Repairs.tsv",    "CarsUDF.tsv",
                                         "Maint.tsv", "MaintRepairs.tsv", "MaintNotes.tsv", "SortOrder.tsv"};
    const QList<QByteArray> parts = FuzzBytes(data, size).split('\x1e');
    for (int i = 0; i < 8; ++i)
        WriteFuzzFile(FuzzPath(QLatin1String(kFiles[i])), i < parts.size() ? parts[i] : QByteArray());
    CheckImport([] { TvdrImportTSV(FuzzFolder()).Execute(); });
    return 0;
}
