#pragma once

#include <QIcon>
#include <QString>

class QWidget;

// Makes the program's icons (":/icons/...") available; the resource lives in
// a static library, which Qt does not register by itself. Safe to call more
// than once.
void InitIcons();

// An SVG icon read when first drawn (TvdrSvgIconEngine).
QIcon SvgIcon(const QString &fileName);

// The .ui files name each icon in a property "iconFile" of its action,
// button or form instead of the icon itself, which uic would have read at
// once: gives each of them its icon.
void ApplyIconFiles(QWidget *form);
