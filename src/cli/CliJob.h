#pragma once

#include <QStringList>

class CliSession;
class QCommandLineParser;

// Exit status of a command-line run.
namespace CliExit {
inline constexpr int ok = 0;
// The job was understood but could not be done (unknown patient, bad value, unwritable file).
inline constexpr int failed = 1;
// The command line itself is wrong (unknown job or option, a required option missing).
inline constexpr int usage = 2;
// check-update: the server offers a newer version than the running one.
inline constexpr int updateAvailable = 10;
} // namespace CliExit

// One job of the command line: one entry of the dispatcher's table. The dispatcher checks the
// job's arguments and options against the entry before it runs the job.
struct CliJob {
    const char* name;
    // What follows the job's name, as the help shows it ("" for nothing).
    const char* arguments;
    int argumentCount;
    const char* summary;
    // The job's own options, space-separated; the common ones (--patient, --yes) go with any.
    const char* options;
    // Those of its options the job cannot run without.
    const char* required;
    int (*run)(CliSession& session, const QCommandLineParser& parser, const QStringList& arguments);
};
