#include "cli/serial_line.h"
#include "link/qt_serial_channel.h"

#include <QCoreApplication>
#include <memory>
#include <mutex>
#include <utility>

namespace quarvel {
namespace {

// QSerialPort wants the application object of its thread, even with no event loop running;
// there may be only one, shared by every opener that lives at the same time.
std::shared_ptr<QCoreApplication> sharedApplication() {
    static std::mutex guard;
    static std::weak_ptr<QCoreApplication> current;
    static int argc = 1;
    static char name[] = "quarvel-cli";
    static char* argv[] = {name, nullptr};
    const std::lock_guard lock(guard);
    if (auto application = current.lock()) {
        return application;
    }
    if (QCoreApplication::instance() != nullptr) {
        return nullptr;
    }
    auto application = std::make_shared<QCoreApplication>(argc, argv);
    current = application;
    return application;
}

} // namespace

ChannelOpener serialLineOpener(std::function<std::string(int portNumber)> deviceName,
                               OpenFailureSink onFailure) {
    return [application = sharedApplication(),
            open = qtSerialOpener(std::move(deviceName), std::move(onFailure))](
               const SerialSettings& settings) { return open(settings); };
}

} // namespace quarvel
