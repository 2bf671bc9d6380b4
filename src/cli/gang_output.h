#pragma once

#include "cli/load_options.h"

#include <cstddef>
#include <cstdio>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

namespace quarvel {

// The terminal shared by the loads of a gang: whole lines only, each under the name of its port,
// and every port's percentage on one progress line. Safe to call from every load's thread.
class GangOutput {
public:
    struct Streams {
        std::FILE* output = stdout;
        std::FILE* error = stderr;
    };

    // ports are the names as the operator gave them, in the order of the loads; columns is the
    // width of the terminal the bar is drawn on, 0 when unknown.
    GangOutput(std::vector<std::string> ports, ProgressStyle progress, Streams streams,
               std::size_t columns);

    // "PORT: text" on the output.
    void message(std::size_t load, std::string_view text);
    void percentage(std::size_t load, int percent);
    // "PORT: text" on the error stream.
    void note(std::size_t load, std::string_view text);
    // line as it is, on the error stream.
    void errorLine(std::string_view line);
    // Closes the progress line once every load has ended.
    void finish();

    const std::string& port(std::size_t load) const { return m_ports[load]; }

private:
    void writeLine(std::FILE* stream, std::string_view prefix, std::string_view text);
    void drawBar();
    void clearBar();

    std::mutex m_mutex;
    const std::vector<std::string> m_ports;
    // The ports without their folders, for a bar that the full names make too wide.
    const std::vector<std::string> m_shortNames;
    const ProgressStyle m_progress;
    const Streams m_streams;
    const std::size_t m_columns;
    std::vector<int> m_percents;
    bool m_barShown = false;
    std::size_t m_barWidth = 0;
};

} // namespace quarvel
