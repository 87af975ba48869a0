// A container file from arbitrary bytes, opened both ways: every stream read,
// and when it opens for writing a stream written, read back and deleted and
// the file compacted. What the container wrote must open again.
//
// The first byte picks the form. Even: the bytes after it are the file. Odd:
// they are the text of the table of contents, stored compressed behind three
// sound blocks; a mutated zlib stream fails its checksum, so only this way
// does the fuzzer reach the checks of the entries.

#include "vdrFuzzSupport.h"

#include "kvxStreamFile.h"

#include <QtEndian>

#include <exception>

namespace {

// Blocks at offsets 4, 20 and 32 (sizes 16, 12 and 35).
QByteArray FileWithToc(const QByteArray &tocText) {
    QByteArray file(4, '\0');
    for (const char *text : {"Cars", "", "0000000=2004\tFord\tTaurus\t\r\n"})
        file += TkvxStreamFile::Compress(QByteArray(text));
    const QByteArray toc = TkvxStreamFile::Compress(tocText);
    file += toc;
    qToLittleEndian<qint32>(qint32(toc.size()), file.data());
    return file;
}

void ReadEveryStream(TkvxStreamFile &file) {
    const TkvxSfToc toc = file.Toc();
    for (int i = 0; i < toc.Count(); ++i) {
        const TkvxSfTocEntry &entry = toc.Entry(i);
        if (entry.Free)
            continue;
        try {
            file.RawBlock(entry.Id);
            file.ReadStream(entry.Id);
        } catch (const std::exception &) {
        }
    }
}

void Change(TkvxStreamFile &file, const QByteArray &input) {
    const QString id = QStringLiteral("FuzzStream");
    const QByteArray data = input.left(256);
    file.WriteStream(id, 7, data);
    if (file.ReadStream(id) != data)
        FuzzFail("a written stream reads back different");
    if (file.Toc().Count() > 1)
        file.DeleteStream(file.Toc().Entry(0).Id);
    file.DeleteStream(id);
    file.WriteStream(id, 0, data + data);
    file.Compact();
    if (file.ReadStream(id) != data + data)
        FuzzFail("a stream changed in compaction");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    if (size == 0)
        return 0;
    const QByteArray input = FuzzBytes(data + 1, size - 1);
    const QString path = FuzzPath(QStringLiteral("container.dat"));
    WriteFuzzFile(path, data[0] % 2 == 0 ? input : FileWithToc(input));
    for (const bool readOnly : {true, false}) {
        TkvxStreamFile file;
        try {
            file.Open(path, readOnly);
        } catch (const std::exception &) {
            continue;
        }
        ReadEveryStream(file);
        if (readOnly)
            continue;
        try {
            Change(file, input);
        } catch (const std::exception &) {
            // A damaged block may refuse to move in compaction; what was
            // written up to then is still a valid file.
        }
        file.Close();
        try {
            file.Open(path, true);
        } catch (const std::exception &) {
            FuzzFail("the container cannot open a file it wrote");
        }
        ReadEveryStream(file);
    }
    return 0;
}
