#pragma once

#include <QString>

// What the update server's answer says about the running program.
struct UpdateFinding {
    bool available = false;
    // The newest version the server names, when it names one.
    QString win;
    // Where to get it; read only when the newest version is newer than ours.
    QString url;
};

// Reads the server's answer: an XML text with the attributes win="VERSION" and url="ADDRESS".
// An answer counts only when "win=" occurs in it after its first character. The versions are
// compared as plain text, character by character (so 4.0.10.0 is older than 4.0.9.0): the
// server's files have always been named so that this holds for the versions it offers. An
// update is available only when the answer names a newer version and an address for it.
UpdateFinding evaluateUpdateAnswer(const QString& answer, const QString& runningVersion);
