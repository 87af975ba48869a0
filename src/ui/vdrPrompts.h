#pragma once

#include <QString>

#include <memory>

// Every message box, input box and file or folder dialog of the program goes
// through the one installed TvdrPrompts, so tests can answer them without a
// modal loop. The installed default shows the real dialogs.
class TvdrPrompts {
public:
    enum class TKind { Error, Warning, Info };

    virtual ~TvdrPrompts() = default;

    // A Yes/No question; true for Yes. Closing the box counts as No.
    virtual bool AskYesNo(const QString &message) = 0;
    // A box with an OK button.
    virtual void Message(TKind kind, const QString &message) = 0;
    // A one-line input; `accepted` false when cancelled.
    virtual QString InputBox(const QString &caption, const QString &prompt, const QString &text,
                             bool &accepted) = 0;
    // A chosen folder, or empty text when cancelled.
    virtual QString BrowseFolder(const QString &caption, const QString &folder) = 0;
    // An existing file, or empty text when cancelled. `filter` is in Qt's
    // form ("XML files (*.xml);;All files (*)").
    virtual QString OpenFile(const QString &title, const QString &filter, const QString &folder) = 0;
    // A file to write, `fileName` proposed; empty text when cancelled. The
    // dialog asks before an existing file is replaced.
    virtual QString SaveFile(const QString &title, const QString &filter, const QString &fileName) = 0;
    // Hands a web address, mail address or file to the desktop.
    virtual void ShellOpen(const QString &target) = 0;
};

// The installed prompts (the real dialogs unless a test installed others).
TvdrPrompts &Prompts();
// Installs `prompts` and returns the previous ones; null puts the real
// dialogs back.
std::unique_ptr<TvdrPrompts> SetPrompts(std::unique_ptr<TvdrPrompts> prompts);
