#pragma once

#include "gif_stream_builder.h"

#include <string>

namespace quarvel::test {

Bytes readFileBytes(const std::string& path);

} // namespace quarvel::test
