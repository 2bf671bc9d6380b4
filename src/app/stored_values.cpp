#include "app/stored_values.h"

#include <system_error>

namespace quarvel {

namespace {

constexpr char section[] = "Last Values";
constexpr char portKey[] = "Comm Port";
constexpr char channelKey[] = "Midi Channel";
constexpr char fileKey[] = "Transfer File";

} // namespace

LastValues readLastValues(const ProfileFile& settings) {
    return {settings.readInt(section, portKey, 0), settings.readInt(section, channelKey, 0),
            settings.readString(section, fileKey, "")};
}

void writeLastValues(ProfileFile& settings, const LastValues& values) {
    settings.writeInt(section, portKey, values.portIndex);
    settings.writeInt(section, channelKey, values.channelIndex);
    settings.writeString(section, fileKey, values.filePath);
}

bool adoptLastValues(const ProfileFile& earlier, ProfileFile& settings) {
    std::error_code error;
    if (earlier.path().empty() || std::filesystem::exists(settings.path(), error) || error ||
        !std::filesystem::is_regular_file(earlier.path(), error)) {
        return false;
    }
    writeLastValues(settings, readLastValues(earlier));
    return true;
}

} // namespace quarvel
