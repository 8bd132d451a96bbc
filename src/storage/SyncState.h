#pragma once

// The synchronisation state every row carries for the handheld.
namespace SyncState {
constexpr int Added = 10;
constexpr int Changed = 20;
constexpr int Deleted = 30; // kept only until the handheld has learnt of the deletion
constexpr int Foreign = 99; // never assigned here; a row found in it keeps it
} // namespace SyncState
