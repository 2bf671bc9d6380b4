// A settings file as the user may have edited it, read and written the way the desktop program
// does at start and at exit.
#include "fuzz/fuzz_check.h"
#include "fuzz/fuzz_input_file.h"
#include "settings/profile_file.h"

namespace {

using namespace quarvel;

constexpr char section[] = "Last Values";
constexpr char portKey[] = "Comm Port";
constexpr char channelKey[] = "Midi Channel";
constexpr char fileKey[] = "Transfer File";
constexpr char storedPath[] = "/home/operator/demo.a21";

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const quarvel::fuzzing::FuzzInputFile input(".ini");
    if (!input.write({data, size})) {
        return 0;
    }
    ProfileFile settings(input.path());
    const int port = settings.readInt(section, portKey, 0);
    const int channel = settings.readInt(section, channelKey, 0);
    FUZZ_CHECK(settings.readString(section, fileKey, "").size() <= ProfileFile::maxStringLength);

    // Writing one value reads back as written and leaves the others as they were.
    FUZZ_CHECK(settings.writeString(section, fileKey, storedPath));
    FUZZ_CHECK(settings.readString(section, fileKey, "") == storedPath);
    FUZZ_CHECK(settings.readInt(section, portKey, 0) == port);
    FUZZ_CHECK(settings.readInt(section, channelKey, 0) == channel);

    FUZZ_CHECK(settings.writeInt(section, channelKey, 7));
    FUZZ_CHECK(settings.readInt(section, channelKey, 0) == 7);
    FUZZ_CHECK(settings.readInt(section, portKey, 0) == port);
    FUZZ_CHECK(settings.readString(section, fileKey, "") == storedPath);
    return 0;
}
