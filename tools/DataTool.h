#pragma once

#include "tools/CommandLine.h"

namespace datatool {

// The whole tool: `args` are the words after the program's name. Returns the exit code.
int RunDataTool(const QStringList& args, const Console& console);

QString HelpText();

} // namespace datatool
