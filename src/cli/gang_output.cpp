#include "cli/gang_output.h"

#include <array>
#include <utility>

namespace quarvel {

GangOutput::GangOutput(std::vector<std::string> ports, ProgressStyle progress, Streams streams)
    : m_ports(std::move(ports)), m_progress(progress), m_streams(streams),
      m_percents(m_ports.size(), 0) {}

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
    std::string bar = "\r";
    for (std::size_t load = 0; load < m_ports.size(); ++load) {
        std::array<char, 8> percent{};
        // A fixed width keeps every port where it was as the figures grow.
        std::snprintf(percent.data(), percent.size(), "%3d%%", m_percents[load]);
        bar.append(load == 0 ? "" : "   ")
            .append(m_ports[load])
            .append(": ")
            .append(percent.data());
    }
    m_barWidth = bar.size() - 1;
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
