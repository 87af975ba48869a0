#pragma once

#include "vdrPrompts.h"

// The prompts as real dialogs, over the active window.
class TvdrDialogPrompts : public TvdrPrompts {
public:
    bool AskYesNo(const QString &message) override;
    void Message(TKind kind, const QString &message) override;
    QString InputBox(const QString &caption, const QString &prompt, const QString &text,
                     bool &accepted) override;
    QString BrowseFolder(const QString &caption, const QString &folder) override;
    QString OpenFile(const QString &title, const QString &filter, const QString &folder) override;
    QString SaveFile(const QString &title, const QString &filter, const QString &fileName) override;
    void ShellOpen(const QString &target) override;
};
