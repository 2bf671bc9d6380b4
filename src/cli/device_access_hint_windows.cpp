#include "cli/device_access_hint.h"

namespace quarvel {

// Windows gives a COM port to whichever program opens it first, whoever runs it: a refusal means
// another program holds the port, which is said as such, and no permission can be asked for.
std::string deviceAccessHint(const std::string&) {
    return {};
}

} // namespace quarvel
