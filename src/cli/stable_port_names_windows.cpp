#include "cli/stable_port_names.h"

namespace quarvel {

// Windows keeps a COM number with its adapter already: the number is the stable name.
StableNames stablePortNames(const std::string&) {
    return {};
}

} // namespace quarvel
