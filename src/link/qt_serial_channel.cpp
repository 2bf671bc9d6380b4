#include "link/qt_serial_channel.h"

#include <QEventLoop>
#include <QSerialPort>
#include <QString>
#include <QTimer>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>
#include <utility>

namespace quarvel {

namespace {

constexpr int kReadWaitMs = 100;
constexpr int kWriteWaitPerByteMs = 100;

class QtSerialChannel final : public ByteChannel {
public:
    explicit QtSerialChannel(const QString& name) { m_port.setPortName(name); }

    bool open(const SerialSettings& settings) {
        if (settings.dataBits < QSerialPort::Data5 || settings.dataBits > QSerialPort::Data8) {
            return false;
        }
        // Flow control and the rest stay as Qt opens the line.
        return m_port.setBaudRate(settings.baudRate) &&
               m_port.setDataBits(static_cast<QSerialPort::DataBits>(settings.dataBits)) &&
               m_port.setParity(QSerialPort::NoParity) &&
               m_port.setStopBits(QSerialPort::OneStop) && m_port.open(QIODevice::ReadWrite);
    }

    bool write(std::span<const std::uint8_t> bytes) override {
        const auto size = static_cast<qint64>(bytes.size());
        if (m_port.write(reinterpret_cast<const char*>(bytes.data()), size) != size) {
            return false;
        }
        // Hand the bytes to the driver at once: a frame goes out one byte per call.
        while (m_port.bytesToWrite() > 0) {
            if (!m_port.waitForBytesWritten(kWriteWaitPerByteMs * static_cast<int>(size))) {
                return false;
            }
        }
        return true;
    }

    int readByte() override {
        if (m_port.bytesAvailable() == 0 && !waitForBytes()) {
            return failed() ? -2 : -1;
        }
        char byte = 0;
        if (!m_port.getChar(&byte)) {
            return failed() ? -2 : -1;
        }
        return static_cast<std::uint8_t>(byte);
    }

    // Qt takes the system's bytes into its own buffer only when it looks at the line, which a
    // wait of no time does.
    bool hasUnreadByte() override {
        return m_port.bytesAvailable() > 0 || m_port.waitForReadyRead(0);
    }

    void discardPending() override { m_port.clear(QSerialPort::AllDirections); }

    void waitBy(ReadWait wait) { m_wait = wait; }

    std::int64_t nowMs() const override {
        using namespace std::chrono;
        return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
    }

    QSerialPort::SerialPortError error() const { return m_port.error(); }
    std::string errorText() const { return m_port.errorString().toStdString(); }

private:
    bool waitForBytes() {
        if (m_wait == ReadWait::Blocking) {
            return m_port.waitForReadyRead(kReadWaitMs);
        }
        QEventLoop loop;
        QTimer timeUp;
        timeUp.setSingleShot(true);
        QObject::connect(&m_port, &QSerialPort::readyRead, &loop, &QEventLoop::quit);
        QObject::connect(&m_port, &QSerialPort::errorOccurred, &loop, &QEventLoop::quit);
        QObject::connect(&timeUp, &QTimer::timeout, &loop, &QEventLoop::quit);
        timeUp.start(kReadWaitMs);
        loop.exec(QEventLoop::ExcludeUserInputEvents);
        return m_port.bytesAvailable() > 0;
    }

    bool failed() const {
        const QSerialPort::SerialPortError error = m_port.error();
        return error != QSerialPort::NoError && error != QSerialPort::TimeoutError;
    }

    ReadWait m_wait = ReadWait::Blocking;
    QSerialPort m_port;
};

// Qt reports a missing device, a permission problem and a device another program holds alike
// as a few coarse errors; the system tells them apart.
OpenFailure describeOpenFailure(const std::string& device, const QtSerialChannel& channel) {
    OpenFailure failure{device, OpenProblem::Other, {}};
    struct stat status {};
    if (::stat(device.c_str(), &status) != 0) {
        failure.problem = errno == ENOENT || errno == ENOTDIR ? OpenProblem::Missing
                          : errno == EACCES                   ? OpenProblem::PermissionDenied
                                                              : OpenProblem::Other;
        failure.systemMessage = std::strerror(errno);
        return failure;
    }
    if (!S_ISCHR(status.st_mode)) {
        failure.problem = OpenProblem::NotASerialPort;
        failure.systemMessage = "not a character device";
        return failure;
    }
    // Opening again, without the settings, shows what stopped the first open.
    const int probe = ::open(device.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (probe < 0) {
        failure.problem = errno == EACCES || errno == EPERM ? OpenProblem::PermissionDenied
                          : errno == EBUSY                  ? OpenProblem::InUse
                          : errno == ENOENT || errno == ENXIO || errno == ENODEV
                              ? OpenProblem::Missing
                              : OpenProblem::Other;
        failure.systemMessage = std::strerror(errno);
        return failure;
    }
    termios settings{};
    const bool terminal = ::tcgetattr(probe, &settings) == 0;
    const int terminalError = errno;
    ::close(probe);
    if (!terminal) {
        failure.problem = OpenProblem::NotASerialPort;
        failure.systemMessage = std::strerror(terminalError);
    } else if (channel.error() == QSerialPort::PermissionError) {
        // The device opens for us, so what Qt found is the lock of another program.
        failure.problem = OpenProblem::InUse;
        failure.systemMessage = channel.errorText();
    } else {
        failure.systemMessage = channel.errorText();
    }
    return failure;
}

// Qt holds a port's name as text, and a path that is not UTF-8 would lose bytes on its way back
// to the system: such a path is opened by the name of what it leads to, which /dev gives in ASCII.
QString portName(const std::string& device) {
    const QString name = QString::fromStdString(device);
    if (name.toStdString() == device) {
        return name;
    }
    std::error_code error;
    const auto target = std::filesystem::canonical(device, error);
    return error ? name : QString::fromStdString(target.string());
}

} // namespace

ChannelOpener qtSerialOpener(std::function<std::string(int portNumber)> deviceName,
                             OpenFailureSink onFailure, ReadWait wait) {
    return [deviceName = std::move(deviceName), onFailure = std::move(onFailure),
            wait](const SerialSettings& settings) -> std::unique_ptr<ByteChannel> {
        const std::string device = deviceName(settings.portNumber);
        auto channel = std::make_unique<QtSerialChannel>(portName(device));
        if (!channel->open(settings)) {
            if (onFailure) {
                onFailure(describeOpenFailure(device, *channel));
            }
            return nullptr;
        }
        channel->waitBy(wait);
        return channel;
    };
}

} // namespace quarvel
