#include "job_programs.h"

namespace quarvel::test {

Programs writeJobPrograms(const ProgramWriter& write) {
    Programs made;
    made.small = write("small", {{{0x4000, patternBytes(64, 1)}}});
    made.spread = write("spread", {{{0x4000, patternBytes(256, 2)},
                                    {0x6000, patternBytes(256, 3)},
                                    {0x10000, patternBytes(256, 4)},
                                    {0x7FF00, patternBytes(256, 5)}},
                                   32,
                                   3});
    made.boot = write("boot", {{{0x0100, patternBytes(32, 6)}}});
    made.twentyFive = write("twentyfive", {{{0x8000, patternBytes(23 * 16, 7)}}});
    made.lineFeeds = write("linefeeds", {{{0x4000, patternBytes(64, 1)}}, 16, 2, false});
    return made;
}

const Programs& programs() {
    static const Programs files =
        writeJobPrograms([](const std::string& name, const ProgramLayout& layout) {
#ifdef QUARVEL_JOB_PROGRAM_DIR
            static_cast<void>(layout);
            return std::filesystem::path(QUARVEL_JOB_PROGRAM_DIR) / (name + ".a21");
#else
            return writeProgram(testFolder(), name, layout);
#endif
        });
    return files;
}

} // namespace quarvel::test
