#include "cli/terminal_reporter.h"

#include "cli/retry_prompt.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <string>
#include <utility>

namespace quarvel {
namespace {

constexpr int kBarWidth = 40;
// What the bar's line holds beside the bar: the brackets, a blank and "NNN%".
constexpr int kBarFrame = 7;

enum class Answer { TryAgain, Cancel, Unclear };

Answer classify(std::string answer) {
    std::transform(answer.begin(), answer.end(), answer.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    for (const char* word : {"t", "try", "try again", "r", "retry", "y", "yes"}) {
        if (answer == word) {
            return Answer::TryAgain;
        }
    }
    for (const char* word : {"c", "cancel", "n", "no"}) {
        if (answer == word) {
            return Answer::Cancel;
        }
    }
    return Answer::Unclear;
}

// The line read, without its line end and surrounding blanks; false at the end of the input or
// when the read was interrupted.
bool readLine(std::FILE* input, std::string& line) {
    std::array<char, 256> buffer{};
    if (std::fgets(buffer.data(), static_cast<int>(buffer.size()), input) == nullptr) {
        std::clearerr(input);
        return false;
    }
    line = buffer.data();
    const auto first = line.find_first_not_of(" \t\r\n");
    const auto last = line.find_last_not_of(" \t\r\n");
    line = first == std::string::npos ? std::string() : line.substr(first, last - first + 1);
    return true;
}

} // namespace

TerminalReporter::TerminalReporter(Streams streams, ProgressStyle progress, RetryPolicy retry,
                                   std::function<bool()> stopped)
    : LoadOutput(std::move(stopped)), m_streams(streams), m_progress(progress), m_retry(retry) {}

void TerminalReporter::addMessage(std::string_view text) {
    // What a load says after Ctrl-C is about the interruption, not the device.
    if (stopped()) {
        return;
    }
    writeLine(m_streams.output, text);
}

void TerminalReporter::setPercentage(int percent) {
    const bool changed = percent != m_percent;
    m_percent = percent;
    if (m_progress == ProgressStyle::Lines && changed) {
        std::fprintf(m_streams.error, "%d%%\n", percent);
        std::fflush(m_streams.error);
    } else if (m_progress == ProgressStyle::Bar && (changed || !m_barShown)) {
        drawBar();
    }
}

void TerminalReporter::errorLine(std::string_view line) {
    writeLine(m_streams.error, line);
}

bool TerminalReporter::askRetry() {
    if (stopped()) {
        return false;
    }
    clearBar();
    bool tryAgain = false;
    if (m_retry == RetryPolicy::Ask) {
        tryAgain = readAnswer();
    } else {
        tryAgain = m_retry == RetryPolicy::Always;
        std::fprintf(m_streams.error, "%s %s\n", kRetryPrompt, tryAgain ? "Try Again" : "Cancel");
    }
    std::fflush(m_streams.error);
    if (m_barShown) {
        drawBar();
    }
    return tryAgain;
}

bool TerminalReporter::readAnswer() {
    std::fprintf(m_streams.error, "%s\n[T]ry Again or [C]ancel? ", kRetryPrompt);
    for (;;) {
        std::fflush(m_streams.error);
        std::string line;
        // No answer at all, or Ctrl-C while waiting for one, is Cancel, as closing the prompt.
        if (!readLine(m_streams.input, line) || stopped()) {
            std::fputc('\n', m_streams.error);
            return false;
        }
        const Answer answer = classify(line);
        if (answer != Answer::Unclear) {
            return answer == Answer::TryAgain;
        }
        std::fputs("Please answer T (Try Again) or C (Cancel): ", m_streams.error);
    }
}

void TerminalReporter::finish(bool failed) {
    if (failed) {
        writeLine(m_streams.output, "Error!");
    }
    if (m_barShown) {
        std::fputc('\n', m_streams.error);
        std::fflush(m_streams.error);
        m_barShown = false;
    }
}

void TerminalReporter::writeLine(std::FILE* stream, std::string_view line) {
    clearBar();
    std::fwrite(line.data(), 1, line.size(), stream);
    std::fputc('\n', stream);
    std::fflush(stream);
    if (m_barShown) {
        drawBar();
    }
}

void TerminalReporter::drawBar() {
    // On a narrow terminal the bar gets shorter and leaves the last column free: a line that
    // wrapped could not be drawn again over itself with a carriage return.
    int width = kBarWidth;
    if (m_streams.columns > 0) {
        width = std::clamp(static_cast<int>(m_streams.columns) - 1 - kBarFrame, 0, kBarWidth);
    }
    const int filled = std::clamp(m_percent, 0, 100) * width / 100;
    std::string bar(static_cast<std::size_t>(width), '-');
    std::fill_n(bar.begin(), filled, '#');
    const int written = std::fprintf(m_streams.error, "\r[%s] %3d%%", bar.c_str(), m_percent);
    std::fflush(m_streams.error);
    m_barLength = std::max(written - 1, 0);
    m_barShown = true;
}

void TerminalReporter::clearBar() {
    if (!m_barShown) {
        return;
    }
    std::fprintf(m_streams.error, "\r%*s\r", m_barLength, "");
    std::fflush(m_streams.error);
}

} // namespace quarvel
