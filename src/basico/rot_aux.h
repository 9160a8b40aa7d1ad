// The console trace switch: on when KOVTRACE is present and not exactly
// "OFF"; printing "DEBUG ON" once when it goes on.
#pragma once

// Reads KOVTRACE and sets the switch (services/depura.h).  The line
// "DEBUG ON" goes to standard error, the console's debug channel, when the
// switch goes from off to on.
void IniciaTraceConsole();
