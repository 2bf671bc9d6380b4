#include "best_time.h"
#include "logo/gif_reader.h"

#include <cstdio>
#include <filesystem>
#include <gif_lib.h>
#include <span>
#include <string>

// Times convertGifToLogo against giflib decoding the same pictures, in one process.
// Usage: bench_logo_speed OUTDIR GIF...; prints "GIF ours-seconds giflib-seconds" per picture.

namespace {

constexpr int kRounds = 200;

// The whole picture decoded into memory, as a program reading it with giflib does.
bool decodeWithGiflib(const std::string& path) {
    int error = 0;
    GifFileType* gif = DGifOpenFileName(path.c_str(), &error);
    if (gif == nullptr) {
        return false;
    }
    const bool decoded = DGifSlurp(gif) == GIF_OK;
    return DGifCloseFile(gif, &error) == GIF_OK && decoded;
}

} // namespace

int main(int argc, char** argv) {
    const std::span<char*> args(argv, static_cast<std::size_t>(argc));
    if (args.size() < 3) {
        std::fputs("usage: bench_logo_speed OUTDIR GIF...\n", stderr);
        return 2;
    }
    const std::string output = (std::filesystem::path(args[1]) / "Temp.s21").string();
    for (const char* picture : args.subspan(2)) {
        const std::string gif = picture;
        // Both must succeed before either is timed: a failure is fast and proves nothing.
        if (quarvel::convertGifToLogo(gif, output) != 0 || !decodeWithGiflib(gif)) {
            std::fprintf(stderr, "bench_logo_speed: %s does not convert or decode\n", picture);
            return 1;
        }
        const auto ours =
            quarvel::bench::bestTime(kRounds, [&] { quarvel::convertGifToLogo(gif, output); });
        const auto giflib = quarvel::bench::bestTime(kRounds, [&] { decodeWithGiflib(gif); });
        std::printf("%s %.9f %.9f\n", picture, ours.count(), giflib.count());
    }
    return 0;
}
