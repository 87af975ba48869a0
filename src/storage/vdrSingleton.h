#pragma once

#include "vdrError.h"

#include <memory>

// The single-instance convention: a service class may be constructed only by
// its accessor, once per process. The class's constructor calls
// CheckCreation with its short name; the accessor calls Instance.
//
//   TvdrLog::TvdrLog() { TvdrSingleton<TvdrLog>::CheckCreation("Log"); }
//   TvdrLog &Log() { return TvdrSingleton<TvdrLog>::Instance(); }
//
// The instance lives until the process ends.
template <class T> class TvdrSingleton {
public:
    static T &Instance() {
        static std::unique_ptr<T> instance = Create();
        return *instance;
    }

    static void CheckCreation(const char *shortName) {
        if (!CreationAllowed())
            throw EvdrError(QStringLiteral("use %1 accessor function").arg(QLatin1String(shortName)));
        CreationAllowed() = false;
    }

private:
    static bool &CreationAllowed() {
        static bool allowed = false;
        return allowed;
    }

    static std::unique_ptr<T> Create() {
        CreationAllowed() = true;
        try {
            std::unique_ptr<T> made(new T());
            CreationAllowed() = false;
            return made;
        } catch (...) {
            CreationAllowed() = false;
            throw;
        }
    }
};
