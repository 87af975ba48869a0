#pragma once

#include "vdrCli.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

struct TvdrCliResult {
    int code;
    std::string out, err;
};

// Runs one vandor-cli command in-process.
inline TvdrCliResult RunCli(const QStringList &args, const std::string &input = std::string()) {
    std::istringstream in(input);
    std::ostringstream out, err;
    const int code = RunVandorCli(args, in, out, err);
    return {code, out.str(), err.str()};
}

// Runs a command that must succeed and gives its output.
inline std::string RunOk(const QStringList &args) {
    const TvdrCliResult r = RunCli(args);
    EXPECT_EQ(r.code, 0) << args.join(QLatin1Char(' ')).toStdString() << ": " << r.err;
    return r.out;
}
