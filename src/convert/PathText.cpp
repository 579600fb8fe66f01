#include "convert/PathText.h"

namespace fixtally {

std::string_view FileNameOnly(std::string_view path) {
    const std::size_t slash = path.find_last_of('/');
    return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

std::string LowerExtension(std::string_view path) {
    const std::string_view name = FileNameOnly(path);
    const std::size_t dot = name.find_last_of('.');
    if (dot == std::string_view::npos) return {};
    std::string ext(name.substr(dot));
    for (char& c : ext)
        if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
    return ext;
}

} // namespace fixtally
