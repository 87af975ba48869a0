#pragma once

#include "vdrPrompts.h"

#include <QStringList>

#include <functional>

// Prompts that answer from a plan and record what was asked. Installed while
// it lives; the previous prompts come back when it is destroyed. A prompt
// asked with no planned answer fails the test and is answered No/cancel.
class TvdrScriptedPrompts : public TvdrPrompts {
public:
    struct TAsked {
        QString Kind;   // "question", "error", "warning", "info", "input", "folder", "file", "save", "open"
        QString Text;   // the message, or the dialog's caption or title
        QString Detail; // the folder, filter or prompt handed to the dialog
    };

    // Installs a fresh instance; the returned reference lives until Release.
    static TvdrScriptedPrompts &Install();
    // Puts the prompts that were installed before back.
    static void Release();

    QList<TAsked> Asked;
    QList<bool> YesNo;     // true: Yes
    QStringList Folders;   // "" cancels
    QStringList Files;     // "" cancels
    QStringList SaveFiles; // "" cancels
    QStringList Inputs;    // "" with InputAccepted false cancels
    bool InputAccepted = true;
    // Runs while a message box would be shown (for checks at that moment).
    std::function<void(const TAsked &)> OnAsked;

    // The kinds and texts asked so far, "kind: text" each.
    QStringList Transcript() const;

    bool AskYesNo(const QString &message) override;
    void Message(TKind kind, const QString &message) override;
    QString InputBox(const QString &caption, const QString &prompt, const QString &text,
                     bool &accepted) override;
    QString BrowseFolder(const QString &caption, const QString &folder) override;
    QString OpenFile(const QString &title, const QString &filter, const QString &folder) override;
    QString SaveFile(const QString &title, const QString &filter, const QString &fileName) override;
    void ShellOpen(const QString &target) override;

private:
    void Record(const QString &kind, const QString &text, const QString &detail = QString());
};

// Installs scripted prompts for one scope.
class TvdrPromptsScript {
public:
    TvdrPromptsScript() : m_prompts(TvdrScriptedPrompts::Install()) {}
    ~TvdrPromptsScript() { TvdrScriptedPrompts::Release(); }
    TvdrScriptedPrompts *operator->() { return &m_prompts; }
    TvdrScriptedPrompts &operator*() { return m_prompts; }

private:
    TvdrScriptedPrompts &m_prompts;
};
