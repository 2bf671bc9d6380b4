#include "e2e_programs.h"

#include "program_files.h"

namespace quarvel::test {

const CliPrograms& cliPrograms() {
    static const CliPrograms programs = [] {
        const auto& folder = testFolder();
        CliPrograms made;
        made.small = writeProgram(folder, "small", {{{0x4000, patternBytes(96, 11)}}});
        made.spread = writeProgram(folder, "spread",
                                   {{{0x4000, patternBytes(200, 12)},
                                     {0x6000, patternBytes(64, 13)},
                                     {0x1FFC0, patternBytes(64, 14)},
                                     {0x70000, patternBytes(300, 15)}},
                                    32,
                                    3});
        made.boot = writeProgram(folder, "boot", {{{0x0100, patternBytes(64, 16)}}});
        return made;
    }();
    return programs;
}

Lines joined(Lines first, const Lines& second) {
    first.insert(first.end(), second.begin(), second.end());
    return first;
}

} // namespace quarvel::test
