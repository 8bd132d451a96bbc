#pragma once

#include <QString>

// Why a job cannot write the file at `path` ("it is a folder", "its folder does not exist",
// "writing there is not allowed"), or nothing when writing it can be tried.
QString outputFileProblem(const QString& path);
