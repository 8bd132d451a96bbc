#include "cli/ConsoleProgress.h"

#include <QTextStream>

void ConsoleProgress::begin(const QString& topic, int) {
    // Flushed at once: whoever watches a long job wants to see that it has started.
    m_out << topic << Qt::endl;
}
