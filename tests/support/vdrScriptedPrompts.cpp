#include "vdrScriptedPrompts.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

std::vector<std::unique_ptr<TvdrPrompts>> &Previous() {
    static std::vector<std::unique_ptr<TvdrPrompts>> stack;
    return stack;
}

template <class T> T TakeFirst(QList<T> &plan, const T &fallback, const QString &what) {
    if (plan.isEmpty()) {
        ADD_FAILURE() << "no planned answer for " << what.toStdString();
        return fallback;
    }
    return plan.takeFirst();
}

} // namespace

TvdrScriptedPrompts &TvdrScriptedPrompts::Install() {
    auto prompts = std::make_unique<TvdrScriptedPrompts>();
    TvdrScriptedPrompts &installed = *prompts;
    Previous().push_back(SetPrompts(std::move(prompts)));
    return installed;
}

void TvdrScriptedPrompts::Release() {
    SetPrompts(std::move(Previous().back()));
    Previous().pop_back();
}

void TvdrScriptedPrompts::Record(const QString &kind, const QString &text, const QString &detail) {
    Asked.append({kind, text, detail});
    if (OnAsked)
        OnAsked(Asked.constLast());
}

QStringList TvdrScriptedPrompts::Transcript() const {
    QStringList lines;
    for (const TAsked &asked : Asked)
        lines.append(asked.Kind + QStringLiteral(": ") + asked.Text);
    return lines;
}

bool TvdrScriptedPrompts::AskYesNo(const QString &message) {
    Record(QStringLiteral("question"), message);
    return TakeFirst(YesNo, false, QStringLiteral("the question \"%1\"").arg(message));
}

void TvdrScriptedPrompts::Message(TKind kind, const QString &message) {
    Record(kind == TKind::Error     ? QStringLiteral("error")
           : kind == TKind::Warning ? QStringLiteral("warning")
                                    : QStringLiteral("info"),
           message);
}

QString TvdrScriptedPrompts::InputBox(const QString &caption, const QString &prompt, const QString &text,
                                      bool &accepted) {
    Record(QStringLiteral("input"), caption, prompt);
    const QString typed = TakeFirst(Inputs, QString(), QStringLiteral("the input box \"%1\"").arg(caption));
    accepted = InputAccepted;
    return accepted ? typed : text;
}

QString TvdrScriptedPrompts::BrowseFolder(const QString &caption, const QString &folder) {
    Record(QStringLiteral("folder"), caption, folder);
    return TakeFirst(Folders, QString(), QStringLiteral("the folder dialog \"%1\"").arg(caption));
}

QString TvdrScriptedPrompts::OpenFile(const QString &title, const QString &filter, const QString &folder) {
    Record(QStringLiteral("file"), title, filter + QStringLiteral(" in ") + folder);
    return TakeFirst(Files, QString(), QStringLiteral("the file dialog \"%1\"").arg(title));
}

QString TvdrScriptedPrompts::SaveFile(const QString &title, const QString &filter, const QString &fileName) {
    Record(QStringLiteral("save"), title, filter + QStringLiteral(" as ") + fileName);
    return TakeFirst(SaveFiles, QString(), QStringLiteral("the save dialog \"%1\"").arg(title));
}

void TvdrScriptedPrompts::ShellOpen(const QString &target) {
    Record(QStringLiteral("open"), target);
}
