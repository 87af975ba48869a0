// The language table from arbitrary bytes. The first byte picks the form:
// 0 the bytes are the language file, 1 they are the text of its stream in a
// sound file, 2 they are language source, compiled as the build does and,
// when it compiles, loaded and looked up key by key.

#include "vdrFuzzSupport.h"

#include "kvxLang.h"
#include "kvxLangSource.h"
#include "kvxNvList.h"
#include "kvxStreamFile.h"
#include "vdrError.h"

#include <QFile>

#include <exception>

namespace {

constexpr int kKeysRead = 64;

QString LangFile() {
    return FuzzPath(QStringLiteral("vdrLang.dat"));
}

void WriteLangStream(const QByteArray &text) {
    QFile::remove(LangFile());
    TkvxStreamFile file;
    file.Open(LangFile(), false);
    file.WriteStream(QStringLiteral("TkvxLang"), 0, text);
    file.Close();
}

void LookUpKeys() {
    Lang().GetText(QStringLiteral("SortOrderDirectionsList"));
    Lang().GetText(QString());
    Lang().FormatText(QStringLiteral("frmMain.Caption"), {QStringLiteral("x"), 1});
    for (int i = 0; i < Lang().Count() && i < kKeysRead; ++i) {
        const QString key = TkvxNvList::NameOf(Lang().Get(i));
        Lang().GetText(key);
        Lang().FormatText(key, {QStringLiteral("x"), 2, 3.5});
    }
}

void CompileAndLoad(const QByteArray &source) {
    QStringList rows;
    try {
        rows = CompileLangSource(QString::fromUtf8(source));
    } catch (const EvdrError &) {
        return;
    }
    WriteLangFile(LangFile(), rows);
    Lang().LoadFromFile(LangFile());
    if (Lang().Count() != rows.size())
        FuzzFail("the language file lost rows");
    for (int i = 0; i < rows.size() && i < kKeysRead; ++i)
        if (Lang().GetText(TkvxNvList::NameOf(rows[i])).isEmpty())
            FuzzFail("a compiled key has no text");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    if (size == 0)
        return 0;
    const QByteArray rest = FuzzBytes(data + 1, size - 1);
    Lang().Clear();
    try {
        switch (data[0] % 3) {
        case 0:
            WriteFuzzFile(LangFile(), rest);
            Lang().LoadFromFile(LangFile());
            break;
        case 1:
            WriteLangStream(rest);
            Lang().LoadFromFile(LangFile());
            break;
        default:
            CompileAndLoad(rest);
            break;
        }
    } catch (const std::exception &) {
        return 0;
    }
    try {
        LookUpKeys();
    } catch (const std::exception &) {
    }
    return 0;
}
