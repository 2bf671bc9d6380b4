#include "image/program_file.h"
#include "image/srecord.h"

#include <algorithm>
#include <cstddef>
#include <cstring>

namespace quarvel {

namespace {

constexpr char kLineFeed = '\n';
constexpr char kCarriageReturn = '\r';
constexpr char kEndOfText = '\x1A';
constexpr std::size_t kMaxLineChars = kLineCapacity - 1;

// The length of the run of bytes before the first c, or the whole size when there is none.
std::size_t runBefore(const char* bytes, std::size_t size, char c) {
    const void* found = std::memchr(bytes, c, size);
    return found == nullptr ? size
                            : static_cast<std::size_t>(static_cast<const char*>(found) - bytes);
}

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
        // Whole runs of ordinary characters are copied at once; the three special bytes are rare.
        const std::size_t room = std::min(bytes.size(), kMaxLineChars - stored);
        std::size_t run = runBefore(bytes.data(), room, kLineFeed);
        run = runBefore(bytes.data(), run, kEndOfText);
        run = runBefore(bytes.data(), run, kCarriageReturn);
        std::copy_n(bytes.data(), run, line.data() + stored);
        stored += run;
        if (run == room) {
            file.consume(run);
            continue;
        }
        const char special = bytes[run];
        if (special == kEndOfText) {
            file.consume(run);
            file.markEnd();
            break;
        }
        file.consume(run + 1);
        if (special == kLineFeed || takeLineFeed(file)) {
            break;
        }
        // A CR without its LF is kept; it fits, as it was met before the line was full.
        line[stored++] = kCarriageReturn;
    }
    line[stored] = '\0';
}

} // namespace quarvel
