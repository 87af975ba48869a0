#pragma once

#include <QString>
#include <QStringList>

// Compiles the editable language source (lang/vdrLang.txt) into the rows of
// the language table: "Key=N<TAB>Text", N numbering the entries from 1 in
// source order, Text as written in the source (already escaped), rows in
// CompareText order of their keys so that look-ups can binary-search them.
//
// Source: blank lines and lines whose first non-blank character is "#" are
// skipped; every other line is Key=Text. The key is everything before the
// first "=", trimmed; the text is everything after it, unchanged. In the text
// a backslash starts one of the escapes \n (line break), \t (TAB) or \\.
//
// Raises EvdrError "line N: ..." for the first bad line: no "=", an empty key
// or one holding a TAB, a key given twice (CompareText equal), a blank text,
// a raw TAB or a stray backslash in the text, or a character code page 1252
// cannot hold.
QStringList CompileLangSource(const QString &sourceText);

// Writes `rows` as a language file: a container holding the one stream
// "TkvxLang". An existing file of that name is replaced.
void WriteLangFile(const QString &fileName, const QStringList &rows);
