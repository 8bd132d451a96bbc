// The exchange benchmarks print their figures after Google Benchmark's table, as the others do.

#include "FigureReporter.h"

int main(int argc, char** argv) {
    runWithFigures(argc, argv);
    return 0;
}
