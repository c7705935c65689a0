#pragma once

#include "host/LaunchOptions.h"

class JackHost;
class frmMain;

// Does what the launch options ask once start-up is done: with --native-mode, presses "Native
// Mode", and whenever the controller comes back (a replug) puts it into native mode again.
void ApplyLaunchOptions(const LaunchOptions& options, frmMain& window, JackHost& host);

// The three native-mode entry messages, then the current LED packet, so that a controller that
// was away shows the state it had.
void ResendNativeState(frmMain& window);
