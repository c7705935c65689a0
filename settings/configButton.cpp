#include "host/frmMain.h"
#include "settings/frmConfig.h"

// A fresh dialog at every opening, so that it always shows what is stored.
void frmMain::btnConfig_Click() {
    frmConfig dialog(*this, this);
    dialog.exec();
}
