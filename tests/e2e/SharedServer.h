#pragma once

#include "PrivateServer.h"

// The server most tests share: started on first use, stopped when the test program ends.
PrivateServer& SharedServer();
