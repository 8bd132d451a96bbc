#pragma once

struct ExchangeWindow;

// File > Import > "Database ...": another patient database is chosen and imported; the list
// reloads after a successful import, "Import failed" is shown otherwise.
void importDatabaseCommand(ExchangeWindow& window);
