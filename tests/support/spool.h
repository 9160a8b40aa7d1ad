// The message-log lines a test's drive holds: the texts of the spool files
// <drive>/kovra/tmp/*.msg, each behind its 8-byte record header.
#pragma once
#include <string>
#include <vector>

#include "support/drive.h"

// In the order of the spool file names ("arq_0000.msg", "arq_0001.msg", ...).
std::vector<std::string> LinhasSpoolMensagem(const DriveTemp& drive);
