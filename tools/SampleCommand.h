#pragma once

#include "tools/CommandLine.h"

namespace datatool {

// mirtavel-data sample [--dir DIR] [--persons N] [--courses N] [--records N] [--seed S]
//                      [--force]
int RunSample(const QStringList& args, const Console& console);

} // namespace datatool
