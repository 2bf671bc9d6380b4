#pragma once

#include <string>

namespace quarvel {

// What the operator can do after the system refused to open a device for lack of permission, as
// lines ending in a line feed; empty where the system gives nothing to do about it.
std::string deviceAccessHint(const std::string& device);

} // namespace quarvel
