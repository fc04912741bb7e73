#pragma once
// The benchmarks' wide command line handed to Google Benchmark, which takes
// 8-bit arguments.

#include "engine/files/WideString.h"

#include <benchmark/benchmark.h>

#include <string>
#include <vector>

inline void InitializeBenchmarks(int argc, wchar_t** argv)
{
    static std::vector<std::string> narrow;
    static std::vector<char*> args;
    for (int i = 0; i < argc; ++i) {
        narrow.push_back(WideStringToNarrow(argv[i]));
    }
    for (std::string& arg : narrow) {
        args.push_back(arg.data());
    }
    int count = argc;
    benchmark::Initialize(&count, args.data());
}
