#include "settings/SettingsBatch.h"
#include "settings/RegistryFile.h"

SettingsBatch::SettingsBatch() {
    BeginRegistryBatch();
}

SettingsBatch::~SettingsBatch() {
    commit();
}

bool SettingsBatch::commit() {
    if (open_) {
        open_ = false;
        saved_ = EndRegistryBatch();
    }
    return saved_;
}
