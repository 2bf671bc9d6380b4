#pragma once

#include "files/whole_file_writer.h"
#include "logo/logo_line_output.h"

#include <optional>
#include <string>
#include <string_view>

namespace quarvel {

// The logo file being written, whole before it replaces an existing output: a conversion that
// fails, or a replace that fails, leaves that output as it was and no half-written file behind.
class LogoOutputFile final : public LogoLineOutput {
public:
    // Starts the file; false when it cannot be written there (a folder of that name, a folder
    // that is missing or closed).
    bool create(const std::string& outputPath);
    // Writes the line and CR LF, the line end the device's files use on every system.
    void writeLine(std::string_view line) override;
    // Puts the logo file in place; false when any write or the replace failed.
    bool commit();

private:
    std::optional<WholeFileWriter> m_file;
};

} // namespace quarvel
