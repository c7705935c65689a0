// SCAFFOLD: placeholders until the pads land; this file is deleted then.
#include "host/frmMain.h"

void frmMain::ZivUvozaro_PadPressed(const std::string&, bool, const std::string&) {}
void frmMain::PadOnOff(const std::string&, bool, int16_t, const std::string&) {}
