// Writes the job tests' programs and their flash images into a folder, for the build for
// Windows, whose tests cannot run srec_cat.
#include "job_programs.h"

#include <cstdio>

int main(int argc, char** argv) {
    using namespace quarvel::test;
    if (argc != 2) {
        std::fputs("usage: write_job_programs FOLDER\n", stderr);
        return 2;
    }
    const std::filesystem::path folder = argv[1];
    std::filesystem::create_directories(folder);
    writeJobPrograms([&folder](const std::string& name, const ProgramLayout& layout) {
        const auto program = writeProgram(folder, name, layout);
        expectedFlash(program);
        return program;
    });
    return 0;
}
