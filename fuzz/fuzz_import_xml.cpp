// An arbitrary document through the XML import into an empty database; the
// tables it leaves must export and, after a complete import, load back as
// they are.

#include "vdrFuzzSupport.h"

#include "vdrImportXML.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    const QString path = FuzzPath(QStringLiteral("VandorDB.xml"));
    WriteFuzzFile(path, FuzzBytes(data, size));
    CheckImport([&path] { TvdrImportXML(path).Execute(); });
    return 0;
}
