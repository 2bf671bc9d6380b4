#include "image/program_file.h"
#include "image/srecord.h"

#include <cstddef>

namespace quarvel {

namespace {

constexpr char kLineFeed = '\n';
constexpr char kCarriageReturn = '\r';
constexpr char kEndOfText = '\x1A';
constexpr std::size_t kMaxLineChars = kLineCapacity - 1;

// After a CR has been consumed: true (and the LF consumed) when an LF follows it.
bool takeLineFeed(ProgramFile& file) {
    const auto next = file.pending();
    if (!next.empty() && next.front() == kLineFeed) {
        file.consume(1);
        return true;
    }
    return false;
}

} // namespace

void readRecordLine(ProgramFile& file, SRecord& line) {
    std::size_t stored = 0;
    for (auto bytes = file.pending(); !bytes.empty() && stored < kMaxLineChars;
         bytes = file.pending()) {
        std::size_t used = 0;
        while (used < bytes.size() && stored < kMaxLineChars) {
            const char c = bytes[used];
            if (c == kLineFeed) {
                file.consume(used + 1);
                line[stored] = '\0';
                return;
            }
            if (c == kEndOfText) {
                file.consume(used);
                file.markEnd();
                line[stored] = '\0';
                return;
            }
            ++used;
            if (c == kCarriageReturn) {
                // The LF of a CR LF pair may lie in the next block.
                file.consume(used);
                used = 0;
                if (takeLineFeed(file)) {
                    line[stored] = '\0';
                    return;
                }
                bytes = file.pending();
            }
            line[stored++] = c;
        }
        file.consume(used);
    }
    line[stored] = '\0';
}

} // namespace quarvel
