#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

namespace quarvel {

// Why a piece of work did not run to its end: its thread could not be started, or it ended in
// an exception; the reason in words.
using PieceFailure = std::function<void(std::size_t piece, const std::string& why)>;

// Runs every piece of work on a thread of its own, all at once, and returns when all have
// ended. The threads are those the serial backend can open its lines on. A piece that fails
// goes to onFailure (on its own thread for an exception, on the caller's for a thread that never
// started) and the others run on.
void runAtOnce(const std::vector<std::function<void()>>& work, const PieceFailure& onFailure);

// piece, with an exception that leaves it told to onFailure instead of ending the process.
std::function<void()> guardedPiece(const std::function<void()>& piece, std::size_t index,
                                   const PieceFailure& onFailure);

} // namespace quarvel
