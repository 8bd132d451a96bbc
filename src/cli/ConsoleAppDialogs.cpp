#include "cli/ConsoleAppDialogs.h"

#include <QStringList>
#include <QTextStream>
#include <utility>

std::optional<QString> ConsoleAppDialogs::askNewPatientName() {
    if (m_newPatientName)
        return std::exchange(m_newPatientName, std::nullopt);
    m_err << QStringLiteral("There is no patient yet. Start the program with its window once to "
                            "create the first patient.")
          << Qt::endl;
    return std::nullopt;
}

std::optional<QString>
ConsoleAppDialogs::chooseUser(const std::vector<std::pair<QString, QString>>& namesAndPalmNames) {
    QStringList names;
    for (const auto& [name, palmName] : namesAndPalmNames)
        names << QLatin1Char('"') + name + QLatin1Char('"');
    m_err << QStringLiteral("There are %1 patients (%2). Name the patient with --patient NAME.")
                 .arg(names.size())
                 .arg(names.join(QLatin1String(", ")))
          << Qt::endl;
    return std::nullopt;
}
