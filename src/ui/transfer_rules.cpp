#include "ui/transfer_rules.h"

#include <algorithm>
#include <cctype>

namespace quarvel {

int portNumberOfIndex(int portIndex) {
    return portIndex + 1;
}

int channelOfIndex(int channelIndex) {
    return channelIndex == 0 ? allDevicesChannel : channelIndex - 1;
}

bool isSendableChannel(int channel) {
    return (channel >= 0 && channel <= 15) || channel == allDevicesChannel;
}

bool isGifPath(std::string_view path) {
    const auto stop = path.rfind('.');
    if (stop == std::string_view::npos) {
        return false;
    }
    return std::ranges::equal(path.substr(stop + 1), std::string_view("gif"),
                              [](unsigned char a, char b) { return std::tolower(a) == b; });
}

std::optional<std::string> folderOfPath(std::string_view path) {
    const auto separator = path.find_last_of("\\/");
    if (separator == std::string_view::npos) {
        return std::nullopt;
    }
    return std::string(path.substr(0, separator + 1));
}

} // namespace quarvel
