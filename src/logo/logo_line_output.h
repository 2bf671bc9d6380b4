#pragma once

#include <string_view>

namespace quarvel {

// Where the logo file's lines go; the line text comes without its line end.
class LogoLineOutput {
public:
    virtual void writeLine(std::string_view line) = 0;

protected:
    ~LogoLineOutput() = default;
};

} // namespace quarvel
