#include "files/whole_file_writer.h"
#include "quarvel_version.h"
#include "sim/device_protocol.h"
#include "sim/device_server.h"
#include "sim/pseudo_terminal.h"
#include "sim/sim_options.h"
#include "sim/symbolic_link.h"

#include <csignal>
#include <filesystem>
#include <iostream>
#include <limits>
#include <memory>
#include <span>
#include <string_view>
#include <unistd.h>
#include <vector>

namespace {

volatile std::sig_atomic_t g_stopRequested = 0;
// Told by SIGUSR1 (taken off) and SIGUSR2 (put on); every signal counts as a change to look at.
volatile std::sig_atomic_t g_unitOn = 1;
volatile std::sig_atomic_t g_unitChanges = 0;

void requestStop(int) {
    g_stopRequested = 1;
}

void unitSignal(int number) {
    g_unitOn = number == SIGUSR2 ? 1 : 0;
    g_unitChanges = g_unitChanges + 1;
}

void stopOnSignals() {
    struct sigaction action {};
    action.sa_handler = requestStop;
    sigemptyset(&action.sa_mask);
    // No SA_RESTART: the server's poll must return at once.
    action.sa_flags = 0;
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
    action.sa_handler = unitSignal;
    sigaction(SIGUSR1, &action, nullptr);
    sigaction(SIGUSR2, &action, nullptr);
}

// A unit fresh from the shelf: erased flash, every scripted fault still to come.
quarvel::DeviceConfig unitConfig(const quarvel::SimOptions& options, int unit) {
    quarvel::DeviceConfig config = options.device;
    config.keepsReceived = false;
    if (options.failingUnit != 0 && unit == options.failingUnit) {
        config.faults.push_back(quarvel::Fault::statusAt(1, quarvel::device::kProgramFailed,
                                                         std::numeric_limits<int>::max()));
    }
    return config;
}

// Found out before serving, not after a load whose image then has nowhere to go.
bool canWriteBeside(const std::string& path) {
    const std::filesystem::path folder = std::filesystem::path(path).parent_path();
    return ::access(folder.empty() ? "." : folder.c_str(), W_OK) == 0;
}

// Whole or not at all, so that a test never reads half a file; answers why it failed.
std::string writeWhole(const std::string& path, std::span<const std::uint8_t> bytes) {
    quarvel::WholeFileWriter file(path, quarvel::WholeFileWriter::Durability::Synced);
    file.write(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
    return file.commit() ? std::string() : file.failure();
}

int fail(const std::string& message) {
    std::cerr << "ktv-sim: " << message << '\n';
    return 1;
}

} // namespace

int main(int argc, char** argv) {
    using namespace quarvel;
    const std::vector<std::string_view> arguments(argv + 1, argv + argc);
    const SimOptionsResult parsed = parseSimOptions(arguments);
    if (!parsed.options) {
        std::cerr << "ktv-sim: " << parsed.error << "\nTry 'ktv-sim --help'.\n";
        return 2;
    }
    const SimOptions& options = *parsed.options;
    if (options.help) {
        std::cout << simUsage();
        return 0;
    }
    if (options.version) {
        std::cout << "ktv-sim " << kQuarvelVersion << '\n';
        return 0;
    }
    if (!options.flashOutPath.empty() && !canWriteBeside(options.flashOutPath)) {
        return fail("cannot write the flash image to " + options.flashOutPath);
    }
    if (!options.receivedOutPath.empty() && !canWriteBeside(options.receivedOutPath)) {
        return fail("cannot write the received bytes to " + options.receivedOutPath);
    }
    g_unitOn = options.absent ? 0 : 1;
    stopOnSignals();

    std::string error;
    std::optional<PseudoTerminal> terminal = PseudoTerminal::create(error);
    if (!terminal) {
        return fail(error);
    }
    const bool wantsLink = !options.linkPath.empty();
    const std::optional<SymbolicLink> link =
        wantsLink ? SymbolicLink::create(options.linkPath, terminal->slavePath(), error)
                  : std::nullopt;
    if (wantsLink && !link) {
        return fail(error);
    }
    std::cout << terminal->slavePath() << std::endl;

    int unit = options.absent ? 0 : 1;
    auto device = std::make_unique<DeviceModel>(unitConfig(options, unit));
    const auto logTo = [&options](DeviceModel& model) {
        if (options.verbose) {
            model.setLogger(
                [](std::string_view text) { std::cerr << "ktv-sim: " << text << '\n'; });
        }
    };
    logTo(*device);
    DeviceServer server(
        *device, terminal->masterFd(),
        {options.paced, options.once, options.verbose, !options.receivedOutPath.empty()});
    // A signal that comes between looking and serving is served at once, never lost.
    bool unitOn = true;
    ServeEnd end = ServeEnd::UnitsChanged;
    while (end == ServeEnd::UnitsChanged) {
        const std::sig_atomic_t seen = g_unitChanges;
        if (g_unitOn != 0 && !unitOn) {
            device = std::make_unique<DeviceModel>(unitConfig(options, ++unit));
            logTo(*device);
            server.setDevice(device.get());
        } else if (g_unitOn == 0 && unitOn) {
            server.setDevice(nullptr);
        }
        if (options.verbose && unitOn != (g_unitOn != 0)) {
            std::cerr << "ktv-sim: unit " << unit << (unitOn ? " off" : " on") << " the line\n";
        }
        unitOn = g_unitOn != 0;
        end = server.serve(g_stopRequested, g_unitChanges, seen);
    }
    // Hang up before anything else, so the loader learns at once that the line is gone.
    terminal.reset();

    if (!options.flashOutPath.empty()) {
        error = writeWhole(options.flashOutPath, device->flash());
        if (!error.empty()) {
            return fail(error);
        }
    }
    if (!options.receivedOutPath.empty()) {
        error = writeWhole(options.receivedOutPath, server.received());
        if (!error.empty()) {
            return fail(error);
        }
    }
    return end == ServeEnd::Failed ? fail("the pseudo-terminal failed") : 0;
}
