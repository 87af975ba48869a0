// An arbitrary document through the XML import into an empty database; the
// tables it leaves must export and, after a complete import, load back as
// they are.

#include "vdrFuzzSupport.h"

#include "vdrExportTable.h"
#include "vdrImportXML.h"

#include <exception>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    const QString path = FuzzPath(QStringLiteral("VandorDB.xml"));
    WriteFuzzFile(path, FuzzBytes(data, size));
    TvdrFuzzDatabase database;
    try {
        TvdrImportXML(path).Execute();
    } catch (const std::exception &) {
        ExportTables();
        return 0;
    }
    ExportTables();
    database.CheckReload();
    return 0;
}
