#include "TextEncoding.h"

#include <iconv.h>

#include <cerrno>
#include <memory>

namespace imagetool {

std::string shiftJisText(const Token& token) {
    std::unique_ptr<void, int (*)(iconv_t)> converter(iconv_open("CP932", "UTF-8"), iconv_close);
    if (converter.get() == reinterpret_cast<iconv_t>(-1)) failAt(token.where, "this system cannot convert text to Shift-JIS");
    std::string input = token.text;
    std::string output(input.size() * 2 + 4, '\0');
    char* in = input.data();
    size_t inLeft = input.size();
    char* out = output.data();
    size_t outLeft = output.size();
    if (iconv(converter.get(), &in, &inLeft, &out, &outLeft) == static_cast<size_t>(-1)) {
        const size_t at = input.size() - inLeft;
        failAt(token.where, errno == EILSEQ ? "byte " + std::to_string(at) + " of this text is not UTF-8 or has no Shift-JIS form"
                                            : "this text cannot be converted to Shift-JIS");
    }
    output.resize(output.size() - outLeft);
    return output;
}

}  // namespace imagetool
