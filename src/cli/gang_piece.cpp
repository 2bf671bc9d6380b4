#include "cli/gang_threads.h"

#include <exception>

namespace quarvel {

std::function<void()> guardedPiece(const std::function<void()>& piece, std::size_t index,
                                   const PieceFailure& onFailure) {
    return [&piece, index, &onFailure] {
        try {
            piece();
        } catch (const std::exception& error) {
            onFailure(index, error.what());
        } catch (...) {
            onFailure(index, "an unknown exception");
        }
    };
}

} // namespace quarvel
