#pragma once

#include <functional>
#include <vector>

namespace quarvel {

// Runs every piece of work on a thread of its own, all at once, and returns when all have
// ended. The threads are those the serial backend can open its lines on.
void runAtOnce(const std::vector<std::function<void()>>& work);

} // namespace quarvel
