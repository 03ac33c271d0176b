#pragma once

#include <QStringList>

// The units the Name List already holds, for the person editor's organization box to offer:
// each once whatever its letter case (the first spelling on file), in alphabetical order
// ignoring case. A file that cannot be read offers none; saving tells what is wrong with it.
QStringList OrganizationsOnFile();
