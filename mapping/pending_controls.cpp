// SCAFFOLD: placeholders until buttons, knobs, jog wheel and XY pad land; deleted then.
#include "host/frmMain.h"

void frmMain::ZivUvozaro_ButtonMatrix(const std::string&, bool) {}
void frmMain::ZivUvozaro_ButtonPressed(const std::string&, bool) {}
void frmMain::ZivUvozaro_CheckKnobTwist(const std::string&, int16_t) {}
void frmMain::ZivUvozaro_JogWheel(const std::string&) {}
void frmMain::ZivUvozaroXYMove(int32_t, int32_t) {}
void frmMain::ZivUvozaroXYTap(int32_t, int32_t) {}
void frmMain::tmrTap_Timer() {}
