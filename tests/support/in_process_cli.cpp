#include "tests/support/in_process_cli.h"

#include "cli/commands.h"

#include <cstdio>
#include <gtest/gtest.h>
#include <span>
#include <string_view>
#include <unistd.h>

namespace quarvel::test {
namespace {

// One standard stream sent to a file of its own until the object goes.
class StreamCapture {
public:
    explicit StreamCapture(std::FILE* stream)
        : m_stream(stream), m_file(std::tmpfile()), m_saved(::dup(::fileno(stream))) {
        std::fflush(m_stream);
        ::dup2(::fileno(m_file), ::fileno(m_stream));
    }
    ~StreamCapture() {
        restore();
        std::fclose(m_file);
    }
    StreamCapture(const StreamCapture&) = delete;
    StreamCapture& operator=(const StreamCapture&) = delete;

    // Puts the stream back and answers all that was written to it meanwhile.
    std::string text() {
        restore();
        std::string text;
        std::rewind(m_file);
        char buffer[4096];
        for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, m_file)) > 0;) {
            text.append(buffer, n);
        }
        return text;
    }

private:
    void restore() {
        if (m_saved >= 0) {
            std::fflush(m_stream);
            ::dup2(m_saved, ::fileno(m_stream));
            ::close(m_saved);
            m_saved = -1;
        }
    }

    std::FILE* m_stream;
    std::FILE* m_file;
    int m_saved;
};

int (*commandNamed(std::string_view name))(std::span<char* const>) {
    if (name == "check") {
        return runCheck;
    }
    if (name == "convert-logo") {
        return runConvertLogo;
    }
    if (name == "load") {
        return runLoad;
    }
    if (name == "ports") {
        return runPorts;
    }
    return nullptr;
}

} // namespace

Finished runCliInProcess(const std::vector<std::string>& args) {
    const auto command = args.empty() ? nullptr : commandNamed(args.front());
    if (command == nullptr) {
        ADD_FAILURE() << "no command of quarvel-cli in the arguments";
        return {};
    }
    std::vector<std::string> words(args.begin() + 1, args.end());
    std::vector<char*> argv;
    for (std::string& word : words) {
        argv.push_back(word.data());
    }
    Finished finished;
    StreamCapture out(stdout);
    StreamCapture err(stderr);
    finished.exitCode = command(argv);
    finished.err = err.text();
    finished.out = out.text();
    return finished;
}

} // namespace quarvel::test
