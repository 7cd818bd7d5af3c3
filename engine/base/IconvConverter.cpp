#include "base/IconvConverter.h"

#include <cerrno>
#include <system_error>

namespace eng {

namespace {

const iconv_t kNoConversion = reinterpret_cast<iconv_t>(-1);

}  // namespace

IconvConverter::IconvConverter(const std::string &to, const std::string &from)
    : cd_(iconv_open(to.c_str(), from.c_str())) {
    if (cd_ == kNoConversion) throw std::system_error(errno, std::generic_category(), "iconv_open " + from);
}

IconvConverter::~IconvConverter() { iconv_close(cd_); }

bool IconvConverter::convert(std::string_view &in, std::string &out) {
    while (!in.empty()) {
        const size_t used = out.size();
        out.resize(used + in.size() * 4 + 16);  // room for most text; E2BIG asks for more
        char *source = const_cast<char *>(in.data());
        size_t sourceLeft = in.size();
        char *target = out.data() + used;
        size_t targetLeft = out.size() - used;
        const size_t result = iconv(cd_, &source, &sourceLeft, &target, &targetLeft);
        const int error = errno;
        out.resize(out.size() - targetLeft);
        in.remove_prefix(in.size() - sourceLeft);
        if (result == static_cast<size_t>(-1) && error != E2BIG) return false;
    }
    return true;
}

bool IconvConverter::convertsToUtf8(const std::string &from) {
    const iconv_t cd = iconv_open("UTF-8", from.c_str());
    if (cd == kNoConversion) return false;
    iconv_close(cd);
    return true;
}

}  // namespace eng
