#pragma once

#include <QString>
#include <optional>

// The colour style of a print job. The numbers are the ones the selection sheet's radios map to.
enum class ReportStyle { color = 1, greyscale = 2, blackAndWhite = 3 };

// The command line's names: "color", "greyscale" and "bw"; nothing for any other text.
std::optional<ReportStyle> parseReportStyle(const QString& name);
QString reportStyleName(ReportStyle style);
