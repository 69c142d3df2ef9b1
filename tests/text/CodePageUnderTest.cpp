// Under Wine the routines run in the system's ANSI code page.
#include <windows.h>

#include "support/EntryCallSupport.h"

int testing_support::codePageUnderTest() { return static_cast<int>(GetACP()); }
