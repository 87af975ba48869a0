#include "vdrPrompts.h"

#include "vdrDialogPrompts.h"

namespace {

std::unique_ptr<TvdrPrompts> &Installed() {
    static std::unique_ptr<TvdrPrompts> prompts;
    return prompts;
}

} // namespace

TvdrPrompts &Prompts() {
    if (!Installed())
        Installed() = std::make_unique<TvdrDialogPrompts>();
    return *Installed();
}

std::unique_ptr<TvdrPrompts> SetPrompts(std::unique_ptr<TvdrPrompts> prompts) {
    std::unique_ptr<TvdrPrompts> previous = std::move(Installed());
    Installed() = std::move(prompts);
    return previous;
}
