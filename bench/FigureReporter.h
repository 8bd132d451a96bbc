#pragma once

#include <benchmark/benchmark.h>
#include <cstdio>
#include <string>
#include <vector>

// Keeps Google Benchmark's table and adds one "name: value unit" line per figure after it.
class FigureReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs)
            if (!run.error_occurred)
                m_lines.push_back(run.run_name.function_name + ": " +
                                  std::to_string(run.GetAdjustedRealTime()) + " " +
                                  benchmark::GetTimeUnitString(run.time_unit));
    }
    void Finalize() override {
        ConsoleReporter::Finalize();
        std::printf("\n");
        for (const std::string& line : m_lines)
            std::printf("%s\n", line.c_str());
    }

private:
    std::vector<std::string> m_lines;
};

// Runs the benchmarks named on the command line through a FigureReporter.
inline void runWithFigures(int& argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    FigureReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
}
