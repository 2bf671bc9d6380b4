#include "cli/gang_output.h"

#include <algorithm>
#include <array>
#include <utility>

namespace quarvel {
namespace {

std::vector<std::string> withoutFolders(const std::vector<std::string>& ports) {
    std::vector<std::string> names;
    for (const std::string& port : ports) {
        const auto slash = port.find_last_of("/\\");
        names.push_back(slash == std::string::npos ? port : port.substr(slash + 1));
    }
    return names;
}

// "PORT: NN%" for every port, three blanks apart.
std::string barText(const std::vector<std::string>& names, const std::vector<int>& percents) {
    std::string bar;
    for (std::size_t load = 0; load < names.size(); ++load) {
        std::array<char, 8> percent{};
        // A fixed width keeps every port where it was as the figures grow.
        std::snprintf(percent.data(), percent.size(), "%3d%%", percents[load]);
        bar.append(load == 0 ? "" : "   ").append(names[load]).append(": ").append(percent.data());
    }
    return bar;
}

} // namespace

GangOutput::GangOutput(std::vector<std::string> ports, ProgressStyle progress, Streams streams,
                       std::size_t columns)
    : m_ports(std::move(ports)), m_shortNames(withoutFolders(m_ports)), m_progress(progress),
      m_streams(streams), m_columns(columns), m_percents(m_ports.size(), 0) {}

void GangOutput::message(std::size_t load, std::string_view text) {
    const std::lock_guard lock(m_mutex);
    writeLine(m_streams.output, m_ports[load], text);
}

void GangOutput::note(std::size_t load, std::string_view text) {
    const std::lock_guard lock(m_mutex);
    writeLine(m_streams.error, m_ports[load], text);
}

void GangOutput::errorLine(std::string_view line) {
    const std::lock_guard lock(m_mutex);
    writeLine(m_streams.error, {}, line);
}

void GangOutput::percentage(std::size_t load, int percent) {
    const std::lock_guard lock(m_mutex);
    // As the bar control: each load starts at 0 and shows only a change.
    const bool changed = percent != m_percents[load];
    m_percents[load] = percent;
    if (m_progress == ProgressStyle::Lines && changed) {
        std::fprintf(m_streams.error, "%s: %d%%\n", m_ports[load].c_str(), percent);
        std::fflush(m_streams.error);
    } else if (m_progress == ProgressStyle::Bar && (changed || !m_barShown)) {
        drawBar();
    }
}

void GangOutput::finish() {
    const std::lock_guard lock(m_mutex);
    if (m_barShown) {
        std::fputc('\n', m_streams.error);
        std::fflush(m_streams.error);
        m_barShown = false;
    }
}

void GangOutput::writeLine(std::FILE* stream, std::string_view prefix, std::string_view text) {
    clearBar();
    std::string line;
    if (!prefix.empty()) {
        line.append(prefix).append(": ");
    }
    line.append(text).push_back('\n');
    std::fwrite(line.data(), 1, line.size(), stream);
    std::fflush(stream);
    if (m_barShown) {
        drawBar();
    }
}

void GangOutput::drawBar() {
    std::string bar = barText(m_ports, m_percents);
    // A bar that wraps cannot be drawn over by a carriage return: where the full names make it as
    // wide as the terminal, the short names, and where those do too, what fits.
    if (m_columns > 0 && bar.size() >= m_columns) {
        bar = barText(m_shortNames, m_percents);
        bar.resize(std::min(bar.size(), m_columns - 1));
    }
    m_barWidth = bar.size();
    bar.insert(bar.begin(), '\r');
    std::fwrite(bar.data(), 1, bar.size(), m_streams.error);
    std::fflush(m_streams.error);
    m_barShown = true;
}

void GangOutput::clearBar() {
    if (!m_barShown) {
        return;
    }
    std::fprintf(m_streams.error, "\r%*s\r", static_cast<int>(m_barWidth), "");
    std::fflush(m_streams.error);
}

} // namespace quarvel
