#pragma once

#include "logo/logo_line_output.h"

#include <cstdio>
#include <string>
#include <string_view>

namespace quarvel {

// The logo file being written. Lines go to a temporary file beside the output, which replaces the
// output only when every line has been written; otherwise it is removed and an existing output
// stays as it was, so a half-written logo file is never left under the output's name.
class LogoOutputFile final : public LogoLineOutput {
public:
    LogoOutputFile() = default;
    ~LogoOutputFile();
    LogoOutputFile(const LogoOutputFile&) = delete;
    LogoOutputFile& operator=(const LogoOutputFile&) = delete;

    // Creates the temporary file; false when it cannot be created.
    bool create(const std::string& outputPath);
    // Writes the line and CR LF, the line end the device's files use on every system.
    void writeLine(std::string_view line) override;
    // Closes the file and moves it to the output path; false when any write failed.
    bool commit();

private:
    void discard();

    std::FILE* m_file = nullptr;
    std::string m_outputPath;
    std::string m_temporaryPath;
    bool m_writeFailed = false;
};

} // namespace quarvel
