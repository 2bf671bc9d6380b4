#include "temp_dir.h"

#include <fstream>
#include <iterator>

namespace quarvel::test {

Bytes readFileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

} // namespace quarvel::test
