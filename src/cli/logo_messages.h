#pragma once

#include "logo/gif_reader.h"

#include <string>
#include <string_view>

namespace quarvel {

// Why a conversion failed, naming the file at fault: "<gif>: no such file", "<output>: cannot be
// created", ...
std::string logoFailureText(LogoConversionFailure failure, const std::string& gif,
                            const std::string& output);

// Says on the error stream, after the program's name, that only part of the picture is used.
void warnPictureClipped(std::string_view program, const std::string& gif);

} // namespace quarvel
