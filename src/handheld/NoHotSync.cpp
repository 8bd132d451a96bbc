#include "handheld/NoHotSync.h"

long NoHotSync::exportNumber90(char* buffer, unsigned long* size) {
    if (buffer && size && *size > 0)
        buffer[0] = '\0';
    return kNotFound;
}

std::unique_ptr<HotSyncApi> makeSystemHotSync() {
    return std::make_unique<NoHotSync>();
}
