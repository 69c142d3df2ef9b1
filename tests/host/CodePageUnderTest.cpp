// The system of a native test program: the fixed tables of the code page
// named by SUTAKIBA_TEST_CODEPAGE (932 unless given), with "." and "," as the
// locale's separators.
#include "FixedCodePage.h"
#include "support/EntryCallSupport.h"

#ifndef SUTAKIBA_TEST_CODEPAGE
#define SUTAKIBA_TEST_CODEPAGE 932
#endif

namespace runtime {

const TextPlatform& systemTextPlatform() {
    static const testing_support::FixedCodePage platform(SUTAKIBA_TEST_CODEPAGE);
    return platform;
}

}  // namespace runtime

int testing_support::codePageUnderTest() { return SUTAKIBA_TEST_CODEPAGE; }
