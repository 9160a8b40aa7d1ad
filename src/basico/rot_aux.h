// The console trace switch: on when KOVTRACE is present and not exactly
// "OFF"; printing "DEBUG ON" once when it goes on.
#pragma once

void IniciaTraceConsole();
