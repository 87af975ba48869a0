#pragma once

#include <QString>

// The .ini file beside the program: where the database and the log live,
// and how the tree opens. Every call opens the file, reads or writes it and
// closes it again. Folders are stored relative to the program's own folder
// ({AppPath}) or its drive ({AppDrive}), so a program folder moved or copied
// with its database still finds it.
//
// One per process: reach it through ExtFiles().
class TvdrExtFiles {
public:
    TvdrExtFiles();

    // SettingsFolder() + the program file's name + ".ini".
    QString IniFileName() const;

    QString EncodeFolder(const QString &folder) const;
    QString DecodeFolder(const QString &storedFile) const;

    void SetDBFolder(const QString &folder);
    QString DBFolder() const;
    QString DBFileName() const;
    bool NoDBPath() const;
    void ClearDBPath();

    void SetLogFolder(const QString &folder);
    QString LogFolder() const;
    QString LogFileName() const;

    // "Options"/"InitialTreeState"; "FullExpansion" when missing.
    QString InitialTreeState() const;
    bool ExpandCarsOnly() const;

    // "Internet"/"VersionCheckURL": the page the about view asks for a newer
    // version; empty (the default) keeps the program off the network.
    QString VersionCheckURL() const;

    // There is no registry here: nothing to delete.
    void DeleteOldSettings() {}

private:
    QString Read(const QString &key, const QString &fallback = QString()) const;
    void Write(const QString &key, const QString &value);
};

TvdrExtFiles &ExtFiles();
