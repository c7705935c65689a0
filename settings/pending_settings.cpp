// SCAFFOLD: placeholders until the settings store and persistence land; deleted then.
#include "host/frmMain.h"
#include "settings/mSettings.h"

void WriteStringValue(int16_t, const std::string&, const std::string&, const std::string&) {}
void WriteSetting(const std::string&, const std::string&) {}
std::string ReadSetting(const std::string&) {
    return {};
}

void frmMain::RestoreSettings() {}
void frmMain::LoadFdbPadsAlwaysActive() {}
void frmMain::SaveSettings() {}
void frmMain::RecallPadSettings() {}
void frmMain::btnConfig_Click() {}
