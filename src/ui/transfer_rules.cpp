#include "ui/transfer_rules.h"

namespace quarvel {

int portNumberOfIndex(int portIndex) {
    return portIndex + 1;
}

int channelOfIndex(int channelIndex) {
    return channelIndex == 0 ? kAllChannels : channelIndex - 1;
}

bool isSendableChannel(int channel) {
    return (channel >= 0 && channel <= 15) || channel == kAllChannels;
}

std::optional<std::string> folderOfPath(std::string_view path) {
    const auto separator = path.find_last_of("\\/");
    if (separator == std::string_view::npos) {
        return std::nullopt;
    }
    return std::string(path.substr(0, separator + 1));
}

} // namespace quarvel
